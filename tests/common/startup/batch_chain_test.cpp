#include "common/startup/batch_chain.h"

#include <gtest/gtest.h>

#include "common/run_state.h"
#include "common/settings/settings.h"
#include "common/startup/program_parts.h"
#include "common/startup/run_env.h"
#include "platform/trapped_error.h"
#include "tests/support/fake_ui.h"
#include "tests/support/program_folder.h"

namespace {

// "<step ID> <process number>" for each driver call, in order. The call
// `cancelAt_` is cancelled: it stops short, or, with `cancelLate_`, comes to
// its end all the same.
class BatchChain : public ::testing::Test {
protected:
    void SetUp() override {
        common::CCENV00M(env_);
        common::SetTaskWorkPaths(0, 0, env_);
        common::ProgramParts parts;
        for (const char* id : {"AEXCG00M", "ALIST00M", "ACORP00M", "AHPJP00M", "AUSCM00M", "AHPID00M"}) {
            parts.drivers[id] = [this, id] {
                const std::string call = std::string(id) + " " + std::to_string(common::State().context.processNumber);
                calls_.push_back(call);
                if (call != cancelAt_) return true;
                common::WriteSetting("MirControl\\Common\\Cancel", "1");
                common::State().CancelRequested = true;
                return cancelLate_;
            };
        }
        parts.batchRunner = common::RunCollectionBatch;
        common::InstallProgramParts(parts);
    }
    void TearDown() override { common::InstallProgramParts({}); }

    static std::string Request(std::initializer_list<int> characters) {
        std::string text(50, '0');
        for (int c : characters) text[static_cast<std::size_t>(c - 1)] = '1';
        return text;
    }

    std::string Batch() { return common::ReadSetting("MirControl\\Common\\Batch"); }

