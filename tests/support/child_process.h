#pragma once
#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace testsupport {

// A program started by a test. A process still running when the object goes
// is killed and reaped, so that a failing test leaves nothing behind.
class ChildProcess {
public:
    // Starts `exe` with `args`, in the test's environment plus `env`.
    ChildProcess(const std::string& exe, const std::vector<std::string>& args,
                 const std::map<std::string, std::string>& env = {});
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return pid_; }

    // The wait status once the process has ended, or nullopt after the time-out.
    std::optional<int> WaitForExit(std::chrono::milliseconds timeout);

    // The most memory the process held at once, once it has ended.
    long maxResidentKilobytes() const { return maxResidentKilobytes_; }

private:
    pid_t pid_ = -1;
    std::optional<int> status_;
    long maxResidentKilobytes_ = 0;
};

}  // namespace testsupport
