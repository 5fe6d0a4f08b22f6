#include "common/tasks/task_files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/logs/logs.h"
#include "common/run_state.h"
#include "common/startup/run_env.h"
#include "platform/cp932.h"
#include "tests/support/fake_ui.h"
#include "tests/support/file_bytes.h"
#include "tests/support/program_folder.h"

namespace {

namespace fs = std::filesystem;

std::string Hex(const std::string& bytes) {
    static const char* digits = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

class TaskFiles : public ::testing::Test {
protected:
    void SetUp() override {
        common::CCENV00M(env_);
        common::SetTaskWorkPaths(0, 0, env_);
        temp_ = folder_.program() / "Temp";
    }

    common::TSDRec Detail(long process, long sequence) {
        common::TSCRec control;
        common::InitTaskControlRec(process, 5, env_, control);
        common::TSDRec rec;
        common::InitTaskDetailRec(process, sequence, env_, control, rec);
        return rec;
    }

    testsupport::ProgramFolder folder_{false, "プログラム"};
    testsupport::FakeUi ui_;
    common::EnvRec env_;
    fs::path temp_;
};

TEST_F(TaskFiles, ControlRecordLayout) {
    common::TSCRec rec;
    rec.TaskDate = "20060501";
    rec.TaskTime = "090307";
    rec.TaskNo = "TSC01120060501090307";
    rec.TaskStatus = "0";
    rec.ProcIdx = 11;
    rec.SlotCount = 2;
    rec.TaskMax = 3;
    rec.TaskCount = 6;
    rec.WaitingCount = 6;
    rec.FailedCount = -1;
    const std::string bytes = common::SerializeTSCRec(rec);
    ASSERT_EQ(bytes.size(), common::kTSCRecSize);
    EXPECT_EQ(bytes.substr(0, 40), "20060501090307TSC011200605010903070     ");
    EXPECT_EQ(Hex(bytes.substr(40)),
              "0B000000" "02000000" "00000000" "03000000" "06000000" "00000000" "06000000"
              "00000000" "00000000" "00000000" "00000000" "FFFFFFFF" "00000000");
    const auto back = common::ParseTSCRec(bytes);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(common::SerializeTSCRec(*back), bytes);
    EXPECT_FALSE(common::ParseTSCRec(bytes.substr(0, 91)).has_value());
}

TEST_F(TaskFiles, DetailRecordCarriesThreePaths) {
    common::TSDRec rec = Detail(12, 3);
    rec.TaskSlot = 2;
    const std::string bytes = common::SerializeTSDRec(rec);
    const std::string path = platform::ToCp932(env_.Path).bytes;
    ASSERT_EQ(bytes.size(), common::kTSDRecHeadSize + 3 * (2 + path.size()));
    EXPECT_EQ(bytes.substr(14, 26), "TSD012" + rec.TaskDate + rec.TaskTime + "0     ");
    EXPECT_EQ(bytes.substr(67, path.size()), path);  // the non-ASCII folder in code page 932
    const auto back = common::ParseTSDRec(bytes);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->Path, env_.Path);
    EXPECT_EQ(back->TaskSlot, 2);
    EXPECT_EQ(back->TaskSequence, 3);
    EXPECT_EQ(common::SerializeTSDRec(*back), bytes);
}

TEST_F(TaskFiles, InitFillsFromTheRunRecord) {
    common::State().taskCount = env_.taskCount = 4;
    common::TSCRec control;
    control.SlotCount = 7;
    common::InitTaskControlRec(11, 9, env_, control);
    EXPECT_EQ(control.TaskNo, "TSC011" + control.TaskDate + control.TaskTime);
    EXPECT_EQ(control.TaskDate.size(), 8u);
    EXPECT_EQ(control.TaskTime.size(), 6u);
    EXPECT_EQ(control.SlotCount, 7);  // left for the builder
    EXPECT_EQ(control.TaskMax, 4);
    EXPECT_EQ(control.TaskCount, 9);
    EXPECT_EQ(control.WaitingCount, 9);

    common::TSDRec detail;
    detail.TaskSlot = 3;
    common::InitTaskDetailRec(11, 2, env_, control, detail);
    EXPECT_EQ(detail.TaskNo, "TSD011" + control.TaskDate + control.TaskTime);
    EXPECT_EQ(detail.TaskStatus, "0");
    EXPECT_EQ(detail.TaskSlot, 3);
    EXPECT_EQ(detail.ProcIdx, 11);
    EXPECT_EQ(detail.MainPath, env_.Path);
}

TEST_F(TaskFiles, WriteAndReadBack) {
    common::TSCRec control;
    EXPECT_FALSE(common::CFTSC10M(12, env_, control));
    common::InitTaskControlRec(12, 5, env_, control);
    common::CFTSC50M(12, "", env_, control);
    EXPECT_TRUE(fs::exists(temp_ / "TSC012.dat"));
    common::TSCRec read;
    ASSERT_TRUE(common::CFTSC10M(12, env_, read));
    EXPECT_EQ(read.TaskNo, control.TaskNo);

    const common::TSDRec detail = Detail(12, 3);
    common::CFTSD50M(12, 3, env_, detail);
    common::TSDRec back;
    ASSERT_TRUE(common::CFTSD10M(102, "", 12, 3, "", env_, back));
    EXPECT_EQ(back.TaskSequence, 3);
    EXPECT_TRUE(common::CFTSD10M(102, (temp_ / "TSD012003.dat").string(), 0, 0, "", env_, back));
    EXPECT_FALSE(common::CFTSD10M(102, "", 12, 4, "", env_, back));

    // A truncated file reads as absent, not as a record of garbage.
    testsupport::WriteBytes(temp_ / "TSD012004.dat", "2006");
    EXPECT_FALSE(common::CFTSD10M(102, "", 12, 4, "", env_, back));
}

TEST_F(TaskFiles, StatusFilesReplaceAndLeaveNoTemporary) {
    common::TSDRec detail = Detail(12, 3);
    common::SetTaskDetailStatus(111, "S", "B", env_, detail);
    EXPECT_EQ(detail.TaskStatus, "B");
    common::CFTSD70M(111, 12, 3, "S", "", "E", env_, detail);
    common::TSDRec report;
    ASSERT_TRUE(common::CFTSD10M(111, "", 12, 3, "S", env_, report));
    EXPECT_EQ(report.TaskStatus, "E");
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(temp_)) names.push_back(entry.path().filename().string());
    EXPECT_EQ(names.size(), 2u);  // the status file and the work folder
    EXPECT_TRUE(fs::exists(temp_ / "TSDRUN012003S.dat"));
}

