#include <gtest/gtest.h>

#include <algorithm>

#include "BatchTestSupport.h"
#include "runtime/MessageRaiser.h"

namespace dv {
namespace {

using test::MemoryRecordSource;
using test::numberedRecords;
using test::ProgressLog;

// Runs a whole pass: restart, then read and handle until reading ends.
ReadResult runPass(BatchProcess& process) {
    EXPECT_EQ(process.Restart(), kLevelBenign);
    for (;;) {
        const ReadResult result = process.ReadNext();
        if (result != ReadResult::Record) return result;
        if (process.HandleRecord() != kLevelBenign) return result;
    }
}

TEST(BatchProcess, CountedRecordsShowTheirShareAfterTheStartText) {
    MemoryRecordSource source = numberedRecords(3);
    ProgressLog log;
    int percentVariable = -1;
    BatchProcess process;
    process.SetUp(source, &log, 0, &percentVariable);
    EXPECT_EQ(runPass(process), ReadResult::End);
    EXPECT_EQ(process.TotalToDo(), 3);
    EXPECT_EQ(process.DoneCount(), 3);
    EXPECT_FALSE(process.byteMode());
    EXPECT_EQ(log.texts, (std::vector<std::string>{"0% Completed", "33% Complete", "66% Complete",
                                                   "100% Complete"}));
    EXPECT_EQ(log.percents, (std::vector<int>{0, 33, 66, 100}));
    EXPECT_EQ(percentVariable, 100);
}

TEST(BatchProcess, TheDisplayChangesOnlyWhenThePercentageDoes) {
    MemoryRecordSource source = numberedRecords(1000);
    ProgressLog log;
    BatchProcess process;
    process.SetUp(source, &log);
    runPass(process);
    EXPECT_EQ(log.percents.size(), 101u);  // 0 and each of 1..100 once
    EXPECT_TRUE(std::is_sorted(log.percents.begin(), log.percents.end()));
}

TEST(BatchProcess, AGivenNumberOfRecordsIsNotCounted) {
    MemoryRecordSource source = numberedRecords(4);
    source.toldCount = 999;  // counting would give this
    ProgressLog log;
    BatchProcess process;
    process.SetUp(source, &log, 8);
    runPass(process);
    EXPECT_EQ(process.TotalToDo(), 8);
    EXPECT_EQ(log.percents.back(), 50);
}

TEST(BatchProcess, ProgressNeverShowsMoreThanAHundred) {
    // The view grew after it was counted, and bytes read run past the size told.
    MemoryRecordSource counted = numberedRecords(10);
    counted.toldCount = 4;
    MemoryRecordSource measured = numberedRecords(10);
    measured.toldCount = 0;
    measured.toldBytes = 30;
    for (MemoryRecordSource* source : {&counted, &measured}) {
        ProgressLog log;
        BatchProcess process;
        process.SetUp(*source, &log);
        EXPECT_EQ(runPass(process), ReadResult::End);
        EXPECT_EQ(process.DoneCount(), 10);
        EXPECT_EQ(*std::max_element(log.percents.begin(), log.percents.end()), 100);
        EXPECT_EQ(log.texts.back(), "100% Complete");
        EXPECT_EQ(std::count(log.percents.begin(), log.percents.end(), 100), 1);
    }
}

TEST(BatchProcess, WithoutACountProgressIsMeasuredInBytes) {
    MemoryRecordSource source = numberedRecords(4);
    source.toldCount = 0;
    source.recordSize = 25;
    ProgressLog log;
    BatchProcess process;
    process.SetUp(source, &log);
    runPass(process);
    EXPECT_TRUE(process.byteMode());
    EXPECT_EQ(process.bytesTotal(), 100);
    EXPECT_EQ(log.percents, (std::vector<int>{0, 25, 50, 75, 100}));
}

TEST(BatchProcess, KeyValuesGiveTheProgressWhenAsked) {
    MemoryRecordSource source;
    source.withKey = true;
    for (int key : {100, 110, 150, 190, 200}) source.keys.emplace_back(std::int64_t{key});
    ProgressLog log;
    BatchProcess process;
    process.setKeyProgress(true);
    process.SetUp(source, &log);
    runPass(process);
    EXPECT_EQ(log.percents, (std::vector<int>{0, 10, 50, 90, 100}));
}

TEST(BatchProcess, NestedPassesReadTheChildBeforeGoingOnWithTheParent) {
    MemoryRecordSource parentSource = numberedRecords(3);
    MemoryRecordSource childSource = numberedRecords(2);
    std::int64_t parentAt = -1;
    std::int64_t childAt = -1;
    parentSource.current = &parentAt;
    childSource.current = &childAt;
    ProgressLog parentLog;
    ProgressLog childLog;
    BatchProcess parent;
    BatchProcess child;
    parent.SetUp(parentSource, &parentLog);
    child.SetUp(childSource, &childLog);
    std::vector<std::string> handled;
    parent.setRecordHandler([&] {
        handled.push_back("P" + std::to_string(parentAt + 1));
        if (parentAt == 1) {
            EXPECT_EQ(parent.PushChild(child), kLevelBenign);
        }
        return kLevelBenign;
    });
    child.setRecordHandler([&] {
        handled.push_back("C" + std::to_string(childAt + 1));
        return kLevelBenign;
    });
    EXPECT_EQ(runPass(parent), ReadResult::End);
    EXPECT_EQ(handled, (std::vector<std::string>{"P1", "P2", "C1", "C2", "P3"}));
    EXPECT_EQ(parent.DoneCount(), 3);
    EXPECT_EQ(parentLog.percents, (std::vector<int>{0, 33, 66, 100}));
    EXPECT_EQ(childLog.percents, (std::vector<int>{0, 50, 100}));
    EXPECT_FALSE(parent.hasChildren());
}

TEST(BatchProcess, AChildWhoseRestartFailsIsNotPushed) {
    MemoryRecordSource parentSource = numberedRecords(2);
    MemoryRecordSource childSource = numberedRecords(2);
    childSource.failRestart = kLevelFatal;
    BatchProcess parent;
    BatchProcess child;
    parent.SetUp(parentSource);
    child.SetUp(childSource);
    int childRecords = 0;
    child.setRecordHandler([&] {
        ++childRecords;
        return kLevelBenign;
    });
    parent.setRecordHandler([&] {
        EXPECT_EQ(parent.PushChild(child), kLevelFatal);
        return kLevelBenign;
    });
    EXPECT_EQ(runPass(parent), ReadResult::End);
    EXPECT_EQ(childRecords, 0);
    EXPECT_EQ(parent.DoneCount(), 2);
}

TEST(BatchProcess, AFailedReadEndsReadingAndAChildFailureReachesTheParent) {
    MemoryRecordSource source = numberedRecords(5);
    source.failAt = 2;
    BatchProcess process;
    process.SetUp(source);
    EXPECT_EQ(runPass(process), ReadResult::Failed);
    EXPECT_EQ(process.DoneCount(), 2);

    MemoryRecordSource parentSource = numberedRecords(3);
    MemoryRecordSource childSource = numberedRecords(3);
    childSource.failAt = 1;
    BatchProcess parent;
    BatchProcess child;
    parent.SetUp(parentSource);
    child.SetUp(childSource);
    parent.setRecordHandler([&] { return parent.PushChild(child); });
    EXPECT_EQ(runPass(parent), ReadResult::Failed);
    EXPECT_FALSE(parent.hasChildren());
}

TEST(BatchProcess, QuickScanIsOnForThePassOnly) {
    MemoryRecordSource source = numberedRecords(2);
    BatchProcess process;
    process.setQuickScanMode(true);
    process.SetUp(source);
    EXPECT_EQ(process.Restart(), kLevelBenign);
    EXPECT_TRUE(source.quickScan);
    EXPECT_EQ(process.Restart(), kLevelBenign);  // restarting does not ask twice
    process.EndPass();
    EXPECT_EQ(source.quickScanCalls, (std::vector<bool>{true, false}));
}

TEST(BatchProcess, TheRecordHandlerStopsThePass) {
    MemoryRecordSource source = numberedRecords(10);
    BatchProcess process;
    process.SetUp(source);
    process.setRecordHandler(
        [&] { return process.DoneCount() == 4 ? kLevelNotify : kLevelBenign; });
    EXPECT_EQ(runPass(process), ReadResult::Record);
    EXPECT_EQ(process.DoneCount(), 4);
}

TEST(BatchProcess, RestartingCountsAgainAndAFailedRestartIsPassedOn) {
    MemoryRecordSource source = numberedRecords(3);
    BatchProcess process;
    process.SetUp(source);
    runPass(process);
    source.keys.emplace_back(std::int64_t{4});
    runPass(process);
    EXPECT_EQ(process.TotalToDo(), 4);
    EXPECT_EQ(process.DoneCount(), 4);
    source.failRestart = kLevelNotify;
    EXPECT_EQ(process.Restart(), kLevelNotify);

    BatchProcess notSetUp;
    EXPECT_THROW((void)notSetUp.Restart(), std::logic_error);
}

TEST(KeyProgressEstimator, NumbersAreInterpolatedAndClamped) {
    const KeyProgressEstimator up(KeyValueRange{std::int64_t{0}, std::int64_t{400}});
    EXPECT_EQ(up.percent(std::int64_t{100}), 25);
    EXPECT_EQ(up.percent(std::int64_t{-5}), 0);
    EXPECT_EQ(up.percent(std::int64_t{900}), 100);
    const KeyProgressEstimator down(KeyValueRange{std::int64_t{400}, std::int64_t{0}});
    EXPECT_EQ(down.percent(std::int64_t{100}), 75);
    const KeyProgressEstimator flat(KeyValueRange{std::int64_t{7}, std::int64_t{7}});
    EXPECT_EQ(flat.percent(std::int64_t{7}), std::nullopt);
    EXPECT_EQ(up.percent(KeyValue{std::string("A")}), std::nullopt);
}

TEST(KeyProgressEstimator, TextsFollowTheSlovenianAlphabetWithoutRegardToCase) {
    const KeyProgressEstimator names(KeyValueRange{std::string("A"), std::string("Ž")});
    const int c = *names.percent(std::string("Cvet"));
    const int cc = *names.percent(std::string("čaj"));
    const int d = *names.percent(std::string("DOM"));
    const int s = *names.percent(std::string("sok"));
    const int ss = *names.percent(std::string("Šola"));
    const int t = *names.percent(std::string("T"));
    EXPECT_LT(c, cc);
    EXPECT_LT(cc, d);
    EXPECT_LT(s, ss);
    EXPECT_LT(ss, t);
    EXPECT_EQ(*names.percent(std::string("cvet")), c);
    EXPECT_EQ(*names.percent(std::string("A")), 0);
    EXPECT_EQ(*names.percent(std::string("Ž")), 100);
    EXPECT_GT(*names.percent(std::string("M")), 30);
    EXPECT_LT(*names.percent(std::string("M")), 60);
}

}  // namespace
}  // namespace dv
