#pragma once
#include <memory>
#include <string>
#include <sys/types.h>

namespace platform {

// A lock that a process holds on a file for as long as it lives. It is a
// POSIX record lock: the kernel drops it when the holder ends, however it
// ends, a started program does not inherit it, and another process can ask
// which process holds it. The holder must not open the file a second time
// (closing any descriptor of the file drops the lock).
class ProcessLock {
public:
    // The lock on `path` (the file is created when missing); null when
    // another process holds it or the file cannot be opened.
    static std::unique_ptr<ProcessLock> TryTake(const std::string& path);
    ~ProcessLock();
    ProcessLock(const ProcessLock&) = delete;
    ProcessLock& operator=(const ProcessLock&) = delete;

private:
    explicit ProcessLock(int fd) : fd_(fd) {}
    int fd_;
};

// The process that holds the lock on `path`; 0 when none does or the file is missing.
pid_t ProcessLockHolder(const std::string& path);

}  // namespace platform
