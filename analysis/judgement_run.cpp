#include "analysis/judgement_run.h"

#include <cstdlib>
#include <iterator>
#include <string>

#include "analysis/judgement_steps.h"
#include "common/run_state.h"

namespace analysis {

void ShowRunSteps(common::MSGRec& msg, const std::string& step) {
    static constexpr const char* kLines[] = {
        "鉤足判定の準備",       "分割処理の準備",       "鉤足判定処理の開始",   "コードマスターの集約",
        "コードマスターの出力", "分析情報の作成",       "鉤足判定結果の集約",   "鉤足判定結果のソート",
        "鉤足転換結果の集計",   "終了処理",
    };
    const long current = std::atol(step.c_str()) + 1;
    std::string label;
    for (long i = 1; i <= static_cast<long>(std::size(kLines)); ++i) {
        const char* mark = i < current ? "■　" : i == current ? "　⇒" : "□　";
        label += std::string(mark) + kLines[i - 1] + "\r\n";
    }
    msg.Caption = common::State().context.processName + " の判定";
    msg.LabelText1 = label;
    msg.DisplayOn = true;
    common::ShowProgress(msg);
}

bool AKAGI00M() {
    return marketdata::RunSplitRun("AKAGI00M", {kJudgementSteps, ShowRunSteps, nullptr});
}

}  // namespace analysis
