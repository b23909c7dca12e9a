#include "runtime/ProcedureScheduler.h"

#include <algorithm>
#include <exception>
#include <stdexcept>
#include <utility>

namespace dv {
namespace {

thread_local ProcedureThread* currentProcedureThread = nullptr;

}  // namespace

ProcedureThread* ProcedureThread::current() {
    return currentProcedureThread;
}

ProcedureScheduler::ProcedureScheduler() = default;

ProcedureScheduler::~ProcedureScheduler() {
    if (ProcedureThread::current() == nullptr) shutdown();
}

std::shared_ptr<ProcedureThread> ProcedureScheduler::start(std::string name, ProcedureBody body) {
    auto thread = std::make_shared<ProcedureThread>(*this, std::move(name), std::move(body));
    std::lock_guard lock(mutex_);
    threads_.push_back(thread);
    // The new thread waits for the lock, then for its turn.
    thread->thread_ = std::thread([this, raw = thread.get()] { threadMain(*raw); });
    return thread;
}

void ProcedureScheduler::threadMain(ProcedureThread& thread) {
    currentProcedureThread = &thread;
    std::unique_lock lock(mutex_);
    thread.turn_.wait(lock, [&] { return holder_ == &thread; });
    thread.state_ = ProcedureThread::State::Running;
    const bool run = !aborting_;
    lock.unlock();
    if (run) runBody(thread);
    lock.lock();
    thread.state_ = ProcedureThread::State::Finished;
    ended_.push_back({thread.name_, thread.response_, thread.failed_, thread.failure_});
    if (passBaton(&thread, lock) && idleCallback_) {
        auto callback = idleCallback_;
        lock.unlock();
        callback();
    }
}

void ProcedureScheduler::runBody(ProcedureThread& thread) {
    try {
        thread.response_ = thread.body_();
    } catch (const ProcedureAborted&) {
        thread.response_ = Response::None;
    } catch (const std::exception& e) {
        thread.failed_ = true;
        thread.failure_ = e.what();
    } catch (...) {
        thread.failed_ = true;
        thread.failure_ = "an unknown exception";
    }
}

bool ProcedureScheduler::passBaton(ProcedureThread* from, std::unique_lock<std::mutex>&) {
    ProcedureThread* next = nextReady(from);
    if (next && switchLimit_ != 0 && !aborting_ && ++switches_ > switchLimit_) {
        overran_ = true;
        next = nullptr;
    }
    holder_ = next;
    if (next) {
        next->turn_.notify_one();
        return false;
    }
    frontEndTurn_.notify_all();
    return true;
}

ProcedureThread* ProcedureScheduler::nextReady(ProcedureThread* from) {
    const std::size_t count = threads_.size();
    std::size_t first = 0;
    if (from) {
        auto it = std::find_if(threads_.begin(), threads_.end(),
                               [&](const auto& t) { return t.get() == from; });
        first = static_cast<std::size_t>(it - threads_.begin()) + 1;
    }
    for (std::size_t k = 0; k < count; ++k) {
        ProcedureThread& candidate = *threads_[(first + k) % count];
        if (canGoOn(candidate)) return &candidate;
    }
    return nullptr;
}

bool ProcedureScheduler::canGoOn(ProcedureThread& thread) {
    switch (thread.state_) {
        case ProcedureThread::State::Starting:
            return true;
        case ProcedureThread::State::Waiting:
            return aborting_ || thread.readyWhen_();
        default:
            return false;
    }
}

void ProcedureScheduler::waitUntil(std::function<bool()> ready) {
    ProcedureThread* self = ProcedureThread::current();
    if (self == nullptr || &self->scheduler_ != this)
        throw std::logic_error("only a procedure thread of this scheduler can wait");
    std::unique_lock lock(mutex_);
    if (aborting_) throw ProcedureAborted{};
    self->readyWhen_ = std::move(ready);
    self->state_ = ProcedureThread::State::Waiting;
    if (passBaton(self, lock) && idleCallback_) {
        auto callback = idleCallback_;
        lock.unlock();
        callback();
        lock.lock();
    }
    self->turn_.wait(lock, [&] { return holder_ == self; });
    self->readyWhen_ = nullptr;
    self->state_ = ProcedureThread::State::Running;
    if (aborting_) throw ProcedureAborted{};
}

void ProcedureScheduler::waitForFrontEndTurn(std::unique_lock<std::mutex>& lock) {
    frontEndTurn_.wait(lock, [&] { return holder_ == nullptr; });
}

void ProcedureScheduler::requireFrontEnd(const char* operation) const {
    if (ProcedureThread::current() != nullptr)
        throw std::logic_error(std::string(operation) + " is for the front end, not a procedure");
}

bool ProcedureScheduler::runUntilIdle() {
    requireFrontEnd("runUntilIdle");
    bool overran = false;
    {
        std::unique_lock lock(mutex_);
        waitForFrontEndTurn(lock);
        switches_ = 0;
        overran_ = false;
        passBaton(nullptr, lock);
        waitForFrontEndTurn(lock);
        overran = overran_;
    }
    reapFinished();
    return !overran;
}

void ProcedureScheduler::resume() {
    requireFrontEnd("resume");
    std::unique_lock lock(mutex_);
    if (holder_ != nullptr) return;
    switches_ = 0;
    passBaton(nullptr, lock);
}

bool ProcedureScheduler::frontEndHoldsBaton() const {
    std::lock_guard lock(mutex_);
    return holder_ == nullptr;
}

void ProcedureScheduler::setIdleCallback(std::function<void()> callback) {
    std::lock_guard lock(mutex_);
    idleCallback_ = std::move(callback);
}

void ProcedureScheduler::setSwitchLimit(std::uint64_t limit) {
    std::lock_guard lock(mutex_);
    switchLimit_ = limit;
}

void ProcedureScheduler::shutdown() {
    requireFrontEnd("shutdown");
    {
        std::unique_lock lock(mutex_);
        waitForFrontEndTurn(lock);
        aborting_ = true;
        // Each aborted procedure unwinds and hands the baton on; a procedure that waits again
        // while unwinding is aborted again, so the round ends with every thread finished.
        while (std::any_of(threads_.begin(), threads_.end(), [](const auto& t) {
            return t->state_ != ProcedureThread::State::Finished;
        })) {
            passBaton(nullptr, lock);
            waitForFrontEndTurn(lock);
        }
        aborting_ = false;
    }
    reapFinished();
}

void ProcedureScheduler::reapFinished() {
    std::vector<std::shared_ptr<ProcedureThread>> finished;
    {
        std::lock_guard lock(mutex_);
        auto it = std::stable_partition(threads_.begin(), threads_.end(), [](const auto& t) {
            return t->state_ != ProcedureThread::State::Finished;
        });
        finished.assign(it, threads_.end());
        threads_.erase(it, threads_.end());
    }
    for (auto& thread : finished)
        if (thread->thread_.joinable()) thread->thread_.join();
}

std::vector<ProcedureEnd> ProcedureScheduler::takeEnded() {
    std::lock_guard lock(mutex_);
    return std::exchange(ended_, {});
}

std::size_t ProcedureScheduler::liveCount() const {
    std::lock_guard lock(mutex_);
    return static_cast<std::size_t>(
        std::count_if(threads_.begin(), threads_.end(),
                      [](const auto& t) { return t->state_ != ProcedureThread::State::Finished; }));
}

ProcedureScheduler& programScheduler() {
    // Never destroyed: procedure threads may still wait when the process exits.
    static ProcedureScheduler* scheduler = new ProcedureScheduler;
    return *scheduler;
}

}  // namespace dv
