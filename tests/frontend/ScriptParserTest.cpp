#include <gtest/gtest.h>

#include "frontend/headless/Script.h"
#include "runtime/Date.h"

namespace dv {
namespace {

TEST(ScriptParser, ReadsEveryCommandWithItsLineAndArguments) {
    const auto lines = parseScript(R"(# a comment line

start EvidencaInventur
menu "&DIDEROVIV" "2. Vnos inventurnega popisa"
toolbar "IZHOD"
window "    DIDEROVIV "
focus ?INVENTUR:Enota
type "Skladišče" "12"   # typed into the entry after the prompt
press ?OK
key Ctrl+'
tab "Splošno"
row ?Seznam 3
close
message " OPOZORILO" "Vrstica ena.|Vrstica \"dve\"."
message-contains "dve"
answer Yes
expect ?Naziv text ""
expect ?Naziv disabled
expect ?Seznam rows 0
expect ?Seznam cell 1 2 "12,50"
file "C:\Zajem\INVASCII.txt"
file cancel
date "31.12.2024"
date cancel
preview pages 2
preview contains "Stran: 1 od 2"
preview pdf "out.pdf"
preview close
sql "SELECT COUNT(*) FROM INVENTUR" "3"
idle
)");
    ASSERT_EQ(lines.size(), 28u);
    EXPECT_EQ(lines[0].number, 3);
    EXPECT_EQ(lines[0].verb, "start");
    EXPECT_EQ(lines[0].arguments[0].text, "EvidencaInventur");
    EXPECT_EQ(lines[3].arguments[0].text, "    DIDEROVIV ");
    EXPECT_EQ(lines[5].source,
              R"(type "Skladišče" "12"   # typed into the entry after the prompt)");
    EXPECT_TRUE(lines[5].arguments[0].quoted);
    EXPECT_EQ(lines[7].arguments[0].text, "Ctrl+'");
    EXPECT_EQ(lines[11].arguments[1].text, "Vrstica ena.|Vrstica \"dve\".");
    EXPECT_EQ(lines[18].arguments[0].text, R"(C:\Zajem\INVASCII.txt)");
    EXPECT_FALSE(lines[19].arguments[0].quoted);
    EXPECT_EQ(lines.back().number, 30);
}

TEST(ScriptParser, RefusesTheFirstMalformedLineWithItsNumber) {
    struct Case {
        std::string line;
        std::string reason;
    };
    const std::vector<Case> cases{
        {"click ?OK", "unknown command 'click'"},
        {"\"start\" X", "unknown command 'start'"},
        {"start", "expected: start PROCEDURE"},
        {"press OK", "\"OK\" is not a control: write ?NAME or \"text\""},
        {"press ?", "\"?\" is not a control: write ?NAME or \"text\""},
        {"type ?Naziv", "expected: type REF \"TEXT\" [Enter]"},
        {"type ?Naziv \"x\" Tab", "expected: type REF \"TEXT\" [Enter]"},
        {"type ?Naziv \"x\" \"Enter\"", "expected: type REF \"TEXT\" [Enter]"},
        {"key Ctrl+Q+", "unknown key 'Ctrl+Q+'"},
        {"row ?Seznam 0", "row numbers start at 1"},
        {"row ?Seznam x", "row numbers start at 1"},
        {"answer Maybe", "unknown button 'Maybe' (OK, Yes, No, Cancel, Abort, Retry, Ignore)"},
        {"expect ?Naziv", "expected: expect REF WHAT ..."},
        {"expect ?Naziv colour \"red\"",
         "expect checks text, enabled, disabled, visible, hidden, focused, rows, cell or marked, "
         "not 'colour'"},
        {"expect ?Seznam marked", "expected: expect REF marked \"ROWS\""},
        {"mark ?Seznam 0", "row numbers start at 1"},
        {"mark Seznam 1", "\"Seznam\" is not a control: write ?NAME or \"text\""},
        {"expect ?Naziv text", "expected: expect REF text \"VALUE\""},
        {"expect ?Naziv enabled now", "expected: expect REF enabled"},
        {"expect ?Seznam rows -1", "expected: expect REF rows N"},
        {"expect ?Seznam cell 1 \"x\"", "expected: expect REF cell ROW COLUMN \"VALUE\""},
        {"date \"31.02.2024\"", "\"31.02.2024\" is not a date dd.mm.yyyy"},
        {"date \"1.2.2024\"", "\"1.2.2024\" is not a date dd.mm.yyyy"},
        {"file", "expected: file \"...\" or file cancel"},
        {"preview page 2", "preview checks pages, contains, pdf or close, not 'page'"},
        {"close now", "expected: close"},
        {"message \"caption only\"", "expected: message \"CAPTION\" \"TEXT\""},
        {"message \"open", "quoted text opened at column 9 is not closed"},
    };
    for (const Case& c : cases) {
        try {
            parseScript("idle\n# fine so far\n" + c.line + "\nclick\n");
            ADD_FAILURE() << "accepted: " << c.line;
        } catch (const ScriptError& e) {
            EXPECT_EQ(e.line(), 3) << c.line;
            EXPECT_EQ(std::string(e.what()), c.reason) << c.line;
        }
    }
}

TEST(ScriptParser, ReadsDatesOnlyInTheFormDdMmYyyy) {
    EXPECT_EQ(parseScriptDate("29.02.2024"), dayNumber(2024, 2, 29));
    EXPECT_EQ(parseScriptDate("01.01.1801"), dayNumber(1801, 1, 1));
    for (const char* bad : {"29.02.2023", "1.1.2024", "01-01-2024", "2024.01.01", "aa.bb.cccc", ""})
        EXPECT_EQ(parseScriptDate(bad), 0) << bad;
}

TEST(ScriptParser, AcceptsWindowsLineEndsAndKeepsBlankLinesInTheCount) {
    const auto lines = parseScript("idle\r\n\r\n  \r\nclose\r\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].number, 4);
    EXPECT_EQ(lines[1].source, "close");
}

}  // namespace
}  // namespace dv
