#pragma once
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace platform {

// Starts `executable` with `arguments` (no shell; the environment is
// inherited) and returns its process id; nullopt when it cannot be started.
std::optional<pid_t> StartProcess(const std::string& executable, const std::vector<std::string>& arguments);

// True once the child has ended; it is reaped then, so no zombie is left.
bool HasEnded(pid_t child);

// Asks the child to end (SIGTERM).
void AskToEnd(pid_t child);

}  // namespace platform
