#include "SettingsTestSupport.h"

namespace dv {
namespace {

class ParametriTerminalTest : public test::SettingsWindowTest {
  protected:
    ParametriTerminalTest() {
        GLO.MAPADATOTEKETERMINALA = "/zajem/star.txt";
        GLO.DOLZINAEAN = 13;
        setTableFileName("INVASCI", "/zajem/star.txt");
    }
};

constexpr const char* kOpen =
    "start ParametriTerminal\nwindow \" PARAMETRI ZA ZAJEM INVENTURE S TERMINALOM\"\n";

TEST_F(ParametriTerminalTest, TheChosenFileBecomesTheCaptureFileAndIsWrittenOnConfirmation) {
    const std::string chosen = (directory.path() / "INVASCII.txt").string();
    EXPECT_EQ(run(std::string(kOpen) + "expect ?GLO:DOLZINAEAN text \"13\"\nfile \"" + chosen +
                  "\"\npress ?IzberiDatoteko\nexpect ?GLO:MAPADATOTEKETERMINALA text \"" + chosen +
                  "\"\n"),
              "");
    ASSERT_EQ(frontEnd.shownFileDialogs().size(), 1u);
    const FileDialogRequest& dialog = frontEnd.shownFileDialogs().front();
    EXPECT_EQ(dialog.caption, " Izberite datoteko za uvoz s terminala");
    EXPECT_EQ(dialog.path, "/zajem/star.txt");
    EXPECT_NE(dialog.filter.find("*.txt"), std::string::npos);
    EXPECT_EQ(tableFileName("INVASCI"), chosen);
    EXPECT_EQ(fileSections().count("[TERMINAL]"), 0u);  // chosen, not yet confirmed

    EXPECT_EQ(run("type ?GLO:DOLZINAEAN \"8\"\npress ?VRedu\nidle\n"), "");
    EXPECT_EQ(
        fileSections()["[TERMINAL]"],
        (std::vector<std::string>{"MAPA IN IME DATOTEKE TERMINALA=" + chosen, "Dolzina EAN=8"}));
}

// After the chooser the name in the entry (typed the Windows way) is the capture file, whatever
// the chooser gave: a cancelled chooser keeps the typed name, and a blank name names no file.
TEST_F(ParametriTerminalTest, AfterTheChooserTheNameInTheEntryIsTheCaptureFileWhateverItIs) {
    EXPECT_EQ(run(std::string(kOpen) + R"(type ?GLO:MAPADATOTEKETERMINALA "..\\zajem\\danes.txt"
file cancel
press ?IzberiDatoteko
expect ?GLO:MAPADATOTEKETERMINALA text "..\\zajem\\danes.txt"
)"),
              "");
    EXPECT_EQ(frontEnd.shownFileDialogs().front().path, "../zajem/danes.txt");
    EXPECT_EQ(tableFileName("INVASCI"), "../zajem/danes.txt");
    EXPECT_EQ(run(R"(type ?GLO:MAPADATOTEKETERMINALA ""
file cancel
press ?IzberiDatoteko
expect ?GLO:MAPADATOTEKETERMINALA text ""
)"),
              "");
    EXPECT_EQ(tableFileName("INVASCI"), "");
}

// "Prekliči" writes nothing; what was typed stays in force until the program ends. "V redu"
// writes the two entries and leaves the capture file as the chooser last set it.
TEST_F(ParametriTerminalTest, CancelWritesNothingAndConfirmLeavesTheCaptureFileAlone) {
    EXPECT_EQ(run(std::string(kOpen) + "type ?GLO:DOLZINAEAN \"8\"\npress ?Preklici\nidle\n"), "");
    EXPECT_EQ(fileSections().count("[TERMINAL]"), 0u);
    EXPECT_EQ(GLO.DOLZINAEAN, 8);
    EXPECT_EQ(run(std::string(kOpen) +
                  "type ?GLO:MAPADATOTEKETERMINALA \"/zajem/novi.txt\"\npress ?VRedu\nidle\n"),
              "");
    EXPECT_EQ(tableFileName("INVASCI"), "/zajem/star.txt");
    EXPECT_EQ(fileEntry("TERMINAL", "MAPA IN IME DATOTEKE TERMINALA"), "/zajem/novi.txt");
    EXPECT_EQ(fileEntry("TERMINAL", "Dolzina EAN"), "8");
}

// A path longer than the setting holds would be cut to another file: it is refused with a
// message, and the name in the entry stays the capture file.
TEST_F(ParametriTerminalTest, APathTooLongForTheSettingIsRefused) {
    const std::string tooLong = "/" + std::string(130, 'a') + "/zajem.txt";
    EXPECT_EQ(run(std::string(kOpen) + "file \"" + tooLong + R"("
press ?IzberiDatoteko
message-contains "Pot sme imeti največ 119 znakov"
answer OK
expect ?GLO:MAPADATOTEKETERMINALA text "/zajem/star.txt"
)"),
              "");
    EXPECT_EQ(tableFileName("INVASCI"), "/zajem/star.txt");
}

}  // namespace
}  // namespace dv
