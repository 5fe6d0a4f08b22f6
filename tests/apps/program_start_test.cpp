#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/wait.h>

#include "common/files/env_rec.h"
#include "common/run_state.h"
#include "common/settings/settings.h"
#include "common/startup/run_env.h"
#include "common/tasks/child_mode.h"
#include "common/tasks/task_files.h"
#include "platform/cp932.h"
#include "tests/support/child_process.h"
#include "tests/support/file_bytes.h"
#include "tests/support/judgement_market.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

struct Program {
    const char* name;
    const char* exe;
    // How a child of a collection task whose part has no list ends: the
    // report it leaves in Temp ("TSDRUN" run report, "TSDDON" end report) with
    // its letter, and the log ("AplLog" or "ErrLog") and the text it writes.
    const char* childReport;
    const char* childEnd;
    const char* childLog;
    const char* childText;
    // What a first start on an empty data folder shows before it ends by
    // itself; "" for a program that waits for its user.
    const char* freshStartEnd;
};

// The real program, copied into a temporary program folder, with its own
// settings store and scripted message boxes.
class RealProgram : public ::testing::TestWithParam<Program> {
protected:
    void SetUp() override { Install("Prog"); }

    void Install(const std::string& folderName) {
        program_ = dir_.path() / "Apps" / folderName;
        fs::create_directories(program_);
        fs::copy_file(GetParam().exe, program_ / GetParam().name, fs::copy_options::overwrite_existing);
        testsupport::WriteBytes(script_, "");
    }

    std::map<std::string, std::string> Environment() const {
        return {{"QT_QPA_PLATFORM", "offscreen"},
                {"XDG_CONFIG_HOME", (dir_.path() / "config").string()},
                {"MIR_MSGBOX_SCRIPT", script_.string()},
                {"MIR_MSGBOX_LOG", boxes_.string()}};
    }

    std::unique_ptr<testsupport::ChildProcess> Start(const std::vector<std::string>& args = {}) {
        return std::make_unique<testsupport::ChildProcess>((program_ / GetParam().name).string(), args,
                                                           Environment());
    }

    // Runs the program to its end and returns its exit code.
    int RunToEnd(const std::vector<std::string>& args = {}) {
        auto program = Start(args);
        const auto status = program->WaitForExit(20s);
        EXPECT_TRUE(status.has_value()) << "the program did not end";
        return status && WIFEXITED(*status) ? WEXITSTATUS(*status) : -1;
    }

    // A code master of one company, so that both programs have something to work on.
    void WriteMarket() {
        testsupport::ScopedEnv config("XDG_CONFIG_HOME", (dir_.path() / "config").string());
        common::State() = common::RunState{};
        common::State().programFolder = program_.string();
        common::EnvRec env;
        common::CCENV00M(env);
        testsupport::WriteJudgementMarket(env, 1, 30);
        common::State() = common::RunState{};
    }

    std::string Boxes() const { return fs::exists(boxes_) ? testsupport::ReadBytes(boxes_) : ""; }

    // Reads the program's settings store from the test process.
    std::string Setting(const std::string& path) {
        testsupport::ScopedEnv config("XDG_CONFIG_HOME", (dir_.path() / "config").string());
        return common::ReadSetting(path);
    }

    testsupport::TempDir dir_;
    fs::path program_;
    fs::path script_ = dir_.path() / "script.txt";
    fs::path boxes_ = dir_.path() / "boxes.log";
};

TEST_P(RealProgram, FirstStartWritesDefaultsAndEndsCleanlyWhenAsked) {
    auto program = Start();
    if (*GetParam().freshStartEnd != '\0') {
        const auto status = program->WaitForExit(20s);
        ASSERT_TRUE(status.has_value()) << "the program did not end";
        EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << *status;
        EXPECT_EQ(Boxes().rfind(GetParam().freshStartEnd, 0), 0u) << Boxes();
    } else {
        ASSERT_EQ(program->WaitForExit(2s), std::nullopt) << "it ended on its own";
        ASSERT_EQ(kill(program->pid(), SIGTERM), 0);
        const auto status = program->WaitForExit(10s);
        ASSERT_TRUE(status.has_value()) << "the program did not end";
        ASSERT_TRUE(WIFEXITED(*status));
        EXPECT_EQ(WEXITSTATUS(*status), 0);
        EXPECT_EQ(Boxes(), "");
    }
    EXPECT_EQ(Setting("MirControl\\Common\\Init"), "1");
    EXPECT_FALSE(Setting("MirControl\\Kesen\\EnvTdai").empty());
    EXPECT_EQ(Setting("MirControl\\Counter\\DateTrlCdm"), "");
    EXPECT_TRUE(fs::is_directory(dir_.path() / "Apps" / "HpData" / "Chart"));
}

