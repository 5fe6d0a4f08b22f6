#include "analysis/judgement_steps.h"

#include <iterator>
#include <vector>

#include "analysis/analysis_info.h"
#include "analysis/judge_aggregation.h"
#include "analysis/judge_result_file.h"
#include "analysis/judgement_run.h"
#include "analysis/part_results.h"
#include "common/data_file.h"
#include "common/file_registry.h"
#include "common/logs.h"
#include "common/master_merge.h"
#include "common/message_box.h"
#include "common/run_state.h"
#include "common/split_run_controller.h"
#include "common/task_files.h"
#include "common/task_lock.h"
#include "common/text_file_read.h"
#include "common/text_file_write.h"
#include "marketdata/code_master.h"
#include "marketdata/name_index.h"
#include "marketdata/split_run_builder.h"
#include "platform/number_format.h"
#include "platform/trapped_error.h"
#include "platform/utf8_text.h"

namespace analysis {

namespace {

constexpr const char* kOwnId = "AKAGI00M";
constexpr long kPartList = marketdata::kCodeMasterFileNumber;
constexpr long kRunLog = 3;
constexpr long kErrorLog = 4;
constexpr long kTaskControl = 100;
constexpr long kTaskDetail = 102;

constexpr const char* kNoCompanyText =
    "処理対象の企業が存在しません。　\r\n\r\n"
    "ご不便をお掛けして、大変申し訳ございません。　\r\n"
    "企業一覧の収集、または「その他の機能」のコードマスターの初期化を行ってから再実行して下さい。　\r\n\r\n"
    "それでも同様のエラーが発生する場合は、お手数をお掛けしますが、　\r\n"
    "開発者へ連絡をお願い致します。　\r\n";

bool ReadControlRecord(JudgementRun& run, common::TSCRec& control) {
    if (common::CFTSC10M(run.processNumber, run.env, control)) return true;
    const std::string text = "アプリケーションエラー（制御情報が存在しません）　";
    common::LogProcIdxLine(text, 16, kOwnId, run.processNumber, platform::TrappedError(0, text, kOwnId));
    common::ShowResetAdviceMessage(text, 16);
    return false;
}

// A part of the split run as its task record names it; without a record, by
// its place in the run.
struct Part {
    long procIdx;
    long sequence;
    std::string status;
};

Part ReadPart(JudgementRun& run, long sequence) {
    common::TSDRec task;
    if (!common::CFTSD10M(kTaskDetail, "", run.processNumber, sequence, "", run.env, task)) {
        return {run.processNumber, sequence, ""};
    }
    return {task.ProcIdx, task.TaskSequence, platform::TrimBlanks(task.TaskStatus)};
}

void GatherPartLogs(JudgementRun& run) {
    common::CUMRG41M(kRunLog, run.processNumber, "", "2", run.env);
    common::CUMRG41M(kErrorLog, run.processNumber, "", "2", run.env);
}

bool SplitCompanies(JudgementRun& run) {
    if (marketdata::CFCDM82M(run.processNumber, 0, run.processName, run.country, run.env, run.msg, "")) return true;
    common::ShowWarning(kNoCompanyText, 48);
    return false;
}

bool StopJudging(JudgementRun& run) {
    common::ShowWarning(run.processName + "の判定処理を中断します。　", 48);
    GatherPartLogs(run);
    return false;
}

// Makes every part whole again before the children (re)start, keeping what
// each had finished; a failed part ("E") too: deleting its files would lose
// the results that an earlier resume already folded into its list. No child
// of an earlier parent may still write a part while it is recovered.
bool JudgeParts(JudgementRun& run) {
    common::TSCRec control;
    if (!ReadControlRecord(run, control)) return false;
    if (!common::TakeOverTasks(run.processNumber, control.TaskCount, run.env)) return StopJudging(run);
    for (long i = 1; i <= control.TaskCount; ++i) {
        const Part part = ReadPart(run, i);
        RecoverPartResults(run.env, run.msg, part.procIdx, part.sequence, run.country);
    }
    common::CCTSC50M(run.processNumber, run.env, run.msg);
    if (!common::State().CancelRequested) return true;
    return StopJudging(run);
}

// Gathers the part lists into the code master's work file without deleting
// them: until step 04 is recorded a repeat of this step finds them again.
bool GatherPartLists(JudgementRun& run) {
    common::TSCRec control;
    if (!ReadControlRecord(run, control)) return false;
    run.msg.StageCount = control.TaskCount;
    run.msg.lngDenominator = 1;
    run.msg.lngNumerator = 1;
    std::vector<std::string> gathered;
    for (long i = 1; i <= control.TaskCount; ++i) {
        const Part part = ReadPart(run, i);
        run.msg.StagesDone = i - 1;
        common::ShowStagedProgress(run.msg);
        marketdata::RefreshCodeMaster(kPartList, part.procIdx, part.sequence, "", run.env, run.msg);
        std::vector<std::string> lines;
        if (common::CFFIL21M(common::BuildDataFilePath(kPartList, part.procIdx, part.sequence, "", "", run.env),
                             lines)) {
            gathered.insert(gathered.end(), lines.begin(), lines.end());
        }
    }
    common::CFFIL30M(gathered, common::BuildDataFilePath(kPartList, 0, 0, "", ".tmp", run.env));
    GatherPartLogs(run);
    return true;
}

bool RewriteCodeMaster(JudgementRun& run) {
    common::CFFIL75M(kPartList, run.processNumber, run.env);
    marketdata::BuildNameIndex(kPartList, 0, 0, run.country, "", "", "", run.env, run.msg);
    return true;
}

bool BuildAnalysisInfo(JudgementRun& run) {
    AMNCM00M(run.env, run.msg);
    return true;
}

bool GatherResults(JudgementRun& run) {
    CFKGRMRM(kJudgeResultFileNumber, run.processNumber, common::CFFIL03M(kJudgeResultFileNumber), run.country,
             run.env, run.msg);
    return true;
}

// The gathering is complete once step 07 is recorded: only then may the
// parts' results go (a repeat of this step finds them gone, harmlessly).
bool SortResults(JudgementRun& run) {
    DeletePartResults(kJudgeResultFileNumber, run.processNumber, run.env);
    CFKGRSTM(run.msg, run.env, run.country);
    return true;
}

bool TallyResults(JudgementRun& run) {
    AKSUM21M(run.env, run.msg, run.country);
    return true;
}

bool FinishRun(JudgementRun& run) {
    common::CFFIL75M(kTaskControl, run.processNumber, run.env);
    common::CFFIL75M(kTaskDetail, run.processNumber, run.env);
    common::MarkCtrRecEnd(run.processNumber, run.env, run.ctr, "Z");
    return true;
}

using Step = bool (*)(JudgementRun&);
// Steps 01 to 09, in order.
constexpr Step kSteps[] = {
    SplitCompanies, JudgeParts,  GatherPartLists, RewriteCodeMaster, BuildAnalysisInfo,
    GatherResults,  SortResults, TallyResults,    FinishRun,
};

}  // namespace

bool RunJudgementSteps(JudgementRun& run, int first) {
    for (int k = first; k <= static_cast<int>(std::size(kSteps)); ++k) {
        const std::string step = platform::FormatNumber(k, "00");
        common::WriteStepLog(common::LogSwitch(1), kOwnId, common::log_tag::kStep, step,
                             std::string(kOwnId) + "_Step" + step + " Start : " + run.processName);
        ShowRunSteps(run.msg, step);
        common::SetCtrRecStep(run.processNumber, run.env, run.ctr, step);
        if (!kSteps[k - 1](run)) return false;
    }
    return true;
}

}  // namespace analysis
