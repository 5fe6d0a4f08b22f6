#include "tests/support/child_process.h"

#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <stdexcept>

extern char** environ;

namespace testsupport {

pid_t StartProcess(const std::string& exe, const std::vector<std::string>& args,
                   const std::map<std::string, std::string>& env) {
    std::map<std::string, std::string> merged;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        const auto eq = entry.find('=');
        merged[entry.substr(0, eq)] = eq == std::string::npos ? "" : entry.substr(eq + 1);
    }
    for (const auto& [name, value] : env) {
        merged[name] = value;
    }
    std::vector<std::string> envStrings;
    for (const auto& [name, value] : merged) {
        envStrings.push_back(name + "=" + value);
    }
    std::vector<char*> envp;
    for (std::string& s : envStrings) {
        envp.push_back(s.data());
    }
    envp.push_back(nullptr);

    std::vector<std::string> argStrings{exe};
    argStrings.insert(argStrings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& s : argStrings) {
        argv.push_back(s.data());
    }
    argv.push_back(nullptr);

    pid_t pid = 0;
    if (posix_spawn(&pid, exe.c_str(), nullptr, nullptr, argv.data(), envp.data()) != 0) {
        throw std::runtime_error("cannot start " + exe);
    }
    return pid;
}

std::optional<int> WaitForExit(pid_t pid, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        int status = 0;
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            return status;
        }
        if (done < 0 || std::chrono::steady_clock::now() >= deadline) {
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

}  // namespace testsupport
