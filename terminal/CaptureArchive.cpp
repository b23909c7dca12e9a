#include "terminal/CaptureArchive.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "data/ProgramDirectory.h"
#include "runtime/FileWrites.h"
#include "runtime/TextCase.h"

namespace dv {
namespace fs = std::filesystem;

namespace {

std::string systemError(int error) {
    return std::strerror(error);
}

fs::path folderOf(const fs::path& file) {
    return file.has_parent_path() ? file.parent_path() : fs::path(".");
}

// Makes the file only when no file of that name exists; the descriptor, or -1 with errno.
int createExclusively(const fs::path& file) {
    return ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}

// The content into the open file, on the disk when it returns 0; else the errno.
int writeDurably(int fd, const std::string& content) {
    int error = writeAllBytes(fd, content);
    if (error == 0 && ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    return error;
}

}  // namespace

fs::path captureArchiveFolder(std::string_view setting) {
    const std::string folder = hostPath(trimBlanks(setting));
    if (folder.empty() || folder.back() == '/') return fs::path(folder);
    return fs::path(folder + '/');
}

std::string captureArchiveName(DayNumber day, TimeValue time) {
    const CivilDate date = civilDate(day);
    const ClockTime clock = clockTime(time);
    char name[32];
    std::snprintf(name, sizeof name, "ARHINV_%02d%02d%02d_%02d%02d", date.year % 100, date.month,
                  date.day, clock.hour, clock.minute);
    return name;
}

bool canWriteInto(const fs::path& folder, std::string& error) {
    std::string probe = ((folder.empty() ? fs::path(".") : folder) / ".ARHINV_XXXXXX").string();
    const int fd = ::mkstemp(probe.data());
    if (fd < 0) {
        error = systemError(errno);
        return false;
    }
    ::close(fd);
    ::unlink(probe.c_str());
    return true;
}

bool readWholeFile(const fs::path& file, std::string& content, std::string& error) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = systemError(errno);
        return false;
    }
    content.clear();
    char chunk[65536];
    ssize_t got = 0;
    while ((got = ::read(fd, chunk, sizeof chunk)) != 0) {
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) break;
        content.append(chunk, static_cast<std::size_t>(got));
    }
    const int failure = got < 0 ? errno : 0;
    ::close(fd);
    if (failure != 0) error = systemError(failure);
    return failure == 0;
}

bool writeArchiveCopy(const fs::path& folder, const std::string& name, const std::string& content,
                      fs::path& written, std::string& error) {
    int fd = -1;
    fs::path file;
    for (int suffix = 1; fd < 0; ++suffix) {
        file = folder / (suffix == 1 ? name : name + "_" + std::to_string(suffix));
        fd = createExclusively(file);
        if (fd < 0 && (errno != EEXIST || suffix == 999)) {
            error = systemError(errno);
            return false;
        }
    }
    int failure = writeDurably(fd, content);
    if (failure == 0) failure = syncFolder(folderOf(file));
    if (failure != 0) {
        ::unlink(file.c_str());
        error = systemError(failure);
        return false;
    }
    written = file;
    return true;
}

bool removeFileDurably(const fs::path& file, std::string& error) {
    if (::unlink(file.c_str()) != 0) {
        error = systemError(errno);
        return false;
    }
    // The file is gone once unlinked; a folder that cannot be flushed changes nothing the
    // user can act on.
    (void)syncFolder(folderOf(file));
    return true;
}

}  // namespace dv
