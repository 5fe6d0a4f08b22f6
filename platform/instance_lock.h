#pragma once
#include <string>

namespace platform {

// An exclusive lock on a file for the life of the object, held by the
// process: the kernel releases it when the process ends, however it ends.
class InstanceLock {
public:
    explicit InstanceLock(const std::string& path);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // False when another process holds the lock or the file cannot be opened.
    bool acquired() const { return fd_ >= 0; }
    // Why the file could not be opened; empty when it was.
    const std::string& openError() const { return openError_; }

private:
    int fd_ = -1;
    std::string openError_;
};

}  // namespace platform
