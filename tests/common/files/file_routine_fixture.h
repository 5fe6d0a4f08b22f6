#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/run_state.h"
#include "platform/cp932.h"
#include "tests/support/fake_ui.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_dir.h"

namespace testsupport {

// A temporary folder holding the run and error logs, the fake user interface,
// and a fresh run state (reset again at the end).
class FileRoutineTest : public ::testing::Test {
protected:
    FileRoutineTest() {
        common::State() = common::RunState{};
        common::State().errorLogPath = Path("ErrLog.txt");
        common::State().runLogPath = Path("AplLog.txt");
    }
    ~FileRoutineTest() override { common::State() = common::RunState{}; }

    std::string Path(const std::string& name) const { return (dir_.path() / name).string(); }

    // "procedure,tag,code,message" of each line of the error log, without the
    // date, time, process and sequence in front.
    std::vector<std::string> ErrorLog() const { return LogEntries(common::State().errorLogPath); }
    std::vector<std::string> RunLog() const { return LogEntries(common::State().runLogPath); }

    TempDir dir_;
    FakeUi ui_;

private:
    static std::vector<std::string> LogEntries(const std::string& path) {
        std::vector<std::string> entries;
        if (!std::filesystem::exists(path)) return entries;
        const std::string text = platform::FromCp932(ReadBytes(path)).text;
        std::size_t pos = 0;
        while (pos < text.size()) {
            std::size_t end = text.find("\r\n", pos);
            if (end == std::string::npos) end = text.size();
            std::string line = text.substr(pos, end - pos);
            pos = end + 2;
            // A message that itself ends in CR LF leaves an empty line behind it.
            if (line.empty()) continue;
            std::size_t cut = 0;
            for (int field = 0; field < 4; ++field) cut = line.find(',', cut) + 1;
            entries.push_back(line.substr(cut));
        }
        return entries;
    }
};

}  // namespace testsupport
