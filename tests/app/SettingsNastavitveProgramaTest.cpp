#include <filesystem>

#include "SettingsTestSupport.h"

namespace dv {
namespace {

// The settings as start-up reads them from a file without entries.
class NastavitveProgramaTest : public test::SettingsWindowTest {
  protected:
    NastavitveProgramaTest() {
        GLO.VRSTAPZAC = "V";
        GLO.ENOTAZAC = 1;
        GLO.OZNAKAZAC = "N";
        GLO.VRSTAPROMETAZAC = 18;
        GLO.PREDLAGANDEFAULTPOPIS = 1;
    }
    bool globalsAsRead() const {
        return GLO.VRSTAPZAC == "V" && GLO.ENOTAZAC == 1 && GLO.OZNAKAZAC == "N" &&
               GLO.VRSTAPROMETAZAC == 18 && GLO.POTARHIVZAJEMAASCII == "" &&
               GLO.PREDLAGANDEFAULTPOPIS == 1;
    }
};

constexpr const char* kChangeEverything = R"(start NastavitvePrograma
window "DRUGE Nastavitve programa"
expect ?GLO:VRSTAPZAC text "V"
expect ?GLO:ENOTAZAC text "1"
expect ?GLO:OZNAKAZAC text "N"
expect ?GLO:VRSTAPROMETAZAC text "18"
expect ?GLO:PREDLAGANDEFAULTPOPIS text "1"
press " Maloprodaja"
type ?GLO:ENOTAZAC "3"
type ?GLO:OZNAKAZAC "NZ"
type ?GLO:VRSTAPROMETAZAC "19"
type ?GLO:POTARHIVZAJEMAASCII "/srv/arhiv zajema"
press "   0 - vse je potrebno vnesti ročno / terminal"
)";

TEST_F(NastavitveProgramaTest, ConfirmingWritesExactlyTheSixEntries) {
    const auto before = fileSections();
    EXPECT_EQ(run(std::string(kChangeEverything) + "press ?Potrdi\nidle\n"), "");
    auto after = fileSections();
    EXPECT_EQ(after["[SERVISNE]"],
              (std::vector<std::string>{"Vrsta prodaje ZN=M", "Skladišče ZN=3", "Oznaka dok ZN=NZ",
                                        "Vrsta prometa ZN=19", "Pot arhiva ASCII=/srv/arhiv zajema",
                                        "DefaultPopis=0"}));
    // Besides the six entries only the window's position was kept.
    after.erase("[SERVISNE]");
    after.erase("[NastavitvePrograma]");
    EXPECT_EQ(after, before);
    EXPECT_EQ(GLO.VRSTAPZAC, "M");
    EXPECT_EQ(GLO.PREDLAGANDEFAULTPOPIS, 0);
}

TEST_F(NastavitveProgramaTest, CancellingWritesNothingAndPutsTheValuesBack) {
    EXPECT_EQ(run(std::string(kChangeEverything) + "press ?Preklici\nidle\n"), "");
    EXPECT_TRUE(globalsAsRead());
    // The close box cancels as well.
    EXPECT_EQ(run("start NastavitvePrograma\ntype ?GLO:ENOTAZAC \"5\"\nclose\nidle\n"), "");
    EXPECT_TRUE(globalsAsRead());
    EXPECT_EQ(fileSections().count("[SERVISNE]"), 0u);
}

// A settings file that cannot be written keeps the window open with the values typed, so that
// nothing is lost; confirming again once the file can be written saves them.
TEST_F(NastavitveProgramaTest, ASettingsFileThatCannotBeWrittenKeepsTheWindowOpen) {
    const std::filesystem::path saved = directory.path() / "ZALTO.saved";
    std::filesystem::rename(settingsFile(), saved);
    std::filesystem::create_directory(settingsFile());
    EXPECT_EQ(run(std::string(kChangeEverything) + R"(press ?Potrdi
message-contains "Nastavitev ni bilo mogoče shraniti v datoteko nastavitev."
answer OK
window "DRUGE Nastavitve programa"
expect ?GLO:ENOTAZAC text "3"
)"),
              "");
    std::filesystem::remove(settingsFile());
    std::filesystem::rename(saved, settingsFile());
    EXPECT_EQ(run("press ?Potrdi\nidle\n"), "");
    EXPECT_EQ(fileEntry("SERVISNE", "Skladišče ZN"), "3");
    EXPECT_TRUE(fileEntry("FILE", "Glo:SFVRPROM").has_value());
}

}  // namespace
}  // namespace dv
