#include <gtest/gtest.h>

#include "ScriptRunnerTestSupport.h"
#include "runtime/WindowDesktop.h"
#include "runtime/WindowInput.h"

namespace dv {
namespace {

using test::ScriptRunnerTest;

TEST_F(ScriptRunnerTest, DrivesProceduresThroughTheirWindowsWhenEveryLineHolds) {
    auto failure = run(R"(
start Evidenca                          # the register, with two rows
window "Evidenca inventur"
expect ?Seznam rows 2
expect ?Seznam cell 2 2 "Skladišče"
row ?Seznam 2
expect ?Seznam focused
expect ?Seznam text "2|Skladišče"
press "Dodaj"                           # calls the form on the register's thread
window "Dodajanje zapisa"
expect ?Kolicina focused
type "Količina" "12,5"
expect ?Kolicina text "12.500"
expect ?Datum focused
date "24.12.2024"
key F6
expect ?Datum text "24.12.2024"
key Tab
expect ?Potrjeno focused
press "Potrjeno"
expect ?Potrjeno text "1"
expect ?Opomba hidden
tab "Dodatno"
type "Opomba" "Popis \"ob\" koncu leta"
expect ?Opomba text "Popis \"ob\" koncu leta"
expect ?Opomba visible
press "V redu"
window "Evidenca inventur"
expect ?Odziv text "1"
press ?Brisi
message " OPOZORILO" "Res brišem zapis?|Potrdite."
answer Yes
expect ?Seznam rows 1
expect ?Seznam cell 1 2 "Center"
close
idle
)");
    ASSERT_FALSE(failure) << failure->report();
    EXPECT_EQ(ended(), std::vector<std::string>{"Evidenca=1"});
    EXPECT_TRUE(scheduler.desktop().windows().empty());
}

TEST_F(ScriptRunnerTest, AMessageBoxAppearingWhileTheScriptDoesSomethingElseFailsIt) {
    auto failure = run("start Evidenca\npress ?Brisi\nkey Enter\n");
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->line, 3);
    EXPECT_EQ(failure->command, "key Enter");
    EXPECT_EQ(failure->expected, "no message box open");
    EXPECT_EQ(failure->seen, R"(message " OPOZORILO" "Res brišem zapis?|Potrdite.")");
    EXPECT_EQ(failure->messageBox, R"(" OPOZORILO" "Res brišem zapis?|Potrdite.")");
    // Nothing was answered by accident: the box still waits and the row is still there.
    ASSERT_NE(frontEnd.openMessageBox(), nullptr);
    EXPECT_EQ(scheduler.desktop().focused()->control("Seznam").rowCount(), 2);

    const std::string report = failure->report();
    EXPECT_NE(report.find("line 3: key Enter"), std::string::npos) << report;
    EXPECT_NE(report.find("windows:  \"Evidenca inventur\" (focused)"), std::string::npos)
        << report;
    EXPECT_NE(report.find("focus:    ?Brisi"), std::string::npos) << report;
}

TEST_F(ScriptRunnerTest, ABoxLeftOpenAtTheEndFailsTheScript) {
    auto failure = run("start Evidenca\npress \"Dodaj\"\ntype \"Količina\" \"-1\"\n");
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->line, 0);
    EXPECT_EQ(failure->expected, "no message box left open");
    EXPECT_EQ(failure->seen, R"(message " OPOZORILO" "Količina ne sme biti negativna.")");
    EXPECT_EQ(failure->report().substr(0, 24), "at the end of the script");
}

