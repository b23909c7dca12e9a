#include <gtest/gtest.h>

#include "BatchTestSupport.h"
#include "RecordingFrontEnd.h"
#include "framework/ErrorReporter.h"
#include "framework/ProcessWindow.h"
#include "runtime/ProcedureScheduler.h"

namespace dv {
namespace {

using test::MemoryRecordSource;
using test::numberedRecords;

const WindowLayout& progressLayout() {
    static const WindowLayout layout = parseLayout(R"(window Potek " Potek ..."
  string ?ProgressText "0% Completed"
  string ?Progress ""
  button ?Cancel "Prekliči"
)",
                                                   "test");
    return layout;
}

// A procedure that runs a pass in a process window on its own thread, with a clock that moves
// only as records are handled.
class ProcessWindowTest : public ::testing::Test {
  protected:
    ProcessWindowTest() { scheduler.desktop().setImmediateTimers(true); }

    // Runs the pass to its end; the procedure's response.
    Response run(MemoryRecordSource& source, const std::function<Level(Window&)>& onRecord = {}) {
        std::int64_t at = -1;
        source.current = &at;
        scheduler.start("Pass", [&] {
            Window window(progressLayout(), scheduler.desktop());
            BatchProcess process;
            ProcessWindow processWindow(window, process, [this] { return now; });
            process.SetUp(source, &processWindow);
            processWindow.AddEndButton("Cancel", RespCancelled);
            process.setRecordHandler([&] {
                handled.push_back(at + 1);
                now += cost;
                return onRecord ? onRecord(window) : kLevelBenign;
            });
            const Response response = processWindow.Run();
            progressText = window.control("ProgressText").text();
            progressValue = window.control("Progress").value();
            noRecords = processWindow.foundNoRecords();
            finalQuota = processWindow.slicer().SliceQuota();
            return response;
        });
        EXPECT_TRUE(scheduler.runUntilIdle());
        const auto ended = scheduler.takeEnded();
        EXPECT_EQ(ended.size(), 1u);
        if (ended.empty()) return Response::None;
        EXPECT_FALSE(ended[0].failed) << ended[0].failure;
        return ended[0].response;
    }

    ProcedureScheduler scheduler;
    std::chrono::microseconds now{0};
    std::chrono::microseconds cost{std::chrono::milliseconds(1)};
    std::vector<std::int64_t> handled;
    std::string progressText;
    std::string progressValue;
    bool noRecords = false;
    long finalQuota = 0;
};

TEST_F(ProcessWindowTest, APassRunsToTheEndInSlicesAndShowsItsProgress) {
    MemoryRecordSource source = numberedRecords(3000);
    EXPECT_EQ(run(source), RespCompleted);
    ASSERT_EQ(handled.size(), 3000u);
    EXPECT_EQ(handled.front(), 1);
    EXPECT_EQ(handled.back(), 3000);
    EXPECT_EQ(progressText, "100% Complete");
    EXPECT_EQ(progressValue, "100");
    EXPECT_GT(finalQuota, 256);  // 1 ms records: a tick handles hundreds
    EXPECT_EQ(source.quickScanCalls, (std::vector<bool>{true, false}));
    EXPECT_EQ(source.restarts, 1);
}

TEST_F(ProcessWindowTest, AnEmptyViewShowsNoRecordsAndCancels) {
    ErrorReporter reporter;
    test::RecordingFrontEnd frontEnd;
    frontEnd.answer(kButtonOk);
    MemoryRecordSource source;
    EXPECT_EQ(run(source), RespCancelled);
    EXPECT_TRUE(noRecords);
    EXPECT_TRUE(handled.empty());
    ASSERT_EQ(frontEnd.boxes().size(), 1u);
    EXPECT_EQ(frontEnd.boxes()[0].caption, "No Records");
    EXPECT_EQ(progressText, "0% Completed");
}

TEST_F(ProcessWindowTest, CancelStopsThePassAfterTheSliceItCameIn) {
    MemoryRecordSource source = numberedRecords(100);
    cost = std::chrono::milliseconds(300);  // about three records a tick
    EXPECT_EQ(run(source,
                  [](Window& window) {
                      // The user presses Cancel while the fourth record is handled.
                      if (window.control("ProgressText").text() == "4% Complete")
                          window.post(EventKind::Accepted, window.control("Cancel"));
                      return kLevelBenign;
                  }),
              RespCancelled);
    // The click is taken when the slice it came in has ended.
    EXPECT_GE(handled.size(), 4u);
    EXPECT_LT(handled.size(), 10u);
    EXPECT_FALSE(noRecords);
    EXPECT_EQ(source.quickScanCalls, (std::vector<bool>{true, false}));
}

TEST_F(ProcessWindowTest, ClosingTheWindowCancelsAndOtherButtonsDoNot) {
    MemoryRecordSource source = numberedRecords(50);
    cost = std::chrono::milliseconds(300);
    EXPECT_EQ(run(source,
                  [](Window& window) {
                      window.post(EventKind::Selected, window.control("Cancel"));
                      if (window.control("Progress").value() == "10")
                          window.post(EventKind::CloseWindow);
                      return kLevelBenign;
                  }),
              RespCancelled);
    EXPECT_GE(handled.size(), 5u);
    EXPECT_LT(handled.size(), 50u);
}

TEST_F(ProcessWindowTest, TheRecordWorkEndsThePassAsCompleted) {
    MemoryRecordSource source = numberedRecords(40);
    EXPECT_EQ(
        run(source, [this](Window&) { return handled.size() == 7 ? kLevelNotify : kLevelBenign; }),
        RespCompleted);
    EXPECT_EQ(handled.size(), 7u);

    handled.clear();
    MemoryRecordSource first = numberedRecords(40);
    EXPECT_EQ(run(first, [](Window&) { return kLevelNotify; }), RespCompleted);
    EXPECT_EQ(handled.size(), 1u);
}

TEST_F(ProcessWindowTest, AFailedReadOrRestartCancelsThePass) {
    MemoryRecordSource source = numberedRecords(40);
    source.failAt = 12;
    EXPECT_EQ(run(source), RespCancelled);
    EXPECT_EQ(handled.size(), 12u);
    EXPECT_FALSE(noRecords);

    handled.clear();
    MemoryRecordSource broken = numberedRecords(40);
    broken.failRestart = kLevelNotify;
    EXPECT_EQ(run(broken), RespCancelled);
    EXPECT_TRUE(handled.empty());
    EXPECT_FALSE(noRecords);
}

}  // namespace
}  // namespace dv
