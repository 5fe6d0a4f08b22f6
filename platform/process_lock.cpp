#include "platform/process_lock.h"

#include <fcntl.h>
#include <unistd.h>

namespace platform {

namespace {

struct flock WholeFile(short type) {
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 0;
    return lock;
}

}  // namespace

std::unique_ptr<ProcessLock> ProcessLock::TryTake(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return nullptr;
    struct flock lock = WholeFile(F_WRLCK);
    if (::fcntl(fd, F_SETLK, &lock) != 0) {
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<ProcessLock>(new ProcessLock(fd));
}

ProcessLock::~ProcessLock() { ::close(fd_); }

pid_t ProcessLockHolder(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return 0;
    struct flock lock = WholeFile(F_WRLCK);
    const bool asked = ::fcntl(fd, F_GETLK, &lock) == 0;
    ::close(fd);
    return asked && lock.l_type != F_UNLCK ? lock.l_pid : 0;
}

}  // namespace platform
