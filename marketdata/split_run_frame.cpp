#include "marketdata/split_run_frame.h"

#include <cstdlib>
#include <vector>

#include "common/files/data_file.h"
#include "common/files/file_ops.h"
#include "common/files/file_registry.h"
#include "common/files/master_merge.h"
#include "common/files/text_file_io.h"
#include "common/files/text_file_read.h"
#include "common/files/text_file_write.h"
#include "common/logs/logs.h"
#include "common/logs/message_box.h"
#include "common/run_state.h"
#include "common/screens/ui_seam.h"
#include "common/startup/run_env.h"
#include "common/tasks/ctr_file.h"
#include "common/tasks/split_run_controller.h"
#include "common/tasks/task_files.h"
#include "common/tasks/task_lock.h"
#include "marketdata/code_master.h"
#include "marketdata/name_index.h"
#include "marketdata/split_run_builder.h"
#include "platform/file_system.h"
#include "platform/number_format.h"
#include "platform/trapped_error.h"
#include "platform/utf8_text.h"

namespace marketdata {

namespace {

constexpr const char* kForm = "FormProgress1";
constexpr long kPartList = kCodeMasterFileNumber;
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

// The end line and the progress form's unload, on every way out of the run.
class RunEnd {
public:
    explicit RunEnd(const SplitRun& run) : run_(run) {}
    ~RunEnd() {
        common::WriteRunLog(common::LogSwitch(1), run_.ownId, common::log_tag::kEnd, "00",
                            std::string(run_.ownId) + " End   : " + run_.processName);
        common::Ui().progress->Unload(kForm);
    }
    RunEnd(const RunEnd&) = delete;
    RunEnd& operator=(const RunEnd&) = delete;

private:
    const SplitRun& run_;
};

void ReportFatalControlError(const SplitRun& run) {
    const std::string text = "アプリケーションエラー（制御情報の致命的エラー）　";
    const bool on = common::State().errorLogOn;
    common::WriteErrorLog(on, run.ownId, common::log_tag::kErrApl, "01", text);
    common::WriteErrorLog(on, run.ownId, common::log_tag::kErrApl, "01",
                          "  CtrRec.Status=" + run.ctr.Status + "  CtrRec.Step=" + run.ctr.Step);
    common::ShowResetAdviceMessage(text, 48);
}

// The step (1..count) a recorded step code resumes at; 0 when it names none.
int ResumeStep(const std::string& step, std::size_t count) {
    if (step.size() != 2 || step.find_first_not_of("0123456789") != std::string::npos) return 0;
    const int k = std::atoi(step.c_str());
    return k >= 1 && k <= static_cast<int>(count) ? k : 0;
}

bool RunSteps(SplitRun& run, const SplitRunKind& kind, int first) {
    for (int k = first; k <= static_cast<int>(kind.steps.size()); ++k) {
        const std::string step = platform::FormatNumber(k, "00");
        common::WriteStepLog(common::LogSwitch(1), run.ownId, common::log_tag::kStep, step,
                             std::string(run.ownId) + "_Step" + step + " Start : " + run.processName);
        kind.showSteps(run.msg, step);
        common::SetCtrRecStep(run.processNumber, run.env, run.ctr, step);
        if (!kind.steps[static_cast<std::size_t>(k - 1)](run)) return false;
    }
    return true;
}

// The list of a part done while other parts run, made whole and read for
// the gathering: what step 03 would do with it, done while the parent waits.
// The controller's progress stays on the form; a part that cannot be read
// now is left to the gathering, which tells of it.
void ReadPartListAhead(SplitRun& run, long sequence) {
    common::EnvRec env = run.env;
    common::MSGRec quiet;
    try {
        const SplitRunPart part = ReadSplitRunPart(run, sequence);
        RefreshCodeMaster(kPartList, part.procIdx, part.sequence, "", env, quiet);
        std::vector<std::string> lines;
        common::CFFIL21M(common::BuildDataFilePath(kPartList, part.procIdx, part.sequence, "", "", env), lines);
        run.partListsAhead[sequence] = std::move(lines);
    } catch (const platform::TrappedError&) {
        run.partListsAhead.erase(sequence);
    }
}

}  // namespace

bool RunSplitRun(const char* ownId, const SplitRunKind& kind) {
    common::RunState& state = common::State();
    state.procedureId = ownId;
    state.CancelRequested = false;

    SplitRun run;
    run.ownId = ownId;
    run.processNumber = state.context.processNumber;
    run.processName = state.context.processName;
    run.country = state.context.countryCode;
    run.msg.ProgressForm = &common::Ui().progress->Show(kForm);
    run.msg.ProgressForm->SetCaption("");
    const RunEnd end(run);

    common::CCENV00M(run.env);
    common::WriteRunLog(common::LogSwitch(1), ownId, common::log_tag::kStart, "00",
                        std::string(ownId) + " Start : " + run.processName);
    kind.showSteps(run.msg, "00");

    common::ReadCtrRec(run.processNumber, run.env, run.ctr);
    const std::string status = platform::TrimBlanks(run.ctr.Status);
    const std::string step = platform::TrimBlanks(run.ctr.Step);
    // "B" at step "00" stopped between the start mark and step 01: nothing of
    // the run exists yet, so it simply starts again.
    const bool fresh = status.empty() || status == "0" || status == "C" || status == "Z" ||
                       (status == "B" && step == "00");
    if (fresh) {
        if (kind.atNewRun != nullptr) kind.atNewRun();
        common::MarkCtrRecStart(run.processNumber, run.env, run.ctr, "B");
        return RunSteps(run, kind, 1);
    }
    const int resumeAt = ResumeStep(step, kind.steps.size());
    if ((status == "B" || status == "S") && resumeAt != 0) return RunSteps(run, kind, resumeAt);
    ReportFatalControlError(run);
    return false;
}

void ShowStepList(common::MSGRec& msg, const std::string& caption, std::span<const std::string> lines,
                  long current) {
    std::string label;
    for (long i = 1; i <= static_cast<long>(lines.size()); ++i) {
        const char* mark = i < current ? "■　" : i == current ? "　⇒" : "□　";
        label += mark + lines[static_cast<std::size_t>(i - 1)] + "\r\n";
    }
    msg.Caption = caption;
    msg.LabelText1 = label;
    msg.DisplayOn = true;
    common::ShowProgress(msg);
}

SplitRunPart ReadSplitRunPart(SplitRun& run, long sequence) {
    common::TSDRec task;
    if (!common::CFTSD10M(kTaskDetail, "", run.processNumber, sequence, "", run.env, task)) {
        return {run.processNumber, sequence, ""};
    }
    return {task.ProcIdx, task.TaskSequence, platform::TrimBlanks(task.TaskStatus)};
}

std::string PartWorkFilePath(common::EnvRec& env, long procIdx, long taskSeq) {
    return common::CFFIL02M({kPartList, procIdx, taskSeq, "", ""}, env) + ".tmp";
}

void RecoverPartList(common::EnvRec& env, common::MSGRec& msg, long procIdx, long taskSeq) {
    common::CutToWholeLines(PartWorkFilePath(env, procIdx, taskSeq));
    RefreshCodeMaster(kPartList, procIdx, taskSeq, "", env, msg);
}

void ShowCompanyProgress(common::MSGRec& msg, const CdmRec& company, long i, long n) {
    const auto count = [](long k) { return platform::FormatNumber(static_cast<double>(k), "###0"); };
    msg.lngNumerator = i;
    msg.lngDenominator = n;
    msg.Caption = std::to_string(i * 100 / n) + "%　" + common::State().context.processName + " の収集中";
    msg.LabelText2 = "\r\n\r\n" + platform::TrimBlanks(company.Key.CorpCode) + ":" + CompanyName(company) + "\r\n" +
                     "処理済件数　" + count(i) + " / " + count(n) + "\r\n\r\n";
    common::ShowProgress(msg);
}

bool ReadTaskControl(SplitRun& run, common::TSCRec& control) {
    if (common::CFTSC10M(run.processNumber, run.env, control)) return true;
    const std::string text = "アプリケーションエラー（制御情報が存在しません）　";
    common::LogProcIdxLine(text, 16, run.ownId, run.processNumber, platform::TrappedError(0, text, run.ownId));
    common::ShowResetAdviceMessage(text, 16);
    return false;
}

void ShowNoCompanyWarning() { common::ShowWarning(kNoCompanyText, 48); }

bool SplitCompaniesIntoParts(SplitRun& run) {
    if (CFCDM82M(run.processNumber, 0, run.processName, run.country, run.env, run.msg, "")) return true;
    ShowNoCompanyWarning();
    return false;
}

void GatherPartLogs(SplitRun& run) {
    common::CUMRG41M(kRunLog, run.processNumber, "", "2", run.env);
    common::CUMRG41M(kErrorLog, run.processNumber, "", "2", run.env);
}

bool StopSplitRun(SplitRun& run, const std::string& warning) {
    common::ShowWarning(warning, 48);
    GatherPartLogs(run);
    return false;
}

bool RunPartsInChildren(SplitRun& run, void (*recoverPart)(SplitRun& run, const SplitRunPart& part),
                        const std::string& stopWarning, bool logStages) {
    common::TSCRec control;
    if (!ReadTaskControl(run, control)) return false;
    const auto stepLine = [&run, logStages](const char* what) {
        if (!logStages) return;
        const std::string step = platform::TrimBlanks(run.ctr.Step);
        common::WriteStepLog(common::LogSwitch(1), run.ownId, common::log_tag::kStep, step,
                             std::string(run.ownId) + "_Step" + step + what + run.processName);
    };
    stepLine(" Start Step01 : ");
    // No child of an earlier parent may still write a part while it is recovered.
    if (!common::TakeOverTasks(run.processNumber, control.TaskCount, run.env)) return StopSplitRun(run, stopWarning);
    for (long i = 1; i <= control.TaskCount; ++i) {
        run.msg.LabelText2 = "\r\n\r\n中断中の再開準備";
        run.msg.lngNumerator = i;
        run.msg.lngDenominator = control.TaskCount;
        common::ShowProgress(run.msg);
        recoverPart(run, ReadSplitRunPart(run, i));
    }
    run.msg.LabelText2.clear();
    run.msg.lngNumerator = 1;
    run.msg.lngDenominator = 0;
    stepLine(" Start Step02 : ");
    run.partListsAhead.clear();
    common::CCTSC50M(run.processNumber, run.env, run.msg, [&run](long sequence) { ReadPartListAhead(run, sequence); });
    if (!common::State().CancelRequested) return true;
    return StopSplitRun(run, stopWarning);
}

bool GatherPartFiles(SplitRun& run, long fileNumber, const std::string& partExtension,
                     void (*recoverPart)(SplitRun& run, const SplitRunPart& part),
                     const std::map<long, std::vector<std::string>>& ahead) {
    common::TSCRec control;
    if (!ReadTaskControl(run, control)) return false;
    run.msg.StageCount = control.TaskCount;
    run.msg.lngDenominator = 1;
    run.msg.lngNumerator = 1;
    std::vector<std::string> gathered;
    for (long i = 1; i <= control.TaskCount; ++i) {
        run.msg.StagesDone = i - 1;
        common::ShowStagedProgress(run.msg);
        const auto done = ahead.find(i);
        if (done != ahead.end()) {
            gathered.insert(gathered.end(), done->second.begin(), done->second.end());
            continue;
        }
        const SplitRunPart part = ReadSplitRunPart(run, i);
        recoverPart(run, part);
        std::vector<std::string> lines;
        const std::string path =
            common::BuildDataFilePath(fileNumber, part.procIdx, part.sequence, "", partExtension, run.env);
        if (common::CFFIL21M(path, lines)) {
            gathered.insert(gathered.end(), lines.begin(), lines.end());
        }
    }
    common::CFFIL30M(gathered, common::BuildDataFilePath(fileNumber, 0, 0, "", ".tmp", run.env));
    return true;
}

bool GatherPartLists(SplitRun& run) {
    const auto refresh = [](SplitRun& r, const SplitRunPart& part) {
        RefreshCodeMaster(kPartList, part.procIdx, part.sequence, "", r.env, r.msg);
    };
    if (!GatherPartFiles(run, kPartList, "", refresh, run.partListsAhead)) return false;
    GatherPartLogs(run);
    return true;
}

bool ApplyPartLists(SplitRun& run) {
    BuildNameIndex(kPartList, 0, 0, run.country, "", "", "", run.env, run.msg);
    common::CFFIL75M(kPartList, run.processNumber, run.env);
    return true;
}

bool FinishSplitRun(SplitRun& run) {
    common::TSCRec control;
    if (common::CFTSC10M(run.processNumber, run.env, control)) {
        // A child killed after its end report left its work folder behind.
        for (long i = 1; i <= control.TaskCount; ++i) {
            const std::string folder = common::TaskWorkFolder(run.env, run.processNumber, i);
            try {
                common::RemoveWorkFolder(folder);
            } catch (const platform::TrappedError& error) {
                common::WriteErrorLog(common::State().errorLogOn, run.ownId, common::log_tag::kWarning, "00",
                                      error.description());
            }
        }
    }
    common::CFFIL75M(kTaskControl, run.processNumber, run.env);
    common::CFFIL75M(kTaskDetail, run.processNumber, run.env);
    // A child killed while it replaced a file left its fresh copy beside it.
    for (const std::string& folder : run.env.folders) {
        if (!folder.empty()) platform::RemoveOrphanedReplacements(folder);
    }
    common::MarkCtrRecEnd(run.processNumber, run.env, run.ctr, "Z");
    return true;
}

}  // namespace marketdata
