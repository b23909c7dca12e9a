#include <gtest/gtest.h>

#include "RecordingFrontEnd.h"
#include "runtime/Halt.h"

namespace dv {
namespace {

TEST(FrontEnd, UnattendedAnswerIsTheDefaultWhenItIsOneButton) {
    EXPECT_EQ(unattendedAnswer(kButtonYes | kButtonNo, kButtonNo), kButtonNo);
    EXPECT_EQ(unattendedAnswer(kButtonYes | kButtonNo, kButtonCancel), kButtonYes);
    EXPECT_EQ(unattendedAnswer(kButtonRetry | kButtonCancel, 0), kButtonRetry);
    EXPECT_EQ(unattendedAnswer(kButtonYes | kButtonNo, kButtonYes | kButtonNo), kButtonYes);
    EXPECT_EQ(unattendedAnswer(0, 0), kButtonOk);
}

TEST(FrontEnd, ConsoleFallbackPrintsAndAnswersTheDefault) {
    ASSERT_EQ(setCurrentFrontEnd(nullptr), nullptr);
    testing::internal::CaptureStderr();
    MessageButtons pressed =
        currentFrontEnd().messageBox({" OPOZORILO", " Inventura je že zaključena.| Ponovi?",
                                      MessageIcon::Information, kButtonYes | kButtonNo, kButtonNo});
    std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_EQ(pressed, kButtonNo);
    EXPECT_NE(printed.find(" OPOZORILO"), std::string::npos);
    EXPECT_NE(printed.find(" Inventura je že zaključena.\n Ponovi?"), std::string::npos);
}

TEST(FrontEnd, InstalledFrontEndReceivesBoxesUntilRemoved) {
    {
        test::RecordingFrontEnd ui;
        EXPECT_EQ(&currentFrontEnd(), &ui);
        ui.answer(kButtonRetry);
        EXPECT_EQ(currentFrontEnd().messageBox(
                      {"c", "t", MessageIcon::Error, kButtonRetry | kButtonCancel, kButtonCancel}),
                  kButtonRetry);
        ASSERT_EQ(ui.boxes().size(), 1u);
        EXPECT_EQ(ui.boxes()[0].icon, MessageIcon::Error);
    }
    EXPECT_EQ(setCurrentFrontEnd(nullptr), nullptr);
}

// A front end without a list window of its own shows the rows in one box.
class BoxOnlyFrontEnd : public FrontEnd {
  public:
    MessageButtons messageBox(const MessageBoxRequest& request) override {
        shown = request;
        return kButtonHelp;
    }
    MessageBoxRequest shown;
};

TEST(FrontEnd, ListWindowFallsBackToOneBox) {
    BoxOnlyFrontEnd frontEnd;
    MessageListRequest list;
    list.caption = "Errors History";
    list.rows = {{"first", "QLX"}, {"second", ""}};
    list.buttons = kButtonOk | kButtonHelp;
    EXPECT_EQ(frontEnd.messageList(list), kButtonHelp);
    EXPECT_EQ(frontEnd.shown.caption, "Errors History");
    EXPECT_EQ(frontEnd.shown.text, "first  [QLX]|second");
    EXPECT_EQ(frontEnd.shown.buttons, kButtonOk | kButtonHelp);
}

TEST(HaltDeathTest, DefaultHaltRunsHooksNewestFirstAndExits) {
    EXPECT_EXIT(
        {
            addShutdownHook([] { std::fputs("hook one\n", stderr); });
            addShutdownHook([] { std::fputs("hook two\n", stderr); });
            halt(3, "closing text");
        },
        testing::ExitedWithCode(3), "closing text\nhook two\nhook one");
}

TEST(HaltDeathTest, HandlerThatReturnsStillEndsTheProgram) {
    EXPECT_EXIT(
        {
            setHaltHandler([](int, std::string_view) { std::fputs("handler\n", stderr); });
            halt(7);
        },
        testing::ExitedWithCode(7), "handler");
}

TEST(Halt, ShutdownHooksRunOnce) {
    int runs = 0;
    addShutdownHook([&runs] { ++runs; });
    runShutdownHooks();
    runShutdownHooks();
    EXPECT_EQ(runs, 1);
}

}  // namespace
}  // namespace dv
