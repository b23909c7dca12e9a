#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "runtime/Date.h"
#include "runtime/TimeOfDay.h"

namespace dv {

// Results of the error log operations.
inline constexpr int kLogDone = 0;
inline constexpr int kLogFailed = 5;

// Where raised messages are written when logging is on.
class ErrorLog {
  public:
    virtual ~ErrorLog() = default;
    virtual int open(bool force = false) = 0;
    virtual int write(std::string_view line) = 0;
    virtual int close(bool force = false) = 0;
};

// The text file "QLXError.Log" in the working directory or a directory the program names; one
// line per message, at most kMaxLogLineLength characters, appended. Opens are counted: the file
// is opened by the first open (or a forced one), created when missing, and closed by the last
// close (or a forced one). Others may read and write the file meanwhile.
class StandardErrorLog : public ErrorLog {
  public:
    static constexpr std::string_view kFileName = "QLXError.Log";
    static constexpr std::size_t kMaxLogLineLength = 1024;

    explicit StandardErrorLog(std::filesystem::path directory = {});
    ~StandardErrorLog() override;
    StandardErrorLog(const StandardErrorLog&) = delete;
    StandardErrorLog& operator=(const StandardErrorLog&) = delete;

    void setDirectory(std::filesystem::path directory);
    std::filesystem::path path() const;

    int open(bool force = false) override;
    int write(std::string_view line) override;
    int close(bool force = false) override;

  private:
    std::filesystem::path directory_;
    int descriptor_ = -1;
    int openCount_ = 0;
};

// One log line: the date (dd.mm.yyyy), "@", the time (hh:mm:ss), " --> " and the message text.
std::string errorLogLine(DayNumber day, TimeValue time, std::string_view text);

}  // namespace dv
