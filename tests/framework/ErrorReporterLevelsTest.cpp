#include "ErrorReporterTestSupport.h"

namespace dv::test {
namespace {

TEST_F(ErrorReporterTest, QuestionAnsweredYesOrNo) {
    ui.answer(kButtonNo);
    EXPECT_EQ(reporter.raise(8), kLevelCancel);
    const MessageBoxRequest& box = lastBox();
    EXPECT_EQ(box.caption, "Changes will be lost!");
    EXPECT_EQ(box.text, "Are you sure you want to cancel?");
    EXPECT_EQ(box.icon, MessageIcon::Question);
    EXPECT_EQ(box.buttons, kButtonYes | kButtonNo);
    EXPECT_EQ(box.defaultButton, kButtonYes);

    ui.answer(kButtonYes);
    EXPECT_EQ(reporter.raise(8), kLevelBenign);

    addMessage(500, MsgDeclined, "Declined", "Go on?");
    ui.answer(kButtonNo);
    EXPECT_EQ(reporter.raise(500), kLevelCancel);
    EXPECT_EQ(lastBox().icon, MessageIcon::Question);
}

TEST_F(ErrorReporterTest, NoticeAndQuietLevels) {
    ui.answer(kButtonOk);
    EXPECT_EQ(reporter.raise(22), kLevelNotify);
    EXPECT_EQ(lastBox().caption, "No Records");
    EXPECT_EQ(lastBox().icon, MessageIcon::Exclamation);
    EXPECT_EQ(lastBox().buttons, kButtonOk);

    addMessage(501, MsgQuiet, "Quiet", "never seen");
    reporter.setLogErrors(true);
    reporter.setHistoryThreshold(-1);
    EXPECT_EQ(reporter.raise(501), kLevelBenign);
    EXPECT_EQ(ui.boxes().size(), 1u);
    EXPECT_TRUE(reporter.history().entries().empty());
}

TEST_F(ErrorReporterTest, FatalLevelsHaltAfterTheMessageIsShown) {
    setLastError(2, "File Not Found  ");
    reporter.quoteFile("ZALOGA.TPS   ");
    addMessage(502, MsgProgram, "Program", "Bug in %File");
    addMessage(503, static_cast<MessageLevel>(9), "Beyond", "Level nine");
    for (std::uint16_t id : {23, 502, 503}) {
        ui.answer(kButtonOk);
        try {
            reporter.raise(id);
            ADD_FAILURE() << "message " << id << " did not end the program";
        } catch (const HaltRequested& halt) {
            EXPECT_EQ(halt.exitCode, kFatalExitCode);
            EXPECT_EQ(lastBox().text, halt.closingMessage + "  Press OK to end this application");
            EXPECT_EQ(lastBox().buttons, kButtonOk);
        }
    }
    EXPECT_EQ(ui.boxes()[0].caption, "File Access Error");
    EXPECT_EQ(ui.boxes()[0].text,
              "File (ZALOGA.TPS) could not be opened.  Error: File Not Found (2).  "
              "Press OK to end this application");
    EXPECT_EQ(ui.boxes()[1].text, "Bug in ZALOGA.TPS  Press OK to end this application");
}

TEST_F(ErrorReporterTest, SilentShowsNothingButStillRecords) {
    reporter.setSilent(true);
    reporter.setHistoryThreshold(5);
    EXPECT_EQ(reporter.raise(8), kLevelBenign);  // the default button, Yes
    EXPECT_EQ(reporter.askWithButtons(35, kButtonYes | kButtonNo | kButtonCancel, kButtonCancel),
              kButtonCancel);
    ASSERT_EQ(reporter.history().entries().size(), 1u);
    EXPECT_EQ(reporter.history().entries()[0].id, 8);
    EXPECT_THROW(reporter.raise(10), HaltRequested);
    EXPECT_TRUE(ui.boxes().empty());
}

TEST_F(ErrorReporterTest, AskWithButtonsShowsThePlainBoxOnly) {
    reporter.setHistoryThreshold(-1);
    reporter.quoteFile("INVENDET");
    ui.answer(kButtonCancel);
    EXPECT_EQ(reporter.askWithButtons(19, kButtonRetry | kButtonCancel, kButtonRetry),
              kButtonCancel);
    EXPECT_EQ(lastBox().icon, MessageIcon::Question);
    EXPECT_EQ(lastBox().buttons, kButtonRetry | kButtonCancel);
    EXPECT_EQ(lastBox().defaultButton, kButtonRetry);
    EXPECT_EQ(lastBox().text.substr(0, 25), "INVENDET File Load Error.");
    EXPECT_TRUE(reporter.history().entries().empty());
}

TEST_F(ErrorReporterTest, UnknownIdGivesANoticeNamingIt) {
    ui.answer(kButtonOk);
    EXPECT_EQ(reporter.raise(4321), kLevelNotify);
    EXPECT_NE(lastBox().text.find("4321"), std::string::npos);
}

}  // namespace
}  // namespace dv::test
