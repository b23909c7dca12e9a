#include "framework/ErrorLog.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "framework/ErrorText.h"

namespace dv {

StandardErrorLog::StandardErrorLog(std::filesystem::path directory)
    : directory_(std::move(directory)) {}

StandardErrorLog::~StandardErrorLog() {
    if (descriptor_ >= 0) ::close(descriptor_);
}

void StandardErrorLog::setDirectory(std::filesystem::path directory) {
    directory_ = std::move(directory);
}

std::filesystem::path StandardErrorLog::path() const {
    return directory_.empty() ? std::filesystem::path(kFileName) : directory_ / kFileName;
}

int StandardErrorLog::open(bool force) {
    if (openCount_ == 0 || force) {
        if (descriptor_ >= 0) ::close(descriptor_);
        descriptor_ = ::open(path().c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
        if (descriptor_ < 0) return kLogFailed;
    }
    ++openCount_;
    return kLogDone;
}

int StandardErrorLog::write(std::string_view line) {
    if (descriptor_ < 0) return kLogFailed;
    std::string record(firstCharacters(line, kMaxLogLineLength));
    record += '\n';
    // One write call per line, so lines of several writers never interleave.
    ssize_t written;
    do {
        written = ::write(descriptor_, record.data(), record.size());
    } while (written < 0 && errno == EINTR);
    return written == static_cast<ssize_t>(record.size()) ? kLogDone : kLogFailed;
}

int StandardErrorLog::close(bool force) {
    if (openCount_ == 0) return kLogFailed;
    int result = kLogDone;
    if ((openCount_ == 1 || force) && descriptor_ >= 0) {
        if (::close(descriptor_) != 0) result = kLogFailed;
        descriptor_ = -1;
    }
    openCount_ = force ? 0 : openCount_ - 1;
    return result;
}

std::string errorLogLine(DayNumber day, TimeValue time, std::string_view text) {
    CivilDate date = civilDate(day);
    ClockTime clock = clockTime(time);
    char stamp[80];
    std::snprintf(stamp, sizeof stamp, "%02d.%02d.%04d@%02d:%02d:%02d", date.day, date.month,
                  date.year, clock.hour, clock.minute, clock.second);
    return std::string(stamp) + " --> " + std::string(text);
}

}  // namespace dv
