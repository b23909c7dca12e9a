#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "DesktopTestSupport.h"
#include "frontend/qt/QtDialogs.h"
#include "frontend/qt/QtFrontEnd.h"

namespace dv::test {
namespace {

// The front end without a desktop: the test plays the GUI thread's part.
class QtFrontEndTest : public ::testing::Test {
  protected:
    QtFrontEndTest() {
        ensureOffscreenApplication();
        setDialogAnswerHook([this](const char* kind) -> std::optional<int> {
            asked.emplace_back(kind);
            if (answers.empty()) return std::nullopt;
            const int value = answers.front();
            answers.pop_front();
            return value;
        });
    }
    ~QtFrontEndTest() override {
        scheduler.shutdown();
        setDialogAnswerHook({});
    }

    ProcedureScheduler scheduler;
    QtFrontEnd frontEnd{scheduler};
    std::deque<int> answers;
    std::vector<std::string> asked;
};

TEST_F(QtFrontEndTest, AProcedureWaitsUntilTheGuiThreadAnswersItsDialogs) {
    EXPECT_EQ(&currentFrontEnd(), &frontEnd);
    std::optional<MessageButtons> pressed;
    std::optional<std::optional<DayNumber>> picked;
    scheduler.start("Vprasaj", [&pressed] {
        pressed = currentFrontEnd().messageBox({" OPOZORILO", "Res brišem?", MessageIcon::Question,
                                                kButtonYes | kButtonNo, kButtonNo});
        return RespCompleted;
    });
    scheduler.start("Koledar", [&picked] {
        picked = currentFrontEnd().pickDate({});
        return RespCompleted;
    });
    ASSERT_TRUE(scheduler.runUntilIdle());
    EXPECT_TRUE(frontEnd.hasWaitingDialog());
    EXPECT_TRUE(asked.empty());  // nothing is shown while the procedures run

    answers = {kButtonYes, 45000};
    ASSERT_TRUE(frontEnd.answerWaitingDialog());
    EXPECT_FALSE(pressed.has_value());  // the procedure goes on only when the scheduler runs
    ASSERT_TRUE(frontEnd.answerWaitingDialog());
    EXPECT_FALSE(frontEnd.hasWaitingDialog());
    EXPECT_FALSE(frontEnd.answerWaitingDialog());
    ASSERT_TRUE(scheduler.runUntilIdle());

    EXPECT_EQ(asked, (std::vector<std::string>{kDialogMessageBox, kDialogDatePicker}));
    EXPECT_EQ(pressed, kButtonYes);
    ASSERT_TRUE(picked.has_value());
    EXPECT_EQ(*picked, DayNumber{45000});
    EXPECT_EQ(scheduler.liveCount(), 0u);
}

TEST_F(QtFrontEndTest, AProcedureEndedWhileItWaitsLeavesNoDialogBehind) {
    bool returned = false;
    scheduler.start("Datoteka", [&returned] {
        currentFrontEnd().chooseFile({"Izberi datoteko", "INVASCII.txt", "Tekst|*.txt"});
        returned = true;
        return RespCompleted;
    });
    ASSERT_TRUE(scheduler.runUntilIdle());
    EXPECT_TRUE(frontEnd.hasWaitingDialog());
    scheduler.shutdown();
    EXPECT_FALSE(returned);
    EXPECT_FALSE(frontEnd.hasWaitingDialog());
    EXPECT_FALSE(frontEnd.answerWaitingDialog());
    EXPECT_TRUE(asked.empty());
}

TEST_F(QtFrontEndTest, OnTheGuiThreadTheDialogIsShownAtOnce) {
    answers = {kButtonOk};
    EXPECT_EQ(frontEnd.messageBox({" INFORMACIJA", "Končano."}), kButtonOk);

    frontEnd.setPrinter({"Pisarna", 2});
    answers = {0, 1};
    EXPECT_FALSE(frontEnd.printerSetUp("Izberi tiskalnik"));
    EXPECT_TRUE(frontEnd.printerSetUp("Izberi tiskalnik"));
    EXPECT_EQ(asked, (std::vector<std::string>{kDialogMessageBox, kDialogPrinter, kDialogPrinter}));

    // A report without pages is not shown at all.
    ReportPreviewRequest empty;
    empty.copies = 3;
    const ReportPreviewResult result = frontEnd.previewReport(empty);
    EXPECT_EQ(result.response, RespCancelled);
    EXPECT_EQ(result.copies, 3);
    EXPECT_EQ(asked.size(), 3u);
}

TEST_F(QtFrontEndTest, ThePreviousFrontEndComesBackWhenItEnds) {
    FrontEnd* const outer = &currentFrontEnd();
    {
        QtFrontEnd inner(scheduler);
        EXPECT_EQ(&currentFrontEnd(), &inner);
    }
    EXPECT_EQ(&currentFrontEnd(), outer);
}

}  // namespace
}  // namespace dv::test
