#include <gtest/gtest.h>

#include <future>
#include <stdexcept>

#include "runtime/ProcedureScheduler.h"

namespace dv {
namespace {

std::vector<std::string> names(const std::vector<ProcedureEnd>& ends) {
    std::vector<std::string> out;
    for (const auto& e : ends)
        out.push_back(e.name + "=" + std::to_string(responseNumber(e.response)));
    return out;
}

TEST(ProcedureScheduler, StartReturnsAtOnceAndTheProcedureRunsWhenTheFrontEndHandsOver) {
    ProcedureScheduler scheduler;
    std::vector<std::string> log;
    const ProcedureThread* ranOn = nullptr;
    auto thread = scheduler.start("A", [&] {
        log.push_back("A");
        ranOn = ProcedureThread::current();
        return RespCompleted;
    });
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(scheduler.liveCount(), 1u);
    EXPECT_TRUE(scheduler.runUntilIdle());
    EXPECT_EQ(log, std::vector<std::string>{"A"});
    EXPECT_EQ(ranOn, thread.get());
    EXPECT_EQ(ProcedureThread::current(), nullptr);
    EXPECT_EQ(names(scheduler.takeEnded()), std::vector<std::string>{"A=1"});
    EXPECT_TRUE(scheduler.takeEnded().empty());
    EXPECT_EQ(scheduler.liveCount(), 0u);
}

TEST(ProcedureScheduler, OneThreadRunsAtATimeAndTheyTakeTurnsAtEachWait) {
    ProcedureScheduler scheduler;
    std::vector<std::string> log;
    int running = 0;  // no lock: the baton is the only protection
    int overlaps = 0;
    auto body = [&](std::string name) {
        return [&, name] {
            for (int i = 0; i < 3; ++i) {
                if (++running != 1) ++overlaps;
                log.push_back(name + std::to_string(i));
                std::this_thread::yield();
                --running;
                scheduler.waitUntil([] { return true; });
            }
            return RespCompleted;
        };
    };
    scheduler.start("A", body("A"));
    scheduler.start("B", body("B"));
    EXPECT_TRUE(scheduler.runUntilIdle());
    EXPECT_EQ(overlaps, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"A0", "B0", "A1", "B1", "A2", "B2"}));
}

TEST(ProcedureScheduler, AWaitEndsWhenTheFrontEndMakesItsConditionTrue) {
    ProcedureScheduler scheduler;
    bool answered = false;
    std::vector<std::string> log;
    scheduler.start("Asks", [&] {
        log.push_back("asks");
        scheduler.waitUntil([&] { return answered; });
        log.push_back("goes on");
        return RespCompleted;
    });
    EXPECT_TRUE(scheduler.runUntilIdle());
    EXPECT_EQ(log, std::vector<std::string>{"asks"});
    EXPECT_TRUE(scheduler.runUntilIdle());  // nothing changed: still waiting
    EXPECT_EQ(scheduler.liveCount(), 1u);
    answered = true;
    EXPECT_TRUE(scheduler.runUntilIdle());
    EXPECT_EQ(log, (std::vector<std::string>{"asks", "goes on"}));
    EXPECT_EQ(names(scheduler.takeEnded()), std::vector<std::string>{"Asks=1"});
}

TEST(ProcedureScheduler, EndingOneNeverWaitsForAnotherAndShutdownUnwindsTheRest) {
    ProcedureScheduler scheduler;
    bool unwound = false;
    bool caught = false;
    struct Guard {
        bool& flag;
        ~Guard() { flag = true; }
    };
    scheduler.start("Waits", [&] {
        Guard guard{unwound};
        try {
            scheduler.waitUntil([] { return false; });
        } catch (const std::exception&) {
            caught = true;  // the abort is no std::exception
        }
        return RespCompleted;
    });
    scheduler.start("Ends", [] { return RespCancelled; });
    EXPECT_TRUE(scheduler.runUntilIdle());
    EXPECT_EQ(names(scheduler.takeEnded()), std::vector<std::string>{"Ends=2"});
    EXPECT_EQ(scheduler.liveCount(), 1u);
    EXPECT_FALSE(unwound);

    scheduler.shutdown();
    EXPECT_TRUE(unwound);
    EXPECT_FALSE(caught);
    EXPECT_EQ(names(scheduler.takeEnded()), std::vector<std::string>{"Waits=0"});
    EXPECT_EQ(scheduler.liveCount(), 0u);

    // The scheduler still works after a shutdown.
    scheduler.start("Again", [] { return RespCompleted; });
    EXPECT_TRUE(scheduler.runUntilIdle());
    EXPECT_EQ(names(scheduler.takeEnded()), std::vector<std::string>{"Again=1"});
}

