#pragma once
#include <filesystem>
#include <string>

#include "common/run_state.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_dir.h"

namespace testsupport {

// A temporary installation: <tmp>/Apps/Prog is the program folder (so the data
// root is <tmp>/Apps/HpData), with the settings store under <tmp>/config.
// The process-wide run state starts fresh and is reset again at the end.
class ProgramFolder {
public:
    explicit ProgramFolder(bool korvane = false, const std::string& programName = "Prog")
        : program_(dir_.path() / "Apps" / programName), config_("XDG_CONFIG_HOME", (dir_.path() / "config").string()) {
        std::filesystem::create_directories(program_);
        common::State() = common::RunState{};
        common::State().programFolder = program_.string();
        common::State().programTitle = korvane ? "Korvane" : "Mirelda";
        common::State().isKorvane = korvane;
    }
    ~ProgramFolder() { common::State() = common::RunState{}; }
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;

    const std::filesystem::path& root() const { return dir_.path(); }
    const std::filesystem::path& program() const { return program_; }
    std::filesystem::path data() const { return program_.parent_path() / "HpData"; }

private:
    TempDir dir_;
    std::filesystem::path program_;
    ScopedEnv config_;
};

}  // namespace testsupport
