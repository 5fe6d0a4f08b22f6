#include "common/tasks/environment_reset.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "common/files/data_file.h"
#include "common/logs/logs.h"
#include "common/run_state.h"
#include "common/settings/settings.h"
#include "common/startup/run_env.h"
#include "platform/cp932.h"
#include "tests/support/fake_ui.h"
#include "tests/support/file_bytes.h"
#include "tests/support/program_folder.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kRunStateKeys[] = {"Exec", "Batch", "ProcName", "ProcFile", "Step", "ProcId", "Cancel"};

class EnvironmentReset : public ::testing::Test {
protected:
    void SetUp() override {
        common::CCENV00M(env_);
        common::SetTaskWorkPaths(0, 0, env_);
        common::LoadLogSwitches(env_);
        for (const char* key : kRunStateKeys) common::WriteSetting(std::string("MirControl\\Common\\") + key, "1");
        common::WriteSetting("MirControl\\Common\\MultiTask", "3");
        common::State().CancelRequested = true;
    }

    fs::path Program(const std::string& relative) const { return folder_.program() / fs::u8path(relative); }
    fs::path Data(const std::string& relative) const { return folder_.data() / fs::u8path(relative); }
    static void Touch(const fs::path& path) { testsupport::WriteBytes(path, "x"); }

    static std::string Text(const fs::path& path) {
        return fs::exists(path) ? platform::FromCp932(testsupport::ReadBytes(path)).text : "";
    }
    std::string RunLog() const { return Text(common::State().runLogPath); }
    std::string ErrorLog() const { return Text(common::State().errorLogPath); }

    void ExpectRunStateEmptied() const {
        for (const char* key : kRunStateKeys) {
            EXPECT_EQ(common::ReadSetting(std::string("MirControl\\Common\\") + key), "") << key;
        }
        EXPECT_EQ(common::ReadSetting("MirControl\\Common\\MultiTask"), "3");
        EXPECT_FALSE(common::State().CancelRequested);
    }

    testsupport::ProgramFolder folder_;
    testsupport::FakeUi ui_;
    common::EnvRec env_;
};

TEST_F(EnvironmentReset, ClearsTheRunStateAndDeletesExactlyTheWorkFiles) {
    std::vector<fs::path> deleted = {
        Program("Ctrl/HpCtrl.dat"),         Program("Ctrl/HpCtrl003.dat"),   Program("Ctrl/HpSys01.dat"),
        Program("Ctrl/HpCtrl.dat.Del"),     Program("Temp/TSD012001.dat"),   Program("Log/AplLog012003.txt"),
        Program("Ctrl/CdmTrial012001.txt"), Data("Keisen/鉤足判定結果113.dat"),
    };
    // One file of every number the reset clears, spread over the process numbers.
    const long numbers[] = {111,  112,  113,  114,  100,  102,  3,    4,    1,    2,    3002,  3003,
                            3004, 1003, 1004, 1006, 1007, 1008, 1011, 1012, 1013, 1002, 40001};
    const long processes[] = {10, 80, 113, 42, 101, 33, 70};
    for (std::size_t at = 0; at < std::size(numbers); ++at) {
        const long process = processes[at % std::size(processes)];
        deleted.push_back(common::BuildDataFilePath(numbers[at], process, 2, "", "", env_));
    }
    const fs::path kept[] = {
        Program("Ctrl/CdmTrial.txt"),        // process 0 is none of the reset's process numbers
        Program("Log/AplLog009001.txt"),     // process numbers start at 10
        Data("Keisen/鉤足判定結果114.dat"),  // country indexes end at 3
        Program("Ctrl/NmKey012.dat"),        // a file number the reset leaves alone
        Data("WebData/企業一覧(国内).txt"),
        Program("Temp/Htm.txt"),             // a file, not a work folder
        Program("Temp/Keep/a.txt"),
    };
    for (const fs::path& path : deleted) Touch(path);
    for (const fs::path& path : kept) Touch(path);
    Touch(Program("Temp/Htm0120003/a.txt"));
    Touch(Program("Temp/Htm0120003/b.htm"));
    Touch(Program("Temp/Htm0120003/noext"));

    common::CRSET00M();

    ExpectRunStateEmptied();
    for (const fs::path& path : deleted) EXPECT_FALSE(fs::exists(path)) << path;
    for (const fs::path& path : kept) EXPECT_TRUE(fs::exists(path)) << path;
    EXPECT_FALSE(fs::exists(Program("Temp/Htm0120003")));
    EXPECT_FALSE(fs::exists(Program("Temp/Htm0000000")));  // created by the task set-up
    EXPECT_TRUE(ui_.presenter->boxes.empty());
    const std::string log = RunLog();
    const std::size_t start = log.find(",CRSET00M,01:Start  ,00,実行環境のリセット\r\n");
    ASSERT_NE(start, std::string::npos) << log;
    EXPECT_NE(log.find(",CRSET00M,30:End    ,00,実行環境のリセット\r\n", start), std::string::npos) << log;
}

