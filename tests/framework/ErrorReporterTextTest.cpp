#include <latch>
#include <thread>

#include "ErrorReporterTestSupport.h"

namespace dv::test {
namespace {

TEST_F(ErrorReporterTest, RaiseCapturesTheRuntimeErrorAndQuotes) {
    setLastFileError("1555  ", "disk I/O error  ");
    ui.answer(kButtonOk);
    reporter.raise(4);
    EXPECT_EQ(lastBox().text,
              "An error was experienced during the creation of a record. "
              "Error: disk I/O error (1555).");

    setLastError(40, "Creates Duplicate Key");
    ui.answer(kButtonOk);
    reporter.raiseWithText(13, "Po šifri artikla   ");
    EXPECT_EQ(lastBox().text,
              "Adding this record creates a duplicate entry for the key: Po šifri artikla    ");

    reporter.quoteField("Bonitetni razred   ");
    ui.answer(kButtonOk);
    reporter.raiseWithText(16, "1..5");
    EXPECT_EQ(lastBox().text, "The value of Bonitetni razred must be in range 1..5.");
    EXPECT_EQ(reporter.savedError().code, 40);
}

TEST_F(ErrorReporterTest, QuotesAreCutTo254Characters) {
    reporter.quoteFile(std::string(300, 'f'));
    ui.answer(kButtonOk);
    reporter.raiseWithText(0, std::string(300, 'm'));  // no such message shows a notice
    EXPECT_EQ(reporter.fileName().size(), kMaxQuoteLength);
    EXPECT_EQ(reporter.messageText().size(), kMaxQuoteLength);
}

TEST_F(ErrorReporterTest, LaterMessagesOverrideAndQuoteThePreviousText) {
    addMessage(9, MsgAsk, "Brisanje", "Izbrišem? (%Previous)");
    ui.answer(kButtonNo);
    EXPECT_EQ(reporter.raise(9), kLevelCancel);
    EXPECT_EQ(lastBox().caption, "Brisanje");
    EXPECT_EQ(lastBox().text,
              "Izbrišem? (Are you sure you want to delete the highlighted record?)");

    addMessage(9, MsgNotify, "Drugič", "[%Previous]");
    ui.answer(kButtonOk);
    EXPECT_EQ(reporter.raise(9), kLevelNotify);
    EXPECT_EQ(lastBox().text, "[Izbrišem? (%Previous)]");

    addMessage(600, MsgNotify, "Own", "first %Previous|");
    ui.answer(kButtonOk);
    reporter.raise(600);
    EXPECT_EQ(lastBox().text, "first |");
}

TEST_F(ErrorReporterTest, MalformedBlockAddsNothing) {
    std::size_t before = reporter.messages().size();
    std::string block = encodeMessageBlock(std::vector<MessageEntry>{{9, MsgNotify, "T", "X", {}}});
    EXPECT_THROW(reporter.addMessages(block.substr(0, block.size() - 1)), MalformedMessageBlock);
    EXPECT_EQ(reporter.messages().size(), before);
}

TEST_F(ErrorReporterTest, CategoriesForMessagesAndTheDefault) {
    addMessage(700, MsgNotify, "T", "%Category!");
    reporter.assignCategory(700, "INV");
    reporter.setHistoryThreshold(-1);
    reporter.setSilent(true);
    reporter.raise(700);
    reporter.raise(22);
    reporter.assignCategory(kAnyMessageId, "DEF");
    reporter.raise(22);
    const auto& entries = reporter.history().entries();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].text, "INV!");
    EXPECT_EQ(entries[0].category, "INV");
    EXPECT_EQ(entries[1].category, "QLX");
    EXPECT_EQ(entries[2].category, "DEF");
}

TEST_F(ErrorReporterTest, ProcedureNameIsTheLatestOfTheCallingThread) {
    addMessage(800, MsgNotify, "T", "in %Procedure");
    reporter.pushProcedure("Main");
    reporter.pushProcedure("BrowseSFENOTE");
    ui.answer(kButtonOk);
    reporter.raise(800);
    EXPECT_EQ(lastBox().text, "in BrowseSFENOTE");
    reporter.popProcedure("BrowseSFENOTE");
    EXPECT_EQ(reporter.currentProcedure(), "Main");
    {
        ProcedureNameScope scope(reporter, "UpdateSFENOTE");
        EXPECT_EQ(reporter.currentProcedure(), "UpdateSFENOTE");
    }
    reporter.popProcedure("Main");
    EXPECT_EQ(reporter.currentProcedure(), "");

    std::latch bothPushed(2), bothRead(2);
    std::string seenA, seenB;
    auto run = [&](const char* name, std::string& seen) {
        reporter.pushProcedure(name);
        bothPushed.arrive_and_wait();
        seen = reporter.currentProcedure();
        bothRead.arrive_and_wait();
        reporter.popProcedure(name);
    };
    std::thread a(run, "PripravaPredloge", std::ref(seenA));
    std::thread b(run, "VnosPopisa", std::ref(seenB));
    a.join();
    b.join();
    EXPECT_EQ(seenA, "PripravaPredloge");
    EXPECT_EQ(seenB, "VnosPopisa");
    EXPECT_EQ(reporter.currentProcedure(), "");

    ErrorReporter other;
    other.pushProcedure("Other");
    EXPECT_EQ(reporter.currentProcedure(), "");
    reporter.pushProcedure("Other");
    other.popProcedure("Other");
    EXPECT_EQ(reporter.currentProcedure(), "Other");
    EXPECT_EQ(other.currentProcedure(), "");
    reporter.popProcedure("Other");
}

}  // namespace
}  // namespace dv::test
