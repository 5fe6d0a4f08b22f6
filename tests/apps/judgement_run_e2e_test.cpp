// A whole judgement run with the real Korvane as the child copies: the parent
// runs in this process, so that a test can cancel it or kill one of its
// children at a chosen moment.
#include <gtest/gtest.h>

#include <sys/types.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "analysis/analysis_parts.h"
#include "analysis/batch_runner.h"
#include "analysis/judge_result_file.h"
#include "analysis/part_results.h"
#include "common/batch_chain.h"
#include "common/batch_request.h"
#include "common/program_parts.h"
#include "common/settings.h"
#include "common/task_files.h"
#include "tests/analysis/judgement_run_fixture.h"
#include "tests/support/judgement_market.h"
#include "tests/support/scoped_env.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr long kCompanies = 36;
// Enough rows that a part is still judging when the parent looks again.
constexpr long kRows = 2000;

// The live child processes of this process: pid and command line words.
std::map<pid_t, std::vector<std::string>> Children() {
    std::map<pid_t, std::vector<std::string>> children;
    const std::string self = std::to_string(getpid());
    for (const auto& entry : fs::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        std::ifstream statFile(entry.path() / "stat");
        std::string stat;
        std::getline(statFile, stat);
        const std::size_t close = stat.rfind(')');
        if (close == std::string::npos) continue;
        std::istringstream rest(stat.substr(close + 2));
        std::string state;
        std::string parent;
        rest >> state >> parent;
        if (parent != self || state == "Z") continue;
        std::ifstream cmdline(entry.path() / "cmdline");
        std::vector<std::string> words;
        for (std::string word; std::getline(cmdline, word, '\0');) words.push_back(word);
        children[static_cast<pid_t>(std::stol(name))] = words;
    }
    return children;
}

// Kills (SIGKILL) the child of part `sequence` as soon as its result file
// holds a record, watching from a thread of its own.
class ChildKiller {
public:
    ChildKiller(std::string resultPath, const std::string& sequence)
        : thread_([this, resultPath, sequence] { Watch(resultPath, sequence); }) {}
    ~ChildKiller() {
        stop_ = true;
        thread_.join();
    }
    bool killed() const { return killed_; }

private:
    void Watch(const std::string& resultPath, const std::string& sequence) {
        while (!stop_) {
            std::error_code ec;
            if (fs::file_size(resultPath, ec) >= analysis::kKagiJudgeRecSize && !ec) {
                for (const auto& [pid, words] : Children()) {
                    if (words.size() == 4 && words[3] == sequence && kill(pid, SIGKILL) == 0) {
                        killed_ = true;
                        return;
                    }
                }
            }
            std::this_thread::sleep_for(1ms);
        }
    }

    std::atomic<bool> stop_{false};
    std::atomic<bool> killed_{false};
    std::thread thread_;
};

// Sets the cancel flag the first time the parent looks while a child runs:
// the first part is then under way and the others not yet started.
class CancelWhenAChildRuns : public common::EventPump {
public:
    void ProcessEvents() override {
        if (!cancelled_ && !Children().empty()) common::State().CancelRequested = cancelled_ = true;
    }

private:
    bool cancelled_ = false;
};

// The result records with the update stamp of their company key blanked:
// it records when the run split the company list, the one thing two runs of
// the same market do not share.
std::string WithoutSplitStamps(std::string records) {
    constexpr std::size_t kStampAt = 69;  // UpdateDate and UpdateTime of the key
    constexpr std::size_t kStampLength = 18;
    EXPECT_EQ(records.size() % analysis::kKagiJudgeRecSize, 0u);
    for (std::size_t at = 0; at + analysis::kKagiJudgeRecSize <= records.size(); at += analysis::kKagiJudgeRecSize) {
        records.replace(at + kStampAt, kStampLength, kStampLength, '#');
    }
    return records;
}

bool SomePartUnfinished(common::EnvRec& env) {
    for (long sequence = 1; sequence <= 3; ++sequence) {
        common::TSDRec task;
        if (common::CFTSD10M(102, "", analysis_test::JudgementRunSetup::kProcess, sequence, "", env, task) &&
            task.TaskStatus != "Z") {
            return true;
        }
    }
    return false;
}

