#include "platform/activity_watch.h"

#include <poll.h>
#include <sys/inotify.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <array>

namespace platform {

ActivityWatch::ActivityWatch(const std::string& folder, std::vector<std::string> prefixes)
    : prefixes_(std::move(prefixes)) {
    folderFd_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (folderFd_ >= 0 && inotify_add_watch(folderFd_, folder.c_str(), IN_CLOSE_WRITE | IN_MOVED_TO) < 0) {
        ::close(folderFd_);
        folderFd_ = -1;
    }
}

ActivityWatch::~ActivityWatch() {
    if (folderFd_ >= 0) ::close(folderFd_);
    for (const auto& [pid, fd] : processFds_) ::close(fd);
}

void ActivityWatch::WatchProcess(pid_t child) {
    ForgetProcess(child);
    const long fd = ::syscall(SYS_pidfd_open, child, 0);
    if (fd >= 0) processFds_[child] = static_cast<int>(fd);
}

void ActivityWatch::ForgetProcess(pid_t child) {
    const auto found = processFds_.find(child);
    if (found == processFds_.end()) return;
    ::close(found->second);
    processFds_.erase(found);
}

bool ActivityWatch::DrainFolderEvents() {
    bool matched = false;
    alignas(inotify_event) std::array<char, 8192> buffer{};
    for (;;) {
        const ssize_t got = ::read(folderFd_, buffer.data(), buffer.size());
        if (got <= 0) return matched;
        for (ssize_t at = 0; at < got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer.data() + at);
            const std::string name = event->len > 0 ? std::string(event->name) : std::string();
            for (const std::string& prefix : prefixes_) {
                if (name.compare(0, prefix.size(), prefix) == 0) matched = true;
            }
            // A lost event: something may have come that the names no longer tell.
            if ((event->mask & IN_Q_OVERFLOW) != 0) matched = true;
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
}

bool ActivityWatch::Wait(int milliseconds) {
    std::vector<pollfd> fds;
    if (folderFd_ >= 0) fds.push_back({folderFd_, POLLIN, 0});
    for (const auto& [pid, fd] : processFds_) fds.push_back({fd, POLLIN, 0});
    if (fds.empty()) {
        if (milliseconds > 0) ::usleep(static_cast<useconds_t>(milliseconds) * 1000);
        return false;
    }
    if (::poll(fds.data(), fds.size(), milliseconds < 0 ? 0 : milliseconds) <= 0) return false;
    bool happened = false;
    for (const pollfd& entry : fds) {
        if ((entry.revents & POLLIN) == 0) continue;
        if (entry.fd == folderFd_) {
            happened = DrainFolderEvents() || happened;
        } else {
            happened = true;
        }
    }
    return happened;
}

}  // namespace platform
