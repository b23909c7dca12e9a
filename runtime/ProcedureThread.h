#pragma once

#include <condition_variable>
#include <functional>
#include <string>
#include <thread>

#include "runtime/Request.h"

namespace dv {

class ProcedureScheduler;

// A procedure's work: it runs, and returns its response.
using ProcedureBody = std::function<Response()>;

// Thrown out of a procedure's wait when the program ends the procedure (shutdown). It derives
// from nothing, so that handlers of std::exception let it pass and the procedure's stack unwinds.
struct ProcedureAborted {};

// One procedure thread: an OS thread that runs a procedure and takes turns with the others (see
// ProcedureScheduler). Its state is read and changed only under the scheduler's lock.
class ProcedureThread {
  public:
    ProcedureThread(ProcedureScheduler& scheduler, std::string name, ProcedureBody body)
        : scheduler_(scheduler), name_(std::move(name)), body_(std::move(body)) {}
    ProcedureThread(const ProcedureThread&) = delete;
    ProcedureThread& operator=(const ProcedureThread&) = delete;

    const std::string& name() const { return name_; }
    ProcedureScheduler& scheduler() const { return scheduler_; }

    // The procedure thread the caller runs on; nullptr on any other thread (the front end's).
    static ProcedureThread* current();

  private:
    friend class ProcedureScheduler;
    enum class State { Starting, Running, Waiting, Finished };

    ProcedureScheduler& scheduler_;
    std::string name_;
    ProcedureBody body_;
    std::thread thread_;
    std::condition_variable turn_;  // signalled when the baton is handed to this thread
    State state_ = State::Starting;
    std::function<bool()> readyWhen_;  // while waiting: whether it can go on
    Response response_ = Response::None;
    std::string failure_;  // what an escaped exception said
    bool failed_ = false;
};

}  // namespace dv