    testsupport::ProgramFolder folder_;
    testsupport::FakeUi ui_;
    common::EnvRec env_;
    std::vector<std::string> calls_;
    std::string cancelAt_;
    bool cancelLate_ = false;
};

TEST_F(BatchChain, RunsRequestedStepsInChainOrderAndClearsThem) {
    common::WriteSetting("MirControl\\Common\\Batch",
                         Request({28, 26, 1, 8, 6, 7, 16, 17, 18, 21, 11, 13, 36, 41}) + "11");
    common::RunCollectionBatch();
    EXPECT_EQ(calls_, (std::vector<std::string>{"AEXCG00M 111", "ALIST00M 41", "ALIST00M 43", "ALIST00M 42",
                                                "ACORP00M 51", "ACORP00M 52", "ACORP00M 61",
                                                "ACORP00M 63", "ACORP00M 62", "ACORP00M 71", "AHPJP00M 11",
                                                "AHPJP00M 12", "AUSCM00M 12", "AHPID00M 12"}));
    EXPECT_EQ(Batch(), std::string(50, '0'));
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Exec"), "");
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\ProcId"), "");
}

TEST_F(BatchChain, UnrequestedStepsDoNotRun) {
    common::WriteSetting("MirControl\\Common\\Batch", Request({26, 28}));
    common::RunCollectionBatch();
    EXPECT_EQ(calls_, (std::vector<std::string>{"AHPJP00M 11", "AHPJP00M 12"}));
}

TEST_F(BatchChain, CancelStopsTheChainAndTheNextRunResumesThere) {
    common::WriteSetting("MirControl\\Common\\Batch", Request({11, 16, 26}));
    cancelAt_ = "ACORP00M 51";
    common::RunCollectionBatch();
    EXPECT_EQ(calls_, (std::vector<std::string>{"ACORP00M 51"}));
    EXPECT_EQ(Batch(), Request({11, 16, 26}));
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\ProcId"), "ACORP000");
    EXPECT_FALSE(common::State().CancelRequested);
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Exec"), "");

    // The resume offer: OK clears the cancel mark and runs the rest.
    common::WriteSetting("MirControl\\Common\\Cancel", "1");
    cancelAt_.clear();
    calls_.clear();
    ui_.presenter->answers = {1};
    EXPECT_TRUE(common::ResumeInterruptedRun());
    EXPECT_EQ(ui_.presenter->boxes[0].text,
              "企業情報（国内）の処理が中断中です。　\r\n\r\n中断中の処理を再開しますが、宜しいですか？　");
    EXPECT_EQ(ui_.presenter->boxes[0].style, 33);
    EXPECT_EQ(calls_, (std::vector<std::string>{"ACORP00M 51", "ACORP00M 61", "AHPJP00M 11"}));
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Cancel"), "");
    EXPECT_EQ(Batch(), std::string(50, '0'));
}

// A cancel in the last moments of a step that still came to its end: the
// chain stops after it, the resume offer names the next step, and the resume
// runs only the steps after it. Cancelled in the last step, nothing is left
// to resume.
TEST_F(BatchChain, StepFinishedDespiteACancelIsNotRunAgain) {
    common::WriteSetting("MirControl\\Common\\Batch", Request({16, 17, 26}));
    cancelAt_ = "ACORP00M 61";
    cancelLate_ = true;
    common::RunCollectionBatch();
    EXPECT_EQ(calls_, (std::vector<std::string>{"ACORP00M 61"}));
    EXPECT_EQ(Batch(), Request({17, 26}));
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Cancel"), "1");
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\ProcName"), "マーケット速報（米国）");
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\ProcId"), "AREPT000");

    cancelAt_ = "AHPJP00M 11";
    calls_.clear();
    ui_.presenter->answers = {1};
    EXPECT_TRUE(common::ResumeInterruptedRun());
    EXPECT_EQ(calls_, (std::vector<std::string>{"ACORP00M 63", "AHPJP00M 11"}));
    EXPECT_EQ(Batch(), std::string(50, '0'));
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Cancel"), "");
    EXPECT_FALSE(common::State().CancelRequested);
}

// The steps that set no process context of their own are still named by
// the resume offer when they are what is left.
TEST_F(BatchChain, ResumeOfferNamesAStepWithoutProcessContext) {
    for (const auto& [character, name] : {std::pair{36, "銘柄登録"}, std::pair{41, "業種別株価時系列データ（国内）"}}) {
        common::WriteSetting("MirControl\\Common\\Batch", Request({28, character}));
        cancelAt_ = "AHPJP00M 12";
        cancelLate_ = true;
        calls_.clear();
        common::RunCollectionBatch();
        EXPECT_EQ(Batch(), Request({character}));
        EXPECT_EQ(common::ReadSetting("MirControl\\Common\\ProcName"), name);
        EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Cancel"), "1");
    }
}

TEST_F(BatchChain, DecliningTheResumeRunsNothing) {
    common::WriteSetting("MirControl\\Common\\Batch", Request({26}));
    common::WriteSetting("MirControl\\Common\\Cancel", "1");
    ui_.presenter->answers = {2};
    EXPECT_FALSE(common::ResumeInterruptedRun());
    EXPECT_TRUE(calls_.empty());
    ASSERT_EQ(ui_.presenter->boxes.size(), 2u);
    EXPECT_EQ(ui_.presenter->boxes[1].style, 48);
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Cancel"), "1");
}

TEST_F(BatchChain, RunTimeErrorLeavesTheRunMarkedAndEnds) {
    common::ProgramParts parts;
    parts.drivers["AHPJP00M"] = []() -> bool { throw platform::TrappedError(11, "0 で除算しました。", "AHPJP00M"); };
    common::InstallProgramParts(parts);
    common::WriteSetting("MirControl\\Common\\Batch", Request({26}));
    EXPECT_THROW(common::RunCollectionBatch(), testsupport::ProgramEnded);
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Exec"), "1");
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Cancel"), "1");
    EXPECT_EQ(Batch(), Request({26}));
    ASSERT_EQ(ui_.presenter->boxes.size(), 1u);
    EXPECT_NE(ui_.presenter->boxes[0].text.find("11:0 で除算しました。"), std::string::npos);
}

}  // namespace