// Each script fails at the line given, with what it expected and what it saw.
TEST_F(ScriptRunnerTest, ReportsTheLineWhatWasExpectedAndWhatWasSeen) {
    struct Case {
        std::string script;
        int line;
        std::string expected;
        std::string seen;
    };
    const std::vector<Case> cases{
        {"start Evidenca\nexpect ?Seznam rows 3", 2, "?Seznam rows 3", "?Seznam rows 2"},
        {"start Evidenca\nwindow \"Drugo\"", 2, "window \"Drugo\"", "window \"Evidenca inventur\""},
        {"start Evidenca\nexpect ?Nic text \"x\"", 2, "a control ?Nic",
         "the window has no control ?Nic"},
        {"start Evidenca\npress \"Shrani\"", 2, "a control \"Shrani\"",
         "no control shows the text \"Shrani\""},
        {"start Evidenca\nexpect ?Zapri disabled", 2, "?Zapri disabled", "?Zapri enabled"},
        {"start Evidenca\nexpect ?Zapri focused", 2, "?Zapri focused",
         "?Zapri not focused (the focus is on ?Seznam)"},
        {"start Evidenca\nexpect ?Odziv text \"1\"", 2, "?Odziv text \"1\"", "?Odziv text \"\""},
        {"start Evidenca\nrow ?Seznam 5", 2, "to highlight row 5", "?Seznam has 2 rows, not row 5"},
        {"start Evidenca\nexpect ?Seznam cell 1 3 \"x\"", 2, "?Seznam cell 1 3 \"x\"",
         "?Seznam row 1 with 2 cells"},
        {"start Evidenca\nexpect ?Seznam cell 2 1 \"3\"", 2, "?Seznam cell 2 1 \"3\"",
         "?Seznam cell 2 1 \"2\""},
        {"start Evidenca\npress ?Brisi\nanswer OK", 3, "a message box with the button OK",
         "the message box has no button OK"},
        {"start Evidenca\npress ?Brisi\nmessage \" OPOZORILO\" \"Res brišem zapis?\"", 3,
         "message \" OPOZORILO\" \"Res brišem zapis?\"",
         "message \" OPOZORILO\" \"Res brišem zapis?|Potrdite.\""},
        {"start Evidenca\npress ?Brisi\nmessage-contains \"izbrišem\"", 3,
         "a message containing \"izbrišem\"",
         "message \" OPOZORILO\" \"Res brišem zapis?|Potrdite.\""},
        {"start Evidenca\npress \"Dodaj\"\ntype ?Datum \"31.02.2024\"\nexpect ?Potrjeno focused", 4,
         "?Potrjeno focused", "?Potrjeno not focused (the focus is on ?Datum)"},
        {"start Evidenca\ntype ?Seznam \"x\"", 2, "to type into ?Seznam",
         "?Seznam takes no typed text"},
        {"start Evidenca\ntab \"Dodatno\"", 2, "tab \"Dodatno\"",
         "no control shows the text \"Dodatno\""},
        {"message \"a\" \"b\"", 1, "message \"a\" \"b\"", "no message box"},
        {"answer Yes", 1, "a message box with the button Yes", "no message box is open"},
        {"start Nobody", 1, "a procedure named Nobody", "no such procedure"},
        {"start Napaka", 1, "procedure Napaka to run without error",
         "it failed: tabela INVENTUR ni odprta"},
        {"start Uvoz", 1, "only boxes and dialogs the script can answer",
         "a file dialog \"Izberi datoteko\" opened with no answer given for it"},
        {"close", 1, "a window to close", "no window open"},
        {"key Enter", 1, "a window for the key", "no window open"},
        {"menu \"Datoteka\" \"Izhod\"", 1, "the application frame", "no frame is open"},
        {"toolbar \"IZHOD\"", 1, "the application frame", "no frame is open"},
        {"preview pages 2", 1, "the report preview (preview pages)", "no report preview is open"},
        {"sql \"SELECT 1\" \"1\"", 1, "a database to query", "no database is set up"},
        {"file \"a.txt\"\nidle", 0, "a file dialog for each file answer", "an answer left unused"},
        {"date cancel", 0, "a date picker for each date answer", "an answer left unused"},
    };
    for (const Case& c : cases) {
        ProcedureScheduler scheduler;
        HeadlessFrontEnd frontEnd(scheduler);
        ScriptRunner runner(scheduler, frontEnd, procedures);
        auto failure = runner.run(parseScript(c.script));
        ASSERT_TRUE(failure) << c.script;
        EXPECT_EQ(failure->line, c.line) << c.script;
        EXPECT_EQ(failure->expected, c.expected) << c.script;
        EXPECT_EQ(failure->seen, c.seen) << c.script;
        scheduler.shutdown();
    }
}