TEST_P(RealProgram, SecondCopyIsRefusedButAChildIsNot) {
    WriteMarket();
    auto first = Start();
    ASSERT_EQ(first->WaitForExit(2s), std::nullopt);
    EXPECT_EQ(RunToEnd(), 0);
    EXPECT_EQ(Boxes(), "48\t　既に起動されています。　\n");
    EXPECT_EQ(Setting("MirControl\\Counter\\DateTrlCdm").size(), 14u);

    // A child of a task that is already done starts and ends at once.
    EXPECT_EQ(RunToEnd({common::kChildModeToken, "011", "001"}), 0);
    EXPECT_EQ(Boxes(), "48\t　既に起動されています。　\n");
    EXPECT_EQ(first->WaitForExit(100ms), std::nullopt);
}

TEST_P(RealProgram, FolderWithABlankIsRefused) {
    for (const char* folder : {"My Tools", "全角　空白"}) {
        fs::remove(boxes_);
        Install(folder);
        EXPECT_EQ(RunToEnd(), 0) << folder;
        EXPECT_EQ(Boxes(),
                  "48\tフォルダ名にブランク文字が含まれています。　\\r\\n"
                  "フォルダ名からブランク文字を削除してから再実行してください。　\\r\\n\n")
            << folder;
    }
}

TEST_P(RealProgram, BadChildCommandLinesEndWithoutWork) {
    const std::vector<std::vector<std::string>> lines = {
        {"wrongtoken", "011", "001"},
        {common::kChildModeToken, "12x", "001"},
        {common::kChildModeToken, "011"},
        {common::kChildModeToken},
    };
    for (const auto& line : lines) {
        EXPECT_EQ(RunToEnd(line), 0);
    }
    EXPECT_EQ(Boxes(), "");
    EXPECT_EQ(Setting("MirControl\\Common\\Init"), "");  // a child never writes the defaults
    for (const auto& entry : fs::directory_iterator(program_ / "Temp")) {
        EXPECT_EQ(entry.path().filename().string().rfind("TSDRUN", 0), std::string::npos);
    }
}

// A child copy of a waiting collection task reaches the program's dispatcher:
// the collection program's collector finds no companies in the part and ends
// it; the analysis program has no such collector and fails the task. A task
// already done is left alone.
TEST_P(RealProgram, ChildOfAWaitingTaskReachesItsDispatcher) {
    {
        testsupport::ScopedEnv config("XDG_CONFIG_HOME", (dir_.path() / "config").string());
        common::State() = common::RunState{};
        common::State().programFolder = program_.string();
        common::EnvRec env;
        common::CCENV00M(env);
        common::TSCRec control;
        common::InitTaskControlRec(11, 2, env, control);
        for (long sequence : {1L, 2L}) {
            common::TSDRec task;
            common::InitTaskDetailRec(11, sequence, env, control, task);
            task.TaskStatus = sequence == 1 ? "0" : "Z";
            common::CFTSD50M(11, sequence, env, task);
        }
        common::State() = common::RunState{};
    }
    EXPECT_EQ(RunToEnd({common::kChildModeToken, "011", "001"}), 0);
    EXPECT_EQ(RunToEnd({common::kChildModeToken, "011", "002"}), 0);
    const std::string reportName = std::string(GetParam().childReport) + "011001S.dat";
    const std::string report = testsupport::ReadBytes(program_ / "Temp" / reportName);
    EXPECT_EQ(report.substr(34, 1), GetParam().childEnd);
    for (const char* stem : {"TSDRUN", "TSDDON"}) {
        EXPECT_FALSE(fs::exists(program_ / "Temp" / (std::string(stem) + "011002S.dat")));
    }
    EXPECT_EQ(Boxes(), "");  // a child shows no box
    const std::string log = std::string(GetParam().childLog) + "011001.txt";
    const std::string written = platform::FromCp932(testsupport::ReadBytes(program_ / "Log" / log)).text;
    EXPECT_NE(written.find(GetParam().childText), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(BothPrograms, RealProgram,
                         ::testing::Values(Program{"Mirelda", MIRELDA_EXE, "TSDDON", "Z", "AplLog", "処理対象の企業が存在しません", ""},
                                           Program{"Korvane", KORVANE_EXE, "TSDRUN", "E", "ErrLog",
                                                   "アプリケーションエラー（処理の選択エラー）",
                                                   "48\t処理対象の企業が存在しません。　\\r\\n\\r\\n「Mireldaツール」で"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