TEST_F(EnvironmentReset, WithoutWorkFoldersItStillRunsToTheEnd) {
    fs::remove_all(Program("Temp"));
    Touch(Program("Log/AplLog012003.txt"));

    common::CRSET00M();

    ExpectRunStateEmptied();
    EXPECT_FALSE(fs::exists(Program("Log/AplLog012003.txt")));
    EXPECT_NE(RunLog().find(",CRSET00M,30:End    ,00,"), std::string::npos);
}

TEST_F(EnvironmentReset, AWorkFolderThatCannotBeRemovedIsLoggedAndTheOthersGo) {
    Touch(Program("Temp/Htm0100001/a.txt"));
    fs::create_directories(Program("Temp/Htm0100001/sub"));
    Touch(Program("Temp/Htm0120003/a.txt"));

    common::CRSET00M();

    EXPECT_FALSE(fs::exists(Program("Temp/Htm0100001/a.txt")));
    EXPECT_TRUE(fs::exists(Program("Temp/Htm0100001/sub")));
    EXPECT_FALSE(fs::exists(Program("Temp/Htm0120003")));
    const std::string errors = ErrorLog();
    EXPECT_NE(errors.find(",CRSET00M,90:Worning,00,作業フォルダを削除できませんでした。　" +
                          Program("Temp/Htm0100001").string()),
              std::string::npos)
        << errors;
    EXPECT_TRUE(ui_.presenter->boxes.empty());
    EXPECT_NE(RunLog().find(",CRSET00M,30:End    ,00,"), std::string::npos);
}

TEST_F(EnvironmentReset, RunTimeErrorIsReportedAndEndsTheProgramKeepingWhatWasDone) {
    // The control file cannot take its ".Del" name: a folder holds it.
    Touch(Program("Ctrl/HpSys01.dat"));
    Touch(Program("Ctrl/HpSys01.dat.Del/inside.txt"));
    Touch(Program("Temp/TSD012001.dat"));

    EXPECT_THROW(common::CRSET00M(), testsupport::ProgramEnded);

    ExpectRunStateEmptied();
    EXPECT_TRUE(fs::exists(Program("Temp/TSD012001.dat")));  // the later steps did not run
    ASSERT_EQ(ui_.presenter->boxes.size(), 1u);
    EXPECT_EQ(ui_.presenter->boxes[0].text.rfind("\r\nＶＢエラーを検出しました。　\r\n75:", 0), 0u)
        << ui_.presenter->boxes[0].text;
    EXPECT_EQ(ui_.presenter->boxes[0].style, 16);
    EXPECT_NE(ErrorLog().find(",CRSET00M,E0:ErrApl ,00,ＶＢエラーを検出しました。　\r\n"), std::string::npos);
    const std::string log = RunLog();
    EXPECT_NE(log.find(",CRSET00M,99:ABEND  ,00,CRSET00M End(Abnormal)  : \r\n"), std::string::npos) << log;
    EXPECT_EQ(log.find(",CRSET00M,30:End    ,00,"), std::string::npos) << log;
    EXPECT_EQ(common::State().procedureId, "");
}

}  // namespace
