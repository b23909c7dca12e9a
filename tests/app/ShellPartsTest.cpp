#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "app/FiscalFolder.h"
#include "app/MainMenu.h"
#include "app/SingleInstanceLock.h"
#include "app/VerzijaPrograma.h"
#include "data/SettingsManager.h"
#include "frontend/TempDirectory.h"
#include "runtime/LayoutResources.h"
#include "schema/ProgramGlobals.h"

namespace dv {
namespace {

TEST(MainMenu, EveryItemAndToolbarButtonOfTheFrameHasItsCommand) {
    const WindowLayout& frame = windowLayout("Main");
    std::set<std::string> commands;
    for (const MainCommand& command : mainCommands()) {
        EXPECT_TRUE(commands.insert(std::string(command.control)).second) << command.control;
        const ControlLayout* control = frame.find(command.control);
        ASSERT_NE(control, nullptr) << "the frame has no control ?" << command.control;
        EXPECT_EQ(command.action == MainAction::StartProcedure, !command.procedure.empty())
            << command.control;
    }
    int pressable = 0;
    for (const ControlLayout& control : frame.controls) {
        const bool onToolbar =
            control.parent != 0 &&
            frame.controls[static_cast<std::size_t>(control.parent - 1)].type ==
                ControlType::Toolbar;
        if (control.type != ControlType::Item && !onToolbar) continue;
        ++pressable;
        EXPECT_NE(findMainCommand("?" + control.name), nullptr) << control.text;
    }
    EXPECT_EQ(pressable, static_cast<int>(commands.size()));

    EXPECT_EQ(findMainCommand("tbskladisca")->procedure, "BrowseSFENOTE");
    EXPECT_EQ(findMainCommand("TbNavodilo")->procedure, "InvInfo");
    EXPECT_EQ(findMainCommand("TbKopije")->action, MainAction::Backup);
    EXPECT_EQ(findMainCommand("Izhod")->action, MainAction::Exit);
    EXPECT_EQ(findMainCommand("Zapri"), nullptr);
}

TEST(SingleInstanceLock, OneHolderAtATimeAndNoneLeftBehind) {
    test::TempDirectory directory;
    {
        SingleInstanceLock first(directory.path());
        EXPECT_FALSE(first.anotherInstanceRuns());
        SingleInstanceLock second(directory.path());
        EXPECT_TRUE(second.anotherInstanceRuns());
        test::TempDirectory otherProgram;
        EXPECT_FALSE(SingleInstanceLock(otherProgram.path()).anotherInstanceRuns());
    }
    EXPECT_TRUE(std::filesystem::exists(directory.path() / kInstanceLockFile));
    EXPECT_FALSE(SingleInstanceLock(directory.path()).anotherInstanceRuns());
    // A directory where no lock file can be made does not refuse the program.
    EXPECT_FALSE(SingleInstanceLock(directory.path() / "ni/mape").anotherInstanceRuns());
}

class FiscalFolderTest : public ::testing::Test {
  protected:
    std::filesystem::path folderFrom(const std::string& settingsText) {
        std::ofstream(directory.path() / "ZALTO.INI") << settingsText;
        SettingsManager settings;
        EXPECT_TRUE(settings.open(directory.path()).ok());
        return fiscalFolder(settings, directory.path());
    }
    test::TempDirectory directory;
};

TEST_F(FiscalFolderTest, IsNamedBySettingsRelativeToTheProgramDirectory) {
    EXPECT_EQ(folderFrom(""), directory.path() / "FURS");
    EXPECT_EQ(folderFrom("[FURS]\nImenik=Blagajna\\FURS\n"), directory.path() / "Blagajna/FURS");
    EXPECT_EQ(folderFrom("[FURS]\nImenik=/var/furs\n"), std::filesystem::path("/var/furs"));
}

TEST_F(FiscalFolderTest, IsMadeWhenMissingOrExplainsWhyItCannotBe) {
    const auto folder = directory.path() / "a/b/FURS";
    EXPECT_EQ(ensureFiscalFolder(folder), "");
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_EQ(ensureFiscalFolder(folder), "") << "already there";

    std::ofstream(directory.path() / "datoteka") << "x";
    EXPECT_EQ(ensureFiscalFolder(directory.path() / "datoteka"),
              " Imenika " + (directory.path() / "datoteka").string() +
                  " ni mogoče ustvariti !|| Napaka: 17 - File exists");
    const std::string below = ensureFiscalFolder(directory.path() / "datoteka/FURS");
    EXPECT_EQ(below.rfind(" Imenika " + (directory.path() / "datoteka/FURS").string() +
                              " ni mogoče ustvariti !|| Napaka: 20 - ",
                          0),
              0u)
        << below;
}

TEST_F(FiscalFolderTest, TheConsolesSettingsComeFromBothFilesWithTheirDefaults) {
    clearProgramGlobals();
    const auto folder = directory.path() / "FURS";
    std::filesystem::create_directory(folder);
    readFiscalSettings(directory.path(), folder);
    EXPECT_EQ(GLO.KONZOLA, 0);
    EXPECT_EQ(GLO.STEVILCENJE, "C");
    EXPECT_EQ(GLO.NAPRAVA, "BLAG1");
    EXPECT_EQ(GLO.PROSTOR, "TRG1");
    EXPECT_EQ(GLO.DAVCNABLAGAJNANASTAVITVE, "davcnaBlagajnaNastavitve.txt");

    std::ofstream(directory.path() / "DBPR.INI") << "[FURS]\nKonzola=1\nStevilcenje=B\nNaprava=X\n";
    std::ofstream(folder / "dbpr.ini") << "[FURS]\nNaprava=BLAG7\nProstor=PP2\n";
    readFiscalSettings(directory.path(), folder);
    EXPECT_EQ(GLO.KONZOLA, 1);
    EXPECT_EQ(GLO.STEVILCENJE, "B");
    EXPECT_EQ(GLO.NAPRAVA, "BLAG7") << "the device mark is the fiscal folder's";
    EXPECT_EQ(GLO.PROSTOR, "PP2");
    clearProgramGlobals();
}

TEST(VerzijaPrograma, TheMailLinkCarriesItsSubjectEncoded) {
    EXPECT_EQ(mailAddress("podpora@dideroviv.si", "Izdelovalcu programa MP ..."),
              "mailto:podpora@dideroviv.si?subject=Izdelovalcu%20programa%20MP%20...");
    EXPECT_EQ(mailAddress("a@b.si", "Šifra & ?"), "mailto:a@b.si?subject=%C5%A0ifra%20%26%20%3F");
}

}  // namespace
}  // namespace dv
