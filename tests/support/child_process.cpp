#include "tests/support/child_process.h"

#include <csignal>
#include <spawn.h>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace testsupport {

namespace {

std::vector<std::string> MergedEnvironment(const std::map<std::string, std::string>& extra) {
    std::map<std::string, std::string> merged;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        const auto eq = entry.find('=');
        merged[entry.substr(0, eq)] = eq == std::string::npos ? "" : entry.substr(eq + 1);
    }
    for (const auto& [name, value] : extra) {
        merged[name] = value;
    }
    std::vector<std::string> result;
    for (const auto& [name, value] : merged) {
        result.push_back(name + "=" + value);
    }
    return result;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (std::string& s : strings) {
        pointers.push_back(s.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

}  // namespace

ChildProcess::ChildProcess(const std::string& exe, const std::vector<std::string>& args,
                           const std::map<std::string, std::string>& env) {
    std::vector<std::string> envStrings = MergedEnvironment(env);
    std::vector<std::string> argStrings{exe};
    argStrings.insert(argStrings.end(), args.begin(), args.end());
    std::vector<char*> argv = Pointers(argStrings);
    std::vector<char*> envp = Pointers(envStrings);
    if (posix_spawn(&pid_, exe.c_str(), nullptr, nullptr, argv.data(), envp.data()) != 0) {
        throw std::runtime_error("cannot start " + exe);
    }
}

ChildProcess::~ChildProcess() {
    if (!status_) {
        kill(pid_, SIGKILL);
        int ignored = 0;
        waitpid(pid_, &ignored, 0);
    }
}

std::optional<int> ChildProcess::WaitForExit(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!status_) {
        int status = 0;
        rusage usage{};
        const pid_t done = wait4(pid_, &status, WNOHANG, &usage);
        if (done == pid_) {
            status_ = status;
            maxResidentKilobytes_ = usage.ru_maxrss;
        } else if (done < 0 || std::chrono::steady_clock::now() >= deadline) {
            break;
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    return status_;
}

}  // namespace testsupport
