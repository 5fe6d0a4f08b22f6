#include "platform/process_info.h"

#include <system_error>

#include <unistd.h>

#include "platform/file_system.h"
#include "platform/trapped_error.h"

namespace platform {

std::filesystem::path ExecutablePath() {
    const std::filesystem::path link = "/proc/self/exe";
    std::error_code error;
    std::filesystem::path path = std::filesystem::read_symlink(link, error);
    if (error) RaiseFileError(error_number::kPathNotFound, link, error, "ExecutablePath");
    return path;
}

std::filesystem::path ExecutableFolder() { return ExecutablePath().parent_path(); }

std::string ExecutableName() { return ExecutablePath().filename().string(); }

long ProcessId() { return static_cast<long>(getpid()); }

}  // namespace platform
