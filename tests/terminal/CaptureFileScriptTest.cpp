#include <gtest/gtest.h>

#include "CaptureReviewFixture.h"

namespace dv {
namespace {

using CaptureFileScript = test::CaptureReviewFixture;

constexpr const char* kList = "window \"Pregled ASCII zajema inventure -  INVASCI File\"\n";

// A terminal's file in code page 1250 ("Č" is the byte C8) with LF line ends and fields with
// and without quotes: a line added through the form is appended with both fields quoted in the
// file's own encoding and line end, a changed line is rewritten in place, a deleted one goes,
// and every other line keeps its bytes.
TEST_F(CaptureFileScript, AddChangeAndDeleteKeepTheOtherLinesAndTheCodePage) {
    const std::string header = "EAN;KOLICINA\n";
    const std::string first = "3830001;5\n";
    const std::string second = "\"3830002\";\"3\"\n";
    const std::string third =
        "\xC8"
        "EBULA;1,5\n";
    const std::string fourth = "3830004;  7\n";
    writeCapture(header + first + second + third + fourth);
    run(std::string("start BrowseINVASCII\n") + kList + R"(expect ?Zavihki text "Po zapisih"
expect ?Seznam rows 5
expect ?Seznam cell 4 1 "ČEBULA"
press ?Dodaj
window "Adding a INVASCI Record"
type ?INVASCI:EANKODA "3830009 Č"
type ?INVASCI:KOLICINA "2,5"
press ?OK
)" + kList +
        R"(expect ?Seznam rows 6
row ?Seznam 3
press ?Spremeni
window "Changing a INVASCI Record"
expect ?INVASCI:EANKODA text "3830002"
type ?INVASCI:KOLICINA "4"
press ?OK
)" + kList +
        R"(expect ?Seznam text "3830002|4"
row ?Seznam 5
expect ?Seznam text "3830004|  7"
press ?Brisi
message "Confirm Delete" "Are you sure you want to delete the highlighted record?"
answer Yes
expect ?Seznam rows 5
close
)");
    EXPECT_EQ(readCapture(),
              header + first + "\"3830002\";\"4\"\n" + third + "\"3830009 \xC8\";\"2,5\"\n");
}

// A line added to a file in UTF-8 with CR LF ends reads back through the text table as a
// terminal line does: the list started afresh shows both fields without their quotes.
TEST_F(CaptureFileScript, AnAddedLineReadsBackLikeATerminalLine) {
    writeCapture("3830001;5\r\n");
    run(std::string("start BrowseINVASCII\n") + kList + R"(press ?Dodaj
type ?INVASCI:EANKODA "3830002"
type ?INVASCI:KOLICINA "12.5"
press ?OK
close
start BrowseINVASCII
expect ?Seznam rows 2
expect ?Seznam cell 2 1 "3830002"
expect ?Seznam cell 2 2 "12.5"
close
)");
    EXPECT_EQ(readCapture(), "3830001;5\r\n\"3830002\";\"12.5\"\r\n");
}

// Confirming without a code says which field is missing and keeps the form open; nothing is
// written until the code is given, and Cancel then leaves the file as it was.
TEST_F(CaptureFileScript, TheCodeIsRequired) {
    writeCapture("3830001;5\r\n");
    run(std::string("start BrowseINVASCII\n") + kList + R"(press ?Dodaj
type ?INVASCI:KOLICINA "3"
press ?OK
message " INFORMACIJA" "\"EAN koda\" podatek mora biti vnešen !"
answer OK
window "Adding a INVASCI Record"
expect ?INVASCI:EANKODA focused
press ?Cancel
message "Save Record" "Do you want to save the changes to this record?"
answer No
)" + kList +
        R"(expect ?Seznam rows 1
row ?Seznam 1
press ?Spremeni
type ?INVASCI:EANKODA ""
press ?OK
message " INFORMACIJA" "\"EAN koda\" podatek mora biti vnešen !"
answer OK
window "Changing a INVASCI Record"
press ?Cancel
message "Save Record" "Do you want to save the changes to this record?"
answer No
)" + kList +
        R"(expect ?Seznam text "3830001|5"
close
)");
    EXPECT_EQ(readCapture(), "3830001;5\r\n");
}

// The capture file's list marks no rows: a Ctrl+click is refused, and Space is no mark.
TEST_F(CaptureFileScript, TheCaptureListMarksNoRows) {
    writeCapture("3830001;5\r\n");
    run(std::string("start BrowseINVASCII\n") + kList + R"(focus ?Seznam
key Space
expect ?Seznam marked ""
)");
    const auto failure = runner->run(parseScript("mark ?Seznam 1\n"));
    ASSERT_TRUE(failure);
    EXPECT_NE(failure->report().find("does not mark rows"), std::string::npos) << failure->report();
}

// The program ends while the form of a new line is open (the form keeps its table through a
// relation keeper of its own, which must outlive the release of the table): nothing is
// written and nothing crashes.
TEST_F(CaptureFileScript, EndingTheProgramUnderAnOpenFormWritesNothing) {
    writeCapture("3830001;5\r\n");
    run(std::string("start BrowseINVASCII\n") + kList + R"(press ?Dodaj
type ?INVASCI:EANKODA "3830002"
)");
    scheduler.shutdown();
    EXPECT_EQ(readCapture(), "3830001;5\r\n");
}

}  // namespace
}  // namespace dv
