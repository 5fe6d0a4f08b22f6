#pragma once
#include <filesystem>
#include <string>

namespace platform {

// The running program's file, as the kernel knows it (links resolved).
// TrappedError kPathNotFound when it cannot be read.
std::filesystem::path ExecutablePath();
std::filesystem::path ExecutableFolder();
// The file name alone, without its folder.
std::string ExecutableName();

long ProcessId();

}  // namespace platform
