#pragma once
// Installs both programs from the build folder into a program folder with
// the script that ./run.sh uses.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <optional>

#include "tests/support/child_process.h"

namespace e2e {

// True when the script ended without error.
inline bool InstallPrograms(const std::filesystem::path& programFolder) {
    using namespace std::chrono_literals;
    testsupport::ChildProcess install(MIR_SOURCE_DIR "/scripts/install-programs.sh",
                                      {MIR_BUILD_DIR, programFolder.string()});
    const std::optional<int> status = install.WaitForExit(300s);
    return status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0;
}

}  // namespace e2e
