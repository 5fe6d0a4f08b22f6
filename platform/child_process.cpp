#include "platform/child_process.h"

#include <cerrno>
#include <csignal>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace platform {

std::optional<pid_t> StartProcess(const std::string& executable, const std::vector<std::string>& arguments) {
    std::vector<std::string> words{executable};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);

    // The child starts in its own process group, so that a terminal's Ctrl+C
    // reaches the user's program alone and the program decides what to stop.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, executable.c_str(), nullptr, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    if (failed != 0) return std::nullopt;
    return pid;
}

bool HasEnded(pid_t child) {
    int status = 0;
    const pid_t done = waitpid(child, &status, WNOHANG);
    // ECHILD: already reaped or not ours; either way it no longer runs for us.
    return done == child || (done < 0 && errno == ECHILD);
}

void AskToEnd(pid_t child) { kill(child, SIGTERM); }

}  // namespace platform