TEST_F(ScriptRunnerTest, FileAnswersReachTheDialogsInOrder) {
    auto failure = run(R"script(
file "..\ZAJEM\INVASCII.txt"
file cancel
start Uvoz
expect ?Datoteka text "..\ZAJEM\INVASCII.txt"
close
start Uvoz
expect ?Datoteka text "(preklicano)"
)script");
    ASSERT_FALSE(failure) << failure->report();
    ASSERT_EQ(frontEnd.shownFileDialogs().size(), 2u);
    EXPECT_EQ(frontEnd.shownFileDialogs()[0].caption, "Izberi datoteko");
    EXPECT_EQ(frontEnd.shownFileDialogs()[0].filter, "Tekst|*.txt");
    EXPECT_EQ(ended(), std::vector<std::string>{"Uvoz=1"});
}

TEST_F(ScriptRunnerTest, ADateCancelledInThePickerLeavesTheFieldAsItWas) {
    auto failure = run(R"(
start Vnos
type ?Datum "1.3.2024"
focus ?Datum
date cancel
key F6
expect ?Datum text "01.03.2024"
)");
    ASSERT_FALSE(failure) << failure->report();
    ASSERT_EQ(frontEnd.shownDatePickers().size(), 1u);
    EXPECT_EQ(frontEnd.shownDatePickers()[0].caption, "Koledar");
}

TEST_F(ScriptRunnerTest, ClosingOneOfTwoProceduresReturnsItsResponseWhileTheOtherStaysOpen) {
    auto failure = run("start Evidenca\nstart Vnos\nwindow \"Spreminjanje zapisa\"\n");
    ASSERT_FALSE(failure) << failure->report();
    WindowDesktop& desktop = scheduler.desktop();
    ASSERT_EQ(desktop.windows().size(), 2u);
    ASSERT_EQ(scheduler.liveCount(), 2u);

    // The user clicks the register (opened first) and closes it.
    Window* first = desktop.windows().front();
    ASSERT_EQ(first->caption(), "Evidenca inventur");
    desktop.activate(*first);
    clickCloseBox(*first);
    failure = run("idle\nwindow \"Spreminjanje zapisa\"\n");
    ASSERT_FALSE(failure) << failure->report();
    EXPECT_EQ(ended(), std::vector<std::string>{"Evidenca=1"});
    EXPECT_EQ(scheduler.liveCount(), 1u);

    // The form goes on working and ends on its own.
    failure = run("type \"Količina\" \"3\"\nexpect ?Kolicina text \"3.000\"\nclose\n");
    ASSERT_FALSE(failure) << failure->report();
    EXPECT_EQ(ended(), (std::vector<std::string>{"Evidenca=1", "Vnos=2"}));
    EXPECT_TRUE(desktop.windows().empty());
}

TEST_F(ScriptRunnerTest, ShutdownEndsProceduresThatStillWaitEvenInAMessageBox) {
    auto failure = run("start Evidenca\nstart Evidenca\npress ?Brisi\n");
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->expected, "no message box left open");
    ASSERT_NE(frontEnd.openMessageBox(), nullptr);
    scheduler.shutdown();
    EXPECT_EQ(scheduler.liveCount(), 0u);
    EXPECT_TRUE(scheduler.desktop().windows().empty());
    EXPECT_EQ(frontEnd.openMessageBox(), nullptr);
}

}  // namespace
}  // namespace dv