// A fresh installation of Korvane with the generated market, parallelism 3
// and the judgement of Japan requested.
class Installation : public analysis_test::JudgementRunSetup {
public:
    Installation() {
        fs::copy_file(KORVANE_EXE, folder.program() / "Korvane");
        common::State().ExeName = "Korvane";
        common::InstallProgramParts(analysis::AnalysisProgramParts());
        testsupport::WriteJudgementMarket(env, kCompanies, kRows);
        common::WriteSetting("MirControl\\Common\\MultiTaskKsn", "3");
        common::BatchRequestTable table;
        table.cell(1, 6) = 1;
        common::WriteSetting("MirControl\\Common\\Batch", common::EncodeBatchRequest(table));
    }
    ~Installation() { common::InstallProgramParts({}); }

    // The finished run: complete, its request cleared, the results, the
    // summary and the analysis information written, no part file left.
    // Gives the result and summary files.
    std::map<std::string, std::string> ExpectCompleteRun() {
        EXPECT_EQ(Ctr().Status, "Z");
        EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Batch"), common::EncodeBatchRequest({}));
        EXPECT_EQ(ErrorLog().find("E0:ErrApl"), std::string::npos) << ErrorLog();
        const std::string results = analysis::CountryDataFilePath(env, 40001, 0, 0, "JPN", "", ".dat");
        const std::string summary = analysis::CountryDataFilePath(env, 40002, 0, 0, "JPN", "", ".dat");
        EXPECT_TRUE(fs::exists(DataPath(30001, 0, 0, "")));
        EXPECT_FALSE(fs::exists(DataPath(100, kProcess, 0, "")));
        for (long sequence = 1; sequence <= 3; ++sequence) {
            EXPECT_FALSE(fs::exists(DataPath(1, kProcess, sequence, ""))) << sequence;
            EXPECT_FALSE(fs::exists(analysis::PartResultPath(env, kProcess, sequence, "JPN"))) << sequence;
        }
        if (!fs::exists(results) || !fs::exists(summary)) {
            ADD_FAILURE() << "no result or summary file";
            return {};
        }
        return {{"40001", WithoutSplitStamps(testsupport::ReadBytes(results))},
                {"40002", testsupport::ReadBytes(summary)}};
    }

private:
    testsupport::ScopedEnv offscreen_{"QT_QPA_PLATFORM", "offscreen"};
};

// An uninterrupted run gives the judgement files; a run whose child is
// killed mid-part, and a run cancelled and resumed through the resume offer,
// give the same files byte for byte.
TEST(JudgementEndToEnd, InterruptedRunsGiveTheFilesOfAnUninterruptedOne) {
    std::map<std::string, std::string> reference;
    {
        Installation run;
        analysis::RunBatch();
        EXPECT_TRUE(run.ui.presenter->boxes.empty());
        reference = run.ExpectCompleteRun();
        ASSERT_EQ(reference.size(), 2u);
        EXPECT_GE(reference["40001"].size(), 30 * analysis::kKagiJudgeRecSize);
        EXPECT_GT(reference["40002"].size(), 0u);
    }
    {
        Installation run;
        {
            const ChildKiller killer(analysis::PartResultPath(run.env, Installation::kProcess, 2, "JPN"), "002");
            analysis::RunBatch();
            ASSERT_TRUE(killer.killed());
        }
        EXPECT_NE(run.ErrorLog().find("子プロセスが報告なしで終了しました: タスク002"), std::string::npos);
        EXPECT_EQ(run.ExpectCompleteRun(), reference);
    }
    {
        Installation run;
        run.InstallUi(std::make_shared<CancelWhenAChildRuns>());
        analysis::RunBatch();
        ASSERT_EQ(run.ui.presenter->boxes.size(), 1u);
        EXPECT_EQ(run.ui.presenter->boxes[0].text, "罫線・鉤足（国内）の判定処理を中断します。　");
        EXPECT_EQ(run.Ctr().Step, "02");
        EXPECT_TRUE(SomePartUnfinished(run.env));
        EXPECT_NE(common::ReadSetting("MirControl\\Common\\Batch"), common::EncodeBatchRequest({}));

        run.InstallUi();
        run.ui.presenter->answers = {1};
        EXPECT_TRUE(common::ResumeInterruptedRun());
        EXPECT_EQ(run.ExpectCompleteRun(), reference);
    }
}

}  // namespace
