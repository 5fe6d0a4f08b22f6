#include "analysis/judgement_run.h"

#include <cstdlib>
#include <iterator>
#include <string>
#include <utility>

#include "analysis/judgement_steps.h"
#include "common/logs.h"
#include "common/message_box.h"
#include "common/run_env.h"
#include "common/run_state.h"
#include "common/ui_seam.h"
#include "platform/utf8_text.h"

namespace analysis {

namespace {

constexpr const char* kOwnId = "AKAGI00M";
constexpr const char* kForm = "FormProgress1";

// The end line and the progress form's unload, on every way out of the run.
class RunEnd {
public:
    explicit RunEnd(std::string processName) : processName_(std::move(processName)) {}
    ~RunEnd() {
        common::WriteRunLog(common::LogSwitch(1), kOwnId, common::log_tag::kEnd, "00",
                            std::string(kOwnId) + " End   : " + processName_);
        common::Ui().progress->Unload(kForm);
    }
    RunEnd(const RunEnd&) = delete;
    RunEnd& operator=(const RunEnd&) = delete;

private:
    std::string processName_;
};

void ReportFatalControlError(const common::CtrRec& ctr) {
    const std::string text = "アプリケーションエラー（制御情報の致命的エラー）　";
    const bool on = common::State().errorLogOn;
    common::WriteErrorLog(on, kOwnId, common::log_tag::kErrApl, "01", text);
    common::WriteErrorLog(on, kOwnId, common::log_tag::kErrApl, "01",
                          "  CtrRec.Status=" + ctr.Status + "  CtrRec.Step=" + ctr.Step);
    common::ShowResetAdviceMessage(text, 48);
}

// The step (1..9) a recorded step code resumes at; 0 when it names none.
int ResumeStep(const std::string& step) {
    if (step.size() != 2 || step[0] != '0' || step[1] < '1' || step[1] > '9') return 0;
    return step[1] - '0';
}

}  // namespace

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
    common::RunState& state = common::State();
    state.procedureId = kOwnId;
    state.CancelRequested = false;

    JudgementRun run;
    run.processNumber = state.context.processNumber;
    run.processName = state.context.processName;
    run.country = state.context.countryCode;
    run.msg.ProgressForm = &common::Ui().progress->Show(kForm);
    run.msg.ProgressForm->SetCaption("");
    const RunEnd end(run.processName);

    common::CCENV00M(run.env);
    common::WriteRunLog(common::LogSwitch(1), kOwnId, common::log_tag::kStart, "00",
                        std::string(kOwnId) + " Start : " + run.processName);
    ShowRunSteps(run.msg, "00");

    common::ReadCtrRec(run.processNumber, run.env, run.ctr);
    const std::string status = platform::TrimBlanks(run.ctr.Status);
    const std::string step = platform::TrimBlanks(run.ctr.Step);
    // "B" at step "00" stopped between the start mark and step 01: nothing of
    // the run exists yet, so it simply starts again.
    const bool fresh = status.empty() || status == "0" || status == "C" || status == "Z" ||
                       (status == "B" && step == "00");
    if (fresh) {
        common::MarkCtrRecStart(run.processNumber, run.env, run.ctr, "B");
        return RunJudgementSteps(run, 1);
    }
    const int resumeAt = ResumeStep(step);
    if ((status == "B" || status == "S") && resumeAt != 0) return RunJudgementSteps(run, resumeAt);
    ReportFatalControlError(run.ctr);
    return false;
}

}  // namespace analysis
