#include "common/startup/sub_menu.h"

#include <string>

#include "common/logs/logs.h"
#include "common/logs/message_box.h"
#include "common/startup/process_context.h"
#include "common/procedure_guard.h"
#include "common/startup/program_parts.h"
#include "common/logs/progress.h"
#include "common/startup/run_env.h"
#include "common/run_state.h"
#include "common/tasks/task_files.h"
#include "common/screens/ui_seam.h"
#include "platform/number_format.h"
#include "platform/trapped_error.h"

namespace common {

namespace {

constexpr const char* kChildForm = "FormProgress2";

}  // namespace

CollectorChoice ChooseCollector(long processIndex, long countryIndex) {
    struct Row {
        long processIndex;
        long countryIndex;  // 0: any of 1..7
        const char* collector;
        bool passProcessNumber;
    };
    static constexpr Row kTable[] = {
        {1, 1, "AHPJP30M", false}, {1, 2, "AHPJP30M", false}, {1, 3, "AHPJP30M", false},
        {4, 1, "ALSJP30M", true},  {4, 2, "ALSCN30M", true},  {4, 3, "AL2US30M", true},
        {5, 1, "ACPJP30M", false}, {5, 2, "ACPCN30M", false}, {6, 1, "ARPJP30M", false},
        {6, 2, "ARPCH30M", false}, {6, 3, "ARPUS30M", false}, {7, 1, "AMLTX30M", false},
        {11, 0, "AEXCG30M", false},
    };
    CollectorChoice choice;
    for (const Row& row : kTable) {
        if (row.processIndex != processIndex) continue;
        choice.processKnown = true;
        const bool country = row.countryIndex == 0 ? countryIndex >= 1 && countryIndex <= 7
                                                   : row.countryIndex == countryIndex;
        if (country) {
            choice.collector = row.collector;
            choice.passProcessNumber = row.passProcessNumber;
            return choice;
        }
    }
    return choice;
}

void ReportTaskFailed(TSDRec& task, EnvRec& env, long errorNumber) {
    const std::string& phase = State().TaskPhase;
    if (phase == "02") return;  // the task has already sent its end report
    task.VbErrorCode = static_cast<std::int32_t>(errorNumber);
    SetTaskDetailStatus(phase == "00" ? 111 : 114, "S", "E", env, task);
}

void RemoveTaskWorkFolder(const EnvRec& env) {
    try {
        RemoveWorkFolder(env.folder(Folder::Work));
    } catch (const platform::TrappedError& error) {
        // A work folder left behind is tidied by the next reset; the task itself is done.
        WriteErrorLog(State().errorLogOn, "SubMenu", log_tag::kWarning, "00", error.description());
    }
}

void LogChoiceError(const std::string& message, long processIndex, long countryIndex) {
    const RunState& state = State();
    WriteErrorLog(state.errorLogOn, state.procedureId, log_tag::kErrApl, "01",
                  state.procedureId + "(1)：SubMenu　" + message);
    WriteErrorLog(state.errorLogOn, state.procedureId, log_tag::kErrApl, "01",
                  state.procedureId + "(1)：  wProcIdx=" + std::to_string(processIndex) +
                      "  wCountryIdx=" + std::to_string(countryIndex));
    ShowAppErrorMessage(message, 16);
}

ChildProcess BeginChildTask(long processNumber, long taskSequence, TSDRec& task, EnvRec& env, MSGRec& msg) {
    env.runMode = 2;
    env.MainPath = task.MainPath;
    env.TaskPath = task.TaskPath;
    SetTaskWorkPaths(processNumber, taskSequence, env);
    State().CancelRequested = false;

    msg.ProgressForm = &Ui().progress->Show(kChildForm);
    msg.lngDenominator = 1;
    msg.lngNumerator = 1;
    msg.DisplayOn = true;
    ShowProgress(msg);
    SetTaskWorkPaths(processNumber, taskSequence, env);

    const std::string digits = platform::FormatNumber(static_cast<double>(processNumber), "0000");
    ChildProcess child;
    child.processIndex = std::stol(digits.substr(0, digits.size() - 1));
    child.countryIndex = child.processIndex == 11 ? taskSequence : digits.back() - '0';
    SetProcessContext(child.processIndex, child.countryIndex);
    return child;
}

void EndChildTask(const EnvRec& env) {
    Ui().progress->Unload(kChildForm);
    RemoveTaskWorkFolder(env);
}

void FailChildTask(TSDRec& task, EnvRec& env, const platform::TrappedError& trapped) {
    LogVbError("ＶＢエラーを検出しました。　", 16, "SubMenu", trapped);
    ReportTaskFailed(task, env, trapped.number());
    WriteAbendLine("SubMenu");
    EndProgram();
}

void SubMenu(long processNumber, long taskSequence, TSDRec& task, EnvRec& env) {
    ProcedureIdGuard guard("SubMenu");
    platform::TrappedError trapped(0, "", "SubMenu");
    try {
        MSGRec msg;
        const ChildProcess child = BeginChildTask(processNumber, taskSequence, task, env, msg);
        const CollectorChoice choice = ChooseCollector(child.processIndex, child.countryIndex);
        if (!choice.processKnown) {
            // No collector will ever report for this task: it fails below
            // rather than leave the parent waiting for a report that cannot come.
            LogChoiceError("アプリケーションエラー（処理の選択エラー）　", child.processIndex, child.countryIndex);
            RemoveTaskWorkFolder(env);
        } else if (choice.collector != nullptr) {
            const auto collector = Parts().collectors.find(choice.collector);
            const long first = choice.passProcessNumber ? processNumber : child.processIndex;
            if (collector != Parts().collectors.end() && collector->second(first, "", env, msg, task)) {
                EndChildTask(env);
                return;
            }
        } else {
            LogChoiceError("アプリケーションエラー（国の選択エラー）　", child.processIndex, child.countryIndex);
        }
    } catch (const platform::TrappedError& error) {
        trapped = error;
    }
    FailChildTask(task, env, trapped);
}

}  // namespace common
