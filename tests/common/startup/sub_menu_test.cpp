#include "common/startup/sub_menu.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/logs/logs.h"
#include "common/run_state.h"
#include "common/startup/program_parts.h"
#include "common/startup/run_env.h"
#include "common/tasks/task_files.h"
#include "platform/cp932.h"
#include "tests/support/fake_ui.h"
#include "tests/support/file_bytes.h"
#include "tests/support/program_folder.h"

namespace {

namespace fs = std::filesystem;

struct Call {
    std::string collector;
    long firstArgument = 0;
};

class SubMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        common::CCENV00M(env_);
        common::SetTaskWorkPaths(0, 0, env_);
        common::LoadLogSwitches(env_);
        common::ProgramParts parts;
        for (const char* id : {"AHPJP30M", "ALSJP30M", "ALSCN30M", "AL2US30M", "ACPJP30M", "ACPCN30M", "ARPJP30M",
                               "ARPCH30M", "ARPUS30M", "AMLTX30M", "AEXCG30M"}) {
            parts.collectors[id] = [this, id](long first, const std::string&, common::EnvRec& env, common::MSGRec&,
                                              common::TSDRec& task) {
                calls_.push_back({id, first});
                if (reportRunning_) common::SetTaskDetailStatus(111, "S", "B", env, task);
                return succeed_;
            };
        }
        common::InstallProgramParts(parts);
    }
    void TearDown() override { common::InstallProgramParts({}); }

    common::TSDRec Task(long process, long sequence) {
        common::TSDRec task;
        task.ProcIdx = static_cast<int>(process);
        task.TaskSequence = static_cast<int>(sequence);
        task.TaskStatus = "0";
        task.MainPath = task.TaskPath = task.Path = env_.Path;
        return task;
    }

    std::string Status(const char* file) {
        const fs::path path = folder_.program() / "Temp" / file;
        return fs::exists(path) ? testsupport::ReadBytes(path).substr(34, 1) : "";
    }

    testsupport::ProgramFolder folder_;
    testsupport::FakeUi ui_;
    common::EnvRec env_;
    std::vector<Call> calls_;
    bool succeed_ = true;
    bool reportRunning_ = false;
};

TEST_F(SubMenuTest, DispatchTable) {
    struct Case {
        long process;
        long sequence;
        const char* collector;
        long first;
        const char* currency;
    } cases[] = {
        {11, 1, "AHPJP30M", 1, "JPY"},  {12, 1, "AHPJP30M", 1, "CNY"},  {13, 2, "AHPJP30M", 1, "USD"},
        {41, 1, "ALSJP30M", 41, "JPY"}, {42, 1, "ALSCN30M", 42, "CNY"}, {43, 1, "AL2US30M", 43, "USD"},
        {51, 1, "ACPJP30M", 5, "JPY"},  {52, 3, "ACPCN30M", 5, "CNY"},  {61, 1, "ARPJP30M", 6, "JPY"},
        {62, 1, "ARPCH30M", 6, "CNY"},  {63, 2, "ARPUS30M", 6, "USD"},  {71, 1, "AMLTX30M", 7, "JPY"},
        {111, 5, "AEXCG30M", 11, "TWD"}, {110, 7, "AEXCG30M", 11, "XEU"},
    };
    for (const Case& c : cases) {
        calls_.clear();
        common::TSDRec task = Task(c.process, c.sequence);
        // What a killed earlier child of the task left: a fresh copy it never renamed.
        const std::string work = common::TaskWorkFolder(env_, c.process, c.sequence);
        fs::create_directories(work);
        testsupport::WriteBytes(work + "/Page.htm.tmp999999999-0", "part");
        common::SubMenu(c.process, c.sequence, task, env_);
        ASSERT_EQ(calls_.size(), 1u) << c.process;
        EXPECT_EQ(calls_[0].collector, c.collector) << c.process;
        EXPECT_EQ(calls_[0].firstArgument, c.first) << c.process;
        EXPECT_EQ(common::State().context.currencyCode, c.currency) << c.process;
        EXPECT_EQ(common::State().procedureId, "");
        // A successful task leaves no work folder behind.
        EXPECT_FALSE(fs::exists(env_.folder(common::Folder::Work))) << c.process;
        EXPECT_FALSE(fs::exists(common::State().errorLogPath)) << c.process;
    }
}

TEST_F(SubMenuTest, UnlistedCountryFailsTheTaskThroughTheRunFolder) {
    common::TSDRec task = Task(54, 1);
    EXPECT_THROW(common::SubMenu(54, 1, task, env_), testsupport::ProgramEnded);
    EXPECT_TRUE(calls_.empty());
    EXPECT_EQ(Status("TSDRUN054001S.dat"), "E");
    ASSERT_EQ(ui_.presenter->boxes.size(), 1u);
    EXPECT_EQ(ui_.presenter->boxes[0].text.rfind("アプリケーションエラー（国の選択エラー）　\r\n\r\n", 0), 0u);
    const std::string errors = platform::FromCp932(testsupport::ReadBytes(common::State().errorLogPath)).text;
    EXPECT_NE(errors.find(",SubMenu,E0:ErrApl ,01,SubMenu(1)：SubMenu　アプリケーションエラー（国の選択エラー）　\r\n"),
              std::string::npos);
    EXPECT_NE(errors.find(",01,SubMenu(1)：  wProcIdx=5  wCountryIdx=4\r\n"), std::string::npos);
    const std::string run = platform::FromCp932(testsupport::ReadBytes(common::State().runLogPath)).text;
    EXPECT_NE(run.find(",SubMenu,99:ABEND  ,00,SubMenu End(Abnormal)  : 企業情報（香港）\r\n"), std::string::npos);
}

TEST_F(SubMenuTest, UnknownProcessFailsTheTaskInsteadOfLeavingTheParentWaiting) {
    common::TSDRec task = Task(91, 1);
    EXPECT_THROW(common::SubMenu(91, 1, task, env_), testsupport::ProgramEnded);
    EXPECT_EQ(Status("TSDRUN091001S.dat"), "E");
    ASSERT_EQ(ui_.presenter->boxes.size(), 1u);
    EXPECT_EQ(ui_.presenter->boxes[0].text.rfind("アプリケーションエラー（処理の選択エラー）　", 0), 0u);
}

TEST_F(SubMenuTest, FailureAfterRunningGoesThroughTheDoneFolderOnce) {
    succeed_ = false;
    reportRunning_ = true;
    common::TSDRec task = Task(11, 3);
    EXPECT_THROW(common::SubMenu(11, 3, task, env_), testsupport::ProgramEnded);
    EXPECT_EQ(Status("TSDRUN011003S.dat"), "B");
    EXPECT_EQ(Status("TSDDON011003S.dat"), "E");

    // A task that has sent its end report gets no second one.
    fs::remove(folder_.program() / "Temp" / "TSDDON011003S.dat");
    common::State().TaskPhase = "02";
    common::ReportTaskFailed(task, env_, 0);
    EXPECT_EQ(Status("TSDDON011003S.dat"), "");
}

}  // namespace
