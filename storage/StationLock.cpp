#include "storage/StationLock.h"

#include <utility>

#include "storage/SqlConnection.h"

namespace dv {

std::string stationWorkWords(StationWork work) {
    switch (work) {
        case StationWork::Count:
            return "vnaša popis";
        case StationWork::Import:
            return "uvaža zajem s terminala";
        case StationWork::Template:
            return "pripravlja predlogo";
        case StationWork::Repreparation:
            return "ponovno pripravlja predlogo";
        case StationWork::Posting:
            return "knjiži inventurne razlike";
    }
    return "dela z inventuro";
}

StationLock::StationLock(StationLock&& other) noexcept
    : db_(std::exchange(other.db_, nullptr)),
      name_(other.name_),
      shared_(other.shared_),
      holders_(std::move(other.holders_)),
      error_(std::move(other.error_)) {}

StationLock& StationLock::operator=(StationLock&& other) noexcept {
    if (this != &other) {
        release();
        db_ = std::exchange(other.db_, nullptr);
        name_ = other.name_;
        shared_ = other.shared_;
        holders_ = std::move(other.holders_);
        error_ = std::move(other.error_);
    }
    return *this;
}

LockOutcome StationLock::tryTake(SqlConnection& db, LockName name, bool shared, StationWork work) {
    release();
    holders_.clear();
    error_ = {};
    const LockOutcome outcome = db.tryStationLock(name, shared, work, holders_, error_);
    if (outcome == LockOutcome::Taken) {
        db_ = &db;
        name_ = name;
        shared_ = shared;
    }
    return outcome;
}

void StationLock::release() {
    if (db_ == nullptr) return;
    db_->releaseStationLock(name_, shared_);
    db_ = nullptr;
}

LockOutcome tryNumberingUntilCommit(SqlConnection& db, const std::string& table, StationWork work,
                                    std::vector<LockHolder>& holders, DriverError& error) {
    return db.tryLockUntilCommit({kNumberingLock, lockIdOf(table)}, work, holders, error);
}

std::uint64_t lockIdOf(const std::string& name) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : name) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
    return hash;
}

}  // namespace dv
