#include <gtest/gtest.h>

#include "framework/ErrorText.h"

namespace dv {
namespace {

MessageQuotes sampleQuotes() {
    MessageQuotes quotes;
    quotes.fileName = "ZALOGA";
    quotes.saved = ErrorState{37, "File Not Open", "E7", "locked by driver", ""};
    quotes.messageText = "MSG";
    quotes.fieldName = "FLD";
    quotes.procedure = "PROC";
    quotes.category = "CAT";
    quotes.previous = "PREV";
    return quotes;
}

TEST(ErrorText, LongerPlaceholdersWinOverTheirPrefixes) {
    MessageQuotes quotes = sampleQuotes();
    EXPECT_EQ(buildMessageText("%ErrorText/%Error/%ErrorCode", quotes),
              "File Not Open (37)/File Not Open/37");
    EXPECT_EQ(buildMessageText("%FileErrorCode|%FileError|%File|%Field", quotes),
              "E7|locked by driver|ZALOGA|FLD");
    EXPECT_EQ(buildMessageText("%Message %Procedure %Category %Previous", quotes),
              "MSG PROC CAT PREV");
}

TEST(ErrorText, PlaceholdersIgnoreLetterCase) {
    EXPECT_EQ(buildMessageText("%file %FILE %eRRORtEXT %fileerrorcode", sampleQuotes()),
              "ZALOGA ZALOGA File Not Open (37) E7");
}

TEST(ErrorText, DriverErrorCodeShowsTheDriversOwnError) {
    ErrorState state{kFileDriverError, "File System Error", "SQLITE_FULL",
                     "database or disk is full", ""};
    EXPECT_EQ(describeError(state), "database or disk is full (SQLITE_FULL)");
    state.code = 91;
    EXPECT_EQ(describeError(state), "File System Error (91)");
}

TEST(ErrorText, QuotedTextsAreNotSubstitutedAgain) {
    MessageQuotes quotes = sampleQuotes();
    quotes.fileName = "50%Message off";
    quotes.messageText = "%File";
    EXPECT_EQ(buildMessageText("%File / %Message", quotes), "50%Message off / %File");
    EXPECT_EQ(buildMessageText("100% %Unknown %", quotes), "100% %Unknown %");
}

TEST(ErrorText, LengthIsCutWithoutSplittingCharacters) {
    std::string wide;
    for (int i = 0; i < 2100; ++i) wide += "č";
    std::string built = buildMessageText(wide, sampleQuotes());
    EXPECT_EQ(built.size(), 2 * kMaxMessageTextLength);
    EXPECT_EQ(firstCharacters("ažb", 2), "až");
    EXPECT_EQ(firstCharacters("ab", 5), "ab");
}

}  // namespace
}  // namespace dv