TEST(ProcedureScheduler, AnEscapedExceptionEndsOnlyItsProcedureAndIsReported) {
    ProcedureScheduler scheduler;
    scheduler.start("Fails", []() -> Response { throw std::runtime_error("tabela ni odprta"); });
    scheduler.start("Works", [] { return RespCompleted; });
    EXPECT_TRUE(scheduler.runUntilIdle());
    auto ends = scheduler.takeEnded();
    ASSERT_EQ(ends.size(), 2u);
    EXPECT_TRUE(ends[0].failed);
    EXPECT_EQ(ends[0].failure, "tabela ni odprta");
    EXPECT_FALSE(ends[1].failed);
}

TEST(ProcedureScheduler, WaitingIsForProceduresAndDrivingForTheFrontEnd) {
    ProcedureScheduler scheduler;
    EXPECT_THROW(scheduler.waitUntil([] { return true; }), std::logic_error);
    scheduler.start("Drives", [&] {
        scheduler.runUntilIdle();
        return RespCompleted;
    });
    ProcedureScheduler other;
    scheduler.start("WaitsElsewhere", [&] {
        other.waitUntil([] { return true; });
        return RespCompleted;
    });
    EXPECT_TRUE(scheduler.runUntilIdle());
    auto ends = scheduler.takeEnded();
    ASSERT_EQ(ends.size(), 2u);
    EXPECT_TRUE(ends[0].failed);
    EXPECT_NE(ends[0].failure.find("front end"), std::string::npos) << ends[0].failure;
    EXPECT_TRUE(ends[1].failed);
}

TEST(ProcedureScheduler, AProcedureThatNeverWaitsForTheUserOverrunsTheSwitchLimit) {
    ProcedureScheduler scheduler;
    scheduler.setSwitchLimit(50);
    int turns = 0;
    scheduler.start("Busy", [&] {
        while (true) {
            ++turns;
            scheduler.waitUntil([] { return true; });
        }
        return RespCompleted;
    });
    EXPECT_FALSE(scheduler.runUntilIdle());
    EXPECT_EQ(turns, 50);
    EXPECT_TRUE(scheduler.frontEndHoldsBaton());
    scheduler.shutdown();
    EXPECT_EQ(scheduler.liveCount(), 0u);
}

TEST(ProcedureScheduler, AProcedureStartedByAnotherRunsWhenItsStarterWaits) {
    ProcedureScheduler scheduler;
    std::vector<std::string> log;
    scheduler.start("A", [&] {
        log.push_back("A starts B");
        scheduler.start("B", [&] {
            log.push_back("B");
            return RespCompleted;
        });
        log.push_back("A goes on");
        scheduler.waitUntil([] { return true; });
        log.push_back("A again");
        return RespCompleted;
    });
    EXPECT_TRUE(scheduler.runUntilIdle());
    EXPECT_EQ(log, (std::vector<std::string>{"A starts B", "A goes on", "B", "A again"}));
}

TEST(ProcedureScheduler, ResumeHandsOverWithoutBlockingAndCallsBackWhenIdle) {
    ProcedureScheduler scheduler;
    std::promise<void> idle;
    auto idleSeen = idle.get_future();
    scheduler.setIdleCallback([&] { idle.set_value(); });
    bool ran = false;
    scheduler.start("A", [&] {
        ran = true;
        return RespCompleted;
    });
    scheduler.resume();
    ASSERT_EQ(idleSeen.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_TRUE(scheduler.frontEndHoldsBaton());
    EXPECT_TRUE(ran);
    scheduler.setIdleCallback(nullptr);
    scheduler.resume();  // nothing can go on: nothing happens
    EXPECT_TRUE(scheduler.runUntilIdle());
    EXPECT_EQ(names(scheduler.takeEnded()), std::vector<std::string>{"A=1"});
}

}  // namespace
}  // namespace dv
