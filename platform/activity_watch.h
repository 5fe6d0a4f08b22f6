#pragma once
#include <map>
#include <string>
#include <sys/types.h>
#include <vector>

namespace platform {

// Waits for what a parent of child processes reacts to: a file that appears
// whole in a folder under one of some name prefixes (written, or renamed
// into place), or the end of one of the watched children. Where the system
// cannot watch a folder or a process, the waits simply run their length.
class ActivityWatch {
public:
    ActivityWatch(const std::string& folder, std::vector<std::string> prefixes);
    ~ActivityWatch();
    ActivityWatch(const ActivityWatch&) = delete;
    ActivityWatch& operator=(const ActivityWatch&) = delete;

    void WatchProcess(pid_t child);
    void ForgetProcess(pid_t child);

    // Waits at most `milliseconds`; true when a matching file appeared or a
    // watched child ended (a child that has ended stays signalled until it
    // is forgotten).
    bool Wait(int milliseconds);

private:
    bool DrainFolderEvents();

    int folderFd_ = -1;
    std::vector<std::string> prefixes_;
    std::map<pid_t, int> processFds_;
};

}  // namespace platform
