#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "runtime/ProcedureThread.h"
#include "runtime/WindowDesktop.h"

namespace dv {

// A procedure that ended, as the front end learns of it.
struct ProcedureEnd {
    std::string name;
    Response response = Response::None;
    bool failed = false;  // an exception escaped the procedure
    std::string failure;  // what it said
};

// Runs procedures each on a thread of its own while letting only one of them run at a time.
//
// A single baton passes between the procedure threads and the front end (the thread that drives
// the scheduler: the GUI's or the script's). A procedure thread keeps the baton until it waits
// (for an event of its window, a message box answer, a timer); it then hands the baton to the
// next thread that can go on, in turn, or back to the front end when every thread waits. So the
// program-wide variables, record buffers and window models need no locks: whoever holds the
// baton owns them. The front end reads and changes windows only while it holds the baton, that
// is while runUntilIdle is not running.
//
// A procedure that ends returns its response at once; ending one never waits for another.
class ProcedureScheduler {
  public:
    ProcedureScheduler();
    // Ends every procedure still running (see shutdown).
    ~ProcedureScheduler();
    ProcedureScheduler(const ProcedureScheduler&) = delete;
    ProcedureScheduler& operator=(const ProcedureScheduler&) = delete;

    // Starts `body` on a new procedure thread and returns at once; the new thread runs when the
    // caller next waits (a procedure) or calls runUntilIdle (the front end).
    std::shared_ptr<ProcedureThread> start(std::string name, ProcedureBody body);

    // Front end: hands the baton over and returns when every procedure waits for the user.
    // Returns false when the procedures switched more often than the switch limit allows (one
    // of them never waits for the user); the baton is then back with the front end all the same.
    bool runUntilIdle();
    // Front end: hands the baton over and returns at once; the idle callback is called (on a
    // procedure thread) when the baton comes back. Nothing happens when no thread can go on.
    void resume();
    // Whether the front end holds the baton.
    bool frontEndHoldsBaton() const;
    void setIdleCallback(std::function<void()> callback);
    void setSwitchLimit(std::uint64_t limit);

    // Procedure thread: gives the baton away until ready() holds. ready() is called under the
    // scheduler's lock by whoever holds the baton; it reads the model and must not call the
    // scheduler. Throws ProcedureAborted when the procedure is being ended.
    void waitUntil(std::function<bool()> ready);

    // Ends the program's procedures: every waiting procedure's wait throws ProcedureAborted, so
    // it unwinds and ends; then every thread is joined. Only the front end calls it.
    void shutdown();

    // Procedures that ended since the last call, oldest first.
    std::vector<ProcedureEnd> takeEnded();
    // Procedure threads that have not ended.
    std::size_t liveCount() const;

    WindowDesktop& desktop() { return desktop_; }

  private:
    void threadMain(ProcedureThread& thread);
    void runBody(ProcedureThread& thread);
    // Under the lock: hands the baton to the next thread that can go on after `from` (which
    // may be `from` itself), or to the front end; true when the front end got it.
    bool passBaton(ProcedureThread* from, std::unique_lock<std::mutex>& lock);
    ProcedureThread* nextReady(ProcedureThread* from);
    bool canGoOn(ProcedureThread& thread);
    void waitForFrontEndTurn(std::unique_lock<std::mutex>& lock);
    void reapFinished();
    void requireFrontEnd(const char* operation) const;

    mutable std::mutex mutex_;
    std::condition_variable frontEndTurn_;
    ProcedureThread* holder_ = nullptr;  // nullptr: the front end holds the baton
    std::vector<std::shared_ptr<ProcedureThread>> threads_;  // in the order they started
    std::vector<ProcedureEnd> ended_;
    std::function<void()> idleCallback_;
    std::uint64_t switchLimit_ = 0;  // 0: no limit
    std::uint64_t switches_ = 0;
    bool overran_ = false;
    bool aborting_ = false;
    WindowDesktop desktop_;
};

// The program's scheduler; it lives until the process ends.
ProcedureScheduler& programScheduler();

}  // namespace dv
