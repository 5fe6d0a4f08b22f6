#include "marketdata/split_run_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "common/files/data_file.h"
#include "common/files/text_file_write.h"
#include "common/logs/logs.h"
#include "common/run_state.h"
#include "common/settings/settings.h"
#include "common/startup/run_env.h"
#include "common/tasks/task_files.h"
#include "marketdata/code_master.h"
#include "platform/cp932.h"
#include "platform/date.h"
#include "tests/support/fake_ui.h"
#include "tests/support/file_bytes.h"
#include "tests/support/program_folder.h"

namespace {

namespace fs = std::filesystem;

constexpr long kProcess = 11;
constexpr const char* kMultiTask = "MirControl\\Common\\MultiTask";

marketdata::CdmRec Company(const std::string& market, const std::string& category, const std::string& code) {
    marketdata::CdmRec rec;
    marketdata::InitCdmRec(rec, 1);
    marketdata::InitKey(market, "", category, "", rec.Key);
    rec.Key.CorpCode = marketdata::FitField(code, 20, "CorpCode");
    return rec;
}

// JPN companies of the three kept categories, codes 0000, 0001, ...
marketdata::CdmTbl Companies(long count) {
    static const char* categories[] = {"2000", "1000", "0010"};
    marketdata::CdmTbl tbl;
    for (long i = 0; i < count; ++i) {
        const std::string digits = std::to_string(i);
        tbl.push_back(Company("JPN", categories[i % 3], std::string(4 - digits.size(), '0') + digits));
    }
    return tbl;
}

class SplitRunBuilder : public ::testing::Test {
protected:
    // The task count of the environment comes from the setting at start-up.
    void Start(const std::string& multiTask) {
        common::WriteSetting(kMultiTask, multiTask);
        common::CCENV00M(env_);
        common::SetTaskWorkPaths(0, 0, env_);
        common::LoadLogSwitches(env_);
    }

    // The master as an older run left it: unsorted, Flag1 "0", an old date.
    void WriteMaster(marketdata::CdmTbl tbl) {
        std::vector<std::string> lines;
        for (marketdata::CdmRec& rec : tbl) {
            std::string line;
            marketdata::CdmRecToLine(rec, line);
            auto fields = marketdata::SplitTabs(line);
            std::string patched;
            for (std::size_t i = 0; i < fields.size(); ++i) {
                if (i > 0) patched += '\t';
                patched += i == 12 ? "0" : i == 14 ? "2001/01/01" : std::string(fields[i]);
            }
            lines.push_back(patched);
        }
        std::reverse(lines.begin(), lines.end());
        common::CFFIL30M(lines, common::BuildDataFilePath(1, 0, 0, "", "", env_));
    }

    marketdata::CdmTbl Part(long sequence) {
        marketdata::CdmTbl part;
        marketdata::CFCDM10M(1, kProcess, sequence, "", "", "", "", env_, common::SortKeyRec{}, part);
        return part;
    }

    std::string RunLog() const {
        return platform::FromCp932(testsupport::ReadBytes(common::State().runLogPath)).text;
    }

    bool Logged(const std::string& text) const { return RunLog().find(text) != std::string::npos; }

    bool Run() { return marketdata::CFCDM82M(kProcess, 0, "企業情報の取得", "JPN", env_, msg_, ""); }

