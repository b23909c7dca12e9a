#include "storage/SqlConnection.h"

#include <utility>

namespace dv {
namespace {

DriverError plainError(DriverCode code, std::string text) {
    return DriverError{code, 0, std::move(text)};
}

}  // namespace

DriverCode SqlConnection::execute(const std::string& sql, std::string_view action,
                                  DriverError& error) {
    SqlStatement* prepared = statement(sql, action, error);
    if (prepared == nullptr) return error.code;
    StatementUse use(*prepared);
    StepResult result = prepared->step();
    while (result == StepResult::Row) result = prepared->step();
    if (result == StepResult::Done) return DriverCode::Ok;
    error = prepared->failure(action);
    return noteFailure(error);
}

DriverCode SqlConnection::begin(DriverError& error) {
    if (prepareWrite(error) != DriverCode::Ok) return error.code;
    const std::string sql =
        depth_ == 0 ? dialect().beginTransaction() : "SAVEPOINT dv" + std::to_string(depth_ + 1);
    const DriverCode code = execute(sql, "begin a transaction", error);
    if (code != DriverCode::Ok) return code;
    if (depth_++ == 0) {
        owner_ = std::this_thread::get_id();
        changesAtBegin_ = changes_;
    }
    return code;
}

DriverCode SqlConnection::commit(DriverError& error) {
    if (depth_ == 0) {
        error = plainError(DriverCode::DriverError, "There is no transaction to commit.");
        return error.code;
    }
    if (checkOwner(error) != DriverCode::Ok) return error.code;
    if (lost_) {
        error = plainError(DriverCode::DriverError, lostReason_);
        if (--depth_ == 0) forgetTransaction();
        return error.code;
    }
    if (depth_ > 1) {
        const DriverCode code =
            execute("RELEASE dv" + std::to_string(depth_), "commit a transaction", error);
        if (code != DriverCode::Ok) return code;
        --depth_;
        return code;
    }
    return commitOutermost(error);
}

DriverCode SqlConnection::commitOutermost(DriverError& error) {
    SqlStatement* prepared = statement("COMMIT", "commit a transaction", error);
    if (prepared == nullptr) return error.code;
    StatementUse use(*prepared);
    if (prepared->step() != StepResult::Done) {
        error = prepared->failure("save the changes of the transaction");
        error.text += "; all changes of the transaction were undone";
        if (error.code != DriverCode::AccessDenied) error.code = DriverCode::DriverError;
        if (engineInTransaction()) executeQuietly("ROLLBACK");
        forgetTransaction();
        return error.code;
    }
    depth_ = 0;
    analyzeChanged();
    return DriverCode::Ok;
}

// The tables a transaction changed in many rows, to an engine that plans its statements by
// what it knows of the tables' contents (see analyze).
void SqlConnection::analyzeChanged() {
    constexpr std::uint64_t kManyChanges = 1000;
    std::vector<std::string> changed;
    for (const auto& [table, count] : changes_) {
        const auto before = changesAtBegin_.find(table);
        if (count - (before == changesAtBegin_.end() ? 0 : before->second) >= kManyChanges)
            changed.push_back(table);
    }
    changesAtBegin_.clear();
    if (!changed.empty()) analyze(changed);
}

DriverCode SqlConnection::rollback(DriverError& error) {
    if (depth_ == 0) {
        error = plainError(DriverCode::DriverError, "There is no transaction to roll back.");
        return error.code;
    }
    if (checkOwner(error) != DriverCode::Ok) return error.code;
    ++rollbacks_;
    rolledBack();
    if (lost_) {
        if (--depth_ == 0) forgetTransaction();
        return DriverCode::Ok;
    }
    if (depth_ > 1) {
        const std::string name = "dv" + std::to_string(depth_);
        DriverCode code = execute("ROLLBACK TO " + name, "roll back a transaction", error);
        if (code == DriverCode::Ok)
            code = execute("RELEASE " + name, "roll back a transaction", error);
        if (!lost_) --depth_;
        return code;
    }
    const DriverCode code = execute("ROLLBACK", "roll back a transaction", error);
    forgetTransaction();
    return code;
}

void SqlConnection::forgetTransaction() {
    depth_ = 0;
    lost_ = false;
    lostReason_.clear();
    ++rollbacks_;
}

void SqlConnection::abandonTransaction() {
    if (depth_ > 0 || snapshot_ != 0) executeQuietly("ROLLBACK");
    depth_ = 0;
    snapshot_ = 0;
}

DriverCode SqlConnection::noteFailure(const DriverError& failure) {
    if (depth_ > 0 && !lost_ && !engineInTransaction()) {
        lost_ = true;
        ++rollbacks_;
        lostReason_ = "The transaction was undone after an earlier error. " + failure.text;
        transactionLost();
        rolledBack();
    }
    return failure.code;
}

DriverCode SqlConnection::checkOwner(DriverError& error) const {
    if (depth_ == 0 || owner_ == std::this_thread::get_id()) return DriverCode::Ok;
    error = plainError(DriverCode::DriverError,
                       "The tables are being changed by the work of another window, which keeps "
                       "its changes together until it ends; try again when it has ended.");
    return error.code;
}

DriverCode SqlConnection::prepareWrite(DriverError& error) {
    endReadSnapshot();
    return checkWritable(error);
}

std::uint64_t SqlConnection::beginRead() {
    if (!connected() || depth_ > 0 || snapshot_ != 0 || engineInTransaction()) return 0;
    if (!executeQuietly(dialect().beginRead().c_str())) return 0;
    snapshot_ = ++snapshots_;
    return snapshot_;
}

void SqlConnection::endRead(std::uint64_t number) {
    if (number != 0 && number == snapshot_) endReadSnapshot();
}

// The snapshot only read, so ending it loses nothing; a failed read may have ended it already.
void SqlConnection::endReadSnapshot() {
    if (snapshot_ == 0) return;
    snapshot_ = 0;
    if (depth_ == 0 && engineInTransaction() && !executeQuietly("COMMIT"))
        executeQuietly("ROLLBACK");
}

DriverCode SqlConnection::checkWritable(DriverError& error) const {
    if (checkOwner(error) != DriverCode::Ok) return error.code;
    if (!lost_) return DriverCode::Ok;
    error = plainError(DriverCode::DriverError, lostReason_);
    return error.code;
}

}  // namespace dv

namespace dv {

LockOutcome SqlConnection::tryStationLock(LockName, bool, StationWork, std::vector<LockHolder>&,
                                          DriverError&) {
    return LockOutcome::Taken;
}

void SqlConnection::releaseStationLock(LockName, bool) {}

LockOutcome SqlConnection::tryLockUntilCommit(LockName, StationWork, std::vector<LockHolder>&,
                                              DriverError&) {
    return LockOutcome::Taken;
}

}  // namespace dv
