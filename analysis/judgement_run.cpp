#include "analysis/judgement_run.h"

#include <cstdlib>
#include <string>

#include "analysis/judgement_steps.h"
#include "common/run_state.h"

namespace analysis {

void ShowRunSteps(common::MSGRec& msg, const std::string& step) {
    static const std::string kLines[] = {
        "鉤足判定の準備",       "分割処理の準備",       "鉤足判定処理の開始",   "コードマスターの集約",
        "コードマスターの出力", "分析情報の作成",       "鉤足判定結果の集約",   "鉤足判定結果のソート",
        "鉤足転換結果の集計",   "終了処理",
    };
    // The list opens with the preparation before step 01.
    marketdata::ShowStepList(msg, common::State().context.processName + " の判定", kLines,
                             std::atol(step.c_str()) + 1);
}

bool AKAGI00M() {
    return marketdata::RunSplitRun("AKAGI00M", {kJudgementSteps, ShowRunSteps, nullptr});
}

}  // namespace analysis
