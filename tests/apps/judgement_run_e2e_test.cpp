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
#include "common/startup/batch_chain.h"
#include "common/startup/batch_request.h"
#include "common/startup/program_parts.h"
#include "common/settings/settings.h"
#include "common/tasks/task_files.h"
#include "tests/analysis/judgement_run_fixture.h"
#include "tests/support/judgement_market.h"
#include "tests/apps/child_killer.h"
#include "tests/apps/judgement_installation.h"
#include "tests/support/scoped_env.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using judgement_e2e::Children;
using judgement_e2e::Installation;


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

// An uninterrupted run gives the judgement files; a run whose child is
// killed mid-part, and a run cancelled and resumed through the resume offer,
// give the same files byte for byte.
TEST(JudgementEndToEnd, InterruptedRunsGiveTheFilesOfAnUninterruptedOne) {
    // Long series, so that a part is still judging when the killer or the
    // cancel acts, also on a busy machine.
    constexpr long kLongRows = 4 * judgement_e2e::kRows;
    std::map<std::string, std::string> reference;
    {
        Installation run(kLongRows);
        analysis::RunBatch();
        EXPECT_TRUE(run.ui.presenter->boxes.empty());
        reference = run.ExpectCompleteRun();
        ASSERT_EQ(reference.size(), 2u);
        EXPECT_GE(reference["40001"].size(), 30 * analysis::kKagiJudgeRecSize);
        EXPECT_GT(reference["40002"].size(), 0u);
    }
    {
        Installation run(kLongRows);
        {
            const std::string results = analysis::PartResultPath(run.env, Installation::kProcess, 2, "JPN");
            // As soon as part 2 has judged a company.
            const e2e::ChildKiller killer(
                [&results] {
                    std::error_code ec;
                    return fs::file_size(results, ec) >= analysis::kKagiJudgeRecSize && !ec;
                },
                [](const std::string& sequence) { return sequence == "002"; });
            analysis::RunBatch();
            ASSERT_TRUE(killer.killed());
        }
        EXPECT_NE(run.ErrorLog().find("子プロセスが報告なしで終了しました: タスク002"), std::string::npos);
        EXPECT_EQ(run.ExpectCompleteRun(), reference);
    }
    {
        Installation run(kLongRows);
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