    testsupport::ProgramFolder folder_;
    testsupport::FakeUi ui_;
    common::EnvRec env_;
    common::MSGRec msg_;
};

TEST_F(SplitRunBuilder, NoCompanyPreparesNothing) {
    Start("2");
    const fs::path ctrl = env_.folder(common::Folder::Ctrl);
    const fs::path temp = env_.folder(common::Folder::Temp);
    testsupport::WriteBytes(ctrl / "CdmTrial0110001.txt", "old part");
    testsupport::WriteBytes(temp / "TSDRUN0110001.dat", "old report");

    EXPECT_FALSE(Run());  // no code master
    WriteMaster({Company("USA", "2000", "AAPL"), Company("JPN", "0060", "3050")});
    EXPECT_FALSE(Run());  // no company of the market

    EXPECT_EQ(testsupport::ReadBytes(ctrl / "CdmTrial0110001.txt"), "old part");
    EXPECT_TRUE(fs::exists(temp / "TSDRUN0110001.dat"));
    EXPECT_FALSE(fs::exists(temp / "TSC011.dat"));
    EXPECT_EQ(msg_.StagesDone, 8);
    EXPECT_TRUE(Logged("CFCDM82M,01:Start  ,00,CFCDM82M Start : 企業情報の取得"));
    EXPECT_TRUE(Logged("CFCDM82M,10:Step   ,00,CFCDM82M Step00"));
    EXPECT_TRUE(Logged("CFCDM82M,10:Step   ,05,CFCDM82M Step05"));
    EXPECT_TRUE(Logged("CFCDM82M,30:End    ,00,CFCDM82M End   : 企業情報の取得"));
    for (const char* step : {"Step01", "Step02", "Step03", "Step04"}) EXPECT_FALSE(Logged(step)) << step;
}

TEST_F(SplitRunBuilder, ProcessNumberZeroEndsWithoutTouchingTheMaster) {
    Start("2");
    WriteMaster(Companies(3));
    const fs::path master = fs::path(env_.folder(common::Folder::Ctrl)) / "CdmTrial.txt";
    const std::string bytes = testsupport::ReadBytes(master);
    EXPECT_THROW(marketdata::CFCDM82M(0, 0, "企業情報の取得", "JPN", env_, msg_, ""), testsupport::ProgramEnded);
    EXPECT_EQ(testsupport::ReadBytes(master), bytes);
    ASSERT_EQ(ui_.presenter->boxes.size(), 1u);
    EXPECT_NE(ui_.presenter->boxes[0].text.find("プロセス番号が不正"), std::string::npos);
}

TEST_F(SplitRunBuilder, PartsHoldTheMarketsCompaniesInOrder) {
    Start("2");
    const fs::path ctrl = env_.folder(common::Folder::Ctrl);
    const fs::path temp = env_.folder(common::Folder::Temp);
    marketdata::CdmTbl master = Companies(30);
    master.push_back(Company("USA", "2000", "AAPL"));
    master.push_back(Company("JPN", "0060", "3050"));
    WriteMaster(master);
    const std::string masterBytes = testsupport::ReadBytes(ctrl / "CdmTrial.txt");
    testsupport::WriteBytes(ctrl / "CdmTrial0110009.txt", "part of an older run");
    testsupport::WriteBytes(temp / "TSDDON0110009.dat", "end report of an older run");
    testsupport::WriteBytes(ctrl / "CdmTrial0120001.txt", "another process");

    ASSERT_TRUE(Run());

    EXPECT_FALSE(fs::exists(ctrl / "CdmTrial0110009.txt"));
    EXPECT_FALSE(fs::exists(temp / "TSDDON0110009.dat"));
    EXPECT_EQ(testsupport::ReadBytes(ctrl / "CdmTrial0120001.txt"), "another process");
    EXPECT_EQ(testsupport::ReadBytes(ctrl / "CdmTrial.txt"), masterBytes);
    EXPECT_EQ(env_.runMode, 2);
    EXPECT_EQ(env_.TaskPath, env_.Path);

    // ChunkCount(30, 2) = 16: parts of 16 and 14, consecutive in key order.
    std::vector<std::string> identities;
    for (const marketdata::CdmRec& rec : Companies(30)) {
        std::string identity;
        marketdata::CdmKeyString(rec.Key, identity);
        identities.push_back(identity);
    }
    std::sort(identities.begin(), identities.end());
    const std::string today = platform::DateText(platform::Now().date);
    std::size_t next = 0;
    for (long sequence : {1, 2}) {
        const marketdata::CdmTbl part = Part(sequence);
        EXPECT_EQ(part.size(), sequence == 1 ? 16u : 14u);
        for (const marketdata::CdmRec& rec : part) {
            std::string identity;
            marketdata::CdmKeyString(rec.Key, identity);
            ASSERT_LT(next, identities.size());
            EXPECT_EQ(identity, identities[next++]);
            EXPECT_EQ(rec.Key.Flag1, "1");
            EXPECT_EQ(rec.Key.UpdateDate, today);
        }
    }
    EXPECT_EQ(next, identities.size());
    EXPECT_FALSE(fs::exists(ctrl / "CdmTrial0110003.txt"));
    for (const char* step : {"Step01", "Step02", "Step03", "Step04", "Step05"}) EXPECT_TRUE(Logged(step)) << step;
}

struct PartCase {
    std::string startupTasks;
    std::string parallelism;
    long companies;
    std::vector<long> sizes;
    std::vector<long> slots;
    long slotCount;
};

class SplitRunParts : public SplitRunBuilder, public ::testing::WithParamInterface<PartCase> {};

TEST_P(SplitRunParts, TaskRecords) {
    const PartCase& c = GetParam();
    Start(c.startupTasks);
    common::WriteSetting(kMultiTask, c.parallelism);
    WriteMaster(Companies(c.companies));

    ASSERT_TRUE(Run());

    const long parts = static_cast<long>(c.sizes.size());
    common::TSCRec control;
    ASSERT_TRUE(common::CFTSC10M(kProcess, env_, control));
    EXPECT_EQ(control.ProcIdx, kProcess);
    EXPECT_EQ(control.TaskCount, parts);
    EXPECT_EQ(control.WaitingCount, parts);
    EXPECT_EQ(control.SlotCount, c.slotCount);
    EXPECT_EQ(control.TaskMax, env_.taskCount);
    for (long k = 1; k <= parts; ++k) {
        common::TSDRec task;
        ASSERT_TRUE(common::CFTSD10M(102, "", kProcess, k, "", env_, task)) << k;
        EXPECT_EQ(task.ProcIdx, kProcess);
        EXPECT_EQ(task.TaskSequence, k);
        EXPECT_EQ(task.TaskSlot, c.slots[static_cast<std::size_t>(k - 1)]) << k;
        EXPECT_EQ(task.TaskStatus, "0");
        EXPECT_EQ(task.MainPath, env_.Path);
        EXPECT_EQ(task.TaskPath, env_.Path);
        EXPECT_EQ(static_cast<long>(Part(k).size()), c.sizes[static_cast<std::size_t>(k - 1)]) << k;
    }
    common::TSDRec none;
    EXPECT_FALSE(common::CFTSD10M(102, "", kProcess, parts + 1, "", env_, none));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitRunParts,
    ::testing::Values(
        PartCase{"2", "2", 1, {1}, {1}, 1},
        PartCase{"2", "2", 1000, {168, 168, 168, 168, 168, 160}, {1, 2, 1, 2, 1, 2}, 2},
        // Slots follow the task count of start-up, parts the setting read now.
        PartCase{"3", "5", 25, {6, 6, 6, 6, 1}, {1, 2, 3, 1, 2}, 3}),
    [](const ::testing::TestParamInfo<PartCase>& info) {
        const PartCase& c = info.param;
        return "Tasks" + c.startupTasks + "_Setting" + c.parallelism + "_Companies" + std::to_string(c.companies);
    });

}  // namespace
