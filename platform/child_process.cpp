#include "platform/child_process.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace platform {

namespace {

// This process's environment with kParentPidVariable naming this process.
std::vector<std::string> ChildEnvironment() {
    const std::string prefix = std::string(kParentPidVariable) + "=";
    std::vector<std::string> variables;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        if (std::strncmp(*entry, prefix.c_str(), prefix.size()) != 0) variables.emplace_back(*entry);
    }
    variables.push_back(prefix + std::to_string(getpid()));
    return variables;
}

std::vector<char*> Pointers(std::vector<std::string>& words) {
    std::vector<char*> pointers;
    for (std::string& word : words) pointers.push_back(word.data());
    pointers.push_back(nullptr);
    return pointers;
}

}  // namespace

std::optional<pid_t> StartProcess(const std::string& executable, const std::vector<std::string>& arguments) {
    std::vector<std::string> words{executable};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv = Pointers(words);
    std::vector<std::string> variables = ChildEnvironment();
    std::vector<char*> envp = Pointers(variables);

    // The child starts in its own process group, so that a terminal's Ctrl+C
    // reaches the user's program alone and the program decides what to stop.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, executable.c_str(), nullptr, &attributes, argv.data(), envp.data());
    posix_spawnattr_destroy(&attributes);
    if (failed != 0) return std::nullopt;
    return pid;
}

bool BindToParent() {
    const char* named = std::getenv(kParentPidVariable);
    if (named == nullptr || *named == '\0') return true;
    char* end = nullptr;
    const long parent = std::strtol(named, &end, 10);
    if (*end != '\0' || parent <= 0) return true;
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    // Set first, tested after: a parent that ends in between is seen here.
    return getppid() == static_cast<pid_t>(parent);
}

bool HasEnded(pid_t child) {
    int status = 0;
    const pid_t done = waitpid(child, &status, WNOHANG);
    // ECHILD: already reaped or not ours; either way it no longer runs for us.
    return done == child || (done < 0 && errno == ECHILD);
}

void EndNow(pid_t process) { kill(process, SIGKILL); }

}  // namespace platform