TEST_F(TaskFiles, StopRequestIsConsumedOnlyWhenItSaysS) {
    common::TSDRec detail = Detail(12, 3);
    common::CFTSD70M(113, 12, 3, "M", "", "B", env_, detail);
    EXPECT_FALSE(common::CFTSD11M(113, "", 0, 0, "M", env_, detail));
    EXPECT_TRUE(fs::exists(temp_ / "TSDSTS012003M.dat"));

    common::CFTSD70M(113, 12, 3, "M", "", "S", env_, detail);
    // The registry resolving another file meanwhile must not change what is deleted.
    const std::string other = (temp_ / "TSD012003.dat").string();
    testsupport::WriteBytes(other, "keep");
    EXPECT_TRUE(common::CFTSD11M(113, "", 0, 0, "M", env_, detail));
    EXPECT_FALSE(fs::exists(temp_ / "TSDSTS012003M.dat"));
    EXPECT_TRUE(fs::exists(other));
    EXPECT_FALSE(common::CFTSD11M(113, "", 0, 0, "M", env_, detail));
}

TEST_F(TaskFiles, DebugDumpLabels) {
    testsupport::WriteBytes(folder_.program() / "HpSys901.dat", std::string(99, ' ') + "Z" + std::string(230, ' '));
    common::LoadLogSwitches(env_);
    common::TSCRec control;
    common::InitTaskControlRec(12, 5, env_, control);
    common::CFTSC50M(12, "", env_, control);
    common::CFTSD50M(12, 1, env_, Detail(12, 1));
    const std::string log = platform::FromCp932(testsupport::ReadBytes(common::State().runLogPath)).text;
    EXPECT_NE(log.find("80:Debug  ,00,タスクコントロールファイルの出力\r\n"), std::string::npos);
    EXPECT_NE(log.find(",00,    TSCRec.TaskDate        =" + control.TaskDate + "\r\n"), std::string::npos);
    EXPECT_NE(log.find(",00,    TSCRec.待ちタスク数    =5\r\n"), std::string::npos);
    EXPECT_EQ(log.find("SlotCount"), std::string::npos);
    EXPECT_NE(log.find(",00,    TSDRec.Path            =" + env_.Path + "\r\n"), std::string::npos);
    EXPECT_EQ(log.find("TSDRec.TaskSlot"), std::string::npos);
    EXPECT_EQ(log.find("TSDRec.MainPath"), std::string::npos);
}

}  // namespace
