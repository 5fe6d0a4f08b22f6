#pragma once
#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace testsupport {

// Starts a program with extra environment variables; returns its process id.
pid_t StartProcess(const std::string& exe, const std::vector<std::string>& args,
                   const std::map<std::string, std::string>& env = {});

// The wait status once the process has ended, or nullopt after the time-out.
std::optional<int> WaitForExit(pid_t pid, std::chrono::milliseconds timeout);

}  // namespace testsupport
