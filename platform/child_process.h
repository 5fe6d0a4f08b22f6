#pragma once
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace platform {

// The environment variable through which a started program learns which
// process started it (see BindToParent).
inline constexpr const char* kParentPidVariable = "MIR_PARENT_PID";

// Starts `executable` with `arguments` (no shell; the environment is
// inherited, with kParentPidVariable set to this process) and returns its
// process id; nullopt when it cannot be started.
std::optional<pid_t> StartProcess(const std::string& executable, const std::vector<std::string>& arguments);

// Ties a program started by StartProcess to the process that started it:
// from now on it is killed as soon as that process ends. False when that
// process has already ended. A program started otherwise is left as it is (true).
bool BindToParent();

// True once the child has ended; it is reaped then, so no zombie is left.
bool HasEnded(pid_t child);

// Ends a process at once (SIGKILL).
void EndNow(pid_t process);

}  // namespace platform
