#include "app/SingleInstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace dv {

SingleInstanceLock::SingleInstanceLock(const std::filesystem::path& programDirectory) {
    const std::filesystem::path file = programDirectory / kInstanceLockFile;
    descriptor_ = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (descriptor_ < 0) descriptor_ = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor_ < 0) return;
    int locked;
    while ((locked = ::flock(descriptor_, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
    }
    if (locked == 0) return;
    heldElsewhere_ = errno == EWOULDBLOCK;
    ::close(descriptor_);
    descriptor_ = -1;
}

SingleInstanceLock::~SingleInstanceLock() {
    if (descriptor_ >= 0) ::close(descriptor_);
}

}  // namespace dv
