#include "common/split_run_controller.h"

#include "common/child_mode.h"
#include "common/data_file.h"
#include "common/file_ops.h"
#include "common/file_registry.h"
#include "common/logs.h"
#include "common/message_box.h"
#include "common/procedure_guard.h"
#include "common/run_env.h"
#include "common/run_state.h"
#include "common/settings.h"
#include "common/task_files.h"
#include "common/ui_seam.h"
#include "common/waits.h"
#include "platform/child_process.h"
#include "platform/file_system.h"
#include "platform/trapped_error.h"
#include "platform/number_format.h"

namespace common {

namespace {

std::string Format(long value, const char* format) { return platform::FormatNumber(static_cast<double>(value), format); }

bool InRange(const SplitRunState& run, long sequence) {
    return sequence >= 1 && sequence < static_cast<long>(run.tasks.size());
}

void FreeSlot(SplitRunState& run, const TSDRec& task) {
    if (task.TaskSlot >= 1 && task.TaskSlot < static_cast<long>(run.slotTaken.size())) {
        run.slotTaken[static_cast<std::size_t>(task.TaskSlot)] = false;
    }
}

[[noreturn]] void StatusError() { EndWithAppError("制御情報のステータス異常。　"); }

// The first report file of a kind ("TSDRUN" / "TSDDON") for this process, in name order.
std::string FirstReport(const std::string& stem, long processNumber, const EnvRec& env) {
    const std::string folder = env.folder(Folder::Temp);
    const std::string name = CFFIL11M(folder + "/" + stem + Format(processNumber, "000") + "*.dat");
    return name.empty() ? "" : folder + "/" + name;
}

bool ReportFileExists(long fileNumber, long processNumber, long sequence, EnvRec& env) {
    return platform::FileExists(CFFIL02M({fileNumber, processNumber, sequence, "S", CFFIL03M(fileNumber)}, env));
}

void CountFailure(SplitRunState& run) {
    ++run.control.FailedCount;
    ++run.errorCount;
}

// Folds one report into the task's entry and file. A run report moves the
// task from starting to running (or failed); an end report ends it.
void ApplyReport(SplitRunState& run, EnvRec& env, const TSDRec& report, bool endReport) {
    const long sequence = report.TaskSequence;
    TSDRec& task = run.tasks[static_cast<std::size_t>(sequence)];
    const std::string status = report.TaskStatus;
    task = report;
    if (!endReport) {
        --run.control.StartingCount;
        if (status == "B") {
            ++run.control.RunningCount;
            run.phase[static_cast<std::size_t>(sequence)] = TaskPhaseOfRun::Running;
        } else if (status == "E") {
            CountFailure(run);
            FreeSlot(run, task);
            run.phase[static_cast<std::size_t>(sequence)] = TaskPhaseOfRun::Idle;
        } else {
            StatusError();
        }
    } else {
        --run.control.RunningCount;
        FreeSlot(run, task);
        run.phase[static_cast<std::size_t>(sequence)] = TaskPhaseOfRun::Idle;
        if (status == "S") {
            ++run.control.SuspendedCount;
        } else if (status == "Z") {
            ++run.control.DoneCount;
        } else if (status == "E") {
            CountFailure(run);
        } else {
            StatusError();
        }
    }
    CFTSD50M(run.processNumber, sequence, env, task);
}

// Takes the first report of one kind, if any; true when one was taken.
bool TakeReport(SplitRunState& run, EnvRec& env, long fileNumber, const char* stem, bool endReport) {
    const std::string path = FirstReport(stem, run.processNumber, env);
    if (path.empty()) return false;
    TSDRec report;
    const bool read = CFTSD10M(fileNumber, path, 0, 0, "", env, report);
    if (read && InRange(run, report.TaskSequence)) {
        ApplyReport(run, env, report, endReport);
    } else {
        WriteErrorLog(State().errorLogOn, "CCTSC50M", log_tag::kWarning, "00", "不正な報告ファイル: " + path);
    }
    CFFIL70M(path);
    return true;
}

// A child that ended without its reports fails its task, so that no parent
// waits for a dead child. Reports still on disk are taken first.
void AccountForEndedChildren(SplitRunState& run, EnvRec& env) {
    std::erase_if(run.superseded, [](pid_t pid) { return platform::HasEnded(pid); });
    for (auto it = run.children.begin(); it != run.children.end();) {
        const long sequence = it->first;
        SplitRunState::Child& child = it->second;
        if (!child.ended) child.ended = platform::HasEnded(child.pid);
        if (!child.ended || ReportFileExists(111, run.processNumber, sequence, env) ||
            ReportFileExists(114, run.processNumber, sequence, env)) {
            ++it;
            continue;
        }
        const TaskPhaseOfRun phase = run.phase[static_cast<std::size_t>(sequence)];
        if (phase != TaskPhaseOfRun::Idle) {
            WriteErrorLog(State().errorLogOn, "CCTSC50M", log_tag::kWarning, "00",
                          "子プロセスが報告なしで終了しました: タスク" + Format(sequence, "000"));
            TSDRec report = run.tasks[static_cast<std::size_t>(sequence)];
            report.TaskStatus = "E";
            ApplyReport(run, env, report, phase == TaskPhaseOfRun::Running);
        }
        it = run.children.erase(it);
    }
}

std::string CountsText(const SplitRunState& run) {
    const TSCRec& c = run.control;
    return "\r\n　　タスク多重度=" + std::to_string(run.parallelism) + "\r\n　　待ちタスク数=" +
           std::to_string(c.WaitingCount) + "\r\n　　起動タスク数=" + std::to_string(c.RunningCount) +
           "\r\n　　完了タスク数=" + std::to_string(c.DoneCount) + "\r\n　　中断タスク数=" +
           std::to_string(c.SuspendedCount) + "\r\n　　異常タスク数=" + std::to_string(c.FailedCount) +
           "\r\n　　エラー発生数=" + std::to_string(run.errorCount) + "\r\n";
}

void CountLetters(SplitRunState& run) {
    TSCRec& c = run.control;
    c.WaitingCount = c.RunningCount = c.DoneCount = c.SuspendedCount = c.FailedCount = 0;
    for (std::size_t i = 1; i < run.tasks.size(); ++i) {
        const std::string& s = run.tasks[i].TaskStatus;
        if (s == "0") ++c.WaitingCount;
        if (s == "B") ++c.RunningCount;
        if (s == "Z") ++c.DoneCount;
        if (s == "S") ++c.SuspendedCount;
        if (s == "E") ++c.FailedCount;
    }
}

void StartOne(SplitRunState& run, EnvRec& env) {
    TSCRec& c = run.control;
    if (c.SuspendedCount >= 1) {
        if (CCTSC501("S", run, env)) --c.SuspendedCount;
    } else if (c.WaitingCount >= 1) {
        if (CCTSC501("0", run, env)) --c.WaitingCount;
    } else if (c.FailedCount >= 1) {
        if (CCTSC501("E", run, env)) --c.FailedCount;
    }
}

void RunPasses(SplitRunState& run, EnvRec& env, MSGRec& msg) {
    RunState& state = State();
    TSCRec& c = run.control;
    for (;;) {
        if (state.CancelRequested) WaitSeconds(0.5f);
        if (TakeReport(run, env, 111, "TSDRUN", false)) run.idleCount = 1;
        if (TakeReport(run, env, 114, "TSDDON", true)) run.idleCount = 1;
        AccountForEndedChildren(run, env);

        msg.LabelText2 = CountsText(run);
        if (run.errorCount > 50) {
            WriteSetting("MirControl\\Common\\Cancel", "1");
            CCTSC502(env, run);
            EndWithAppError("エラーが多発しています。　");
        }
        msg.lngDenominator = c.TaskCount;
        msg.lngNumerator = c.DoneCount;
        msg.DisplayOn = true;
        ShowProgress(msg);

        if (c.DoneCount >= c.TaskCount) return;
        const bool nothingRunning = c.DoneCount + c.WaitingCount + c.SuspendedCount + c.FailedCount >= c.TaskCount;
        if (nothingRunning && state.CancelRequested) return;
        if (state.CancelRequested) {
            run.idleCount = 1;
            CCTSC502(env, run);
        }
        if (run.idleCount >= 50) {
            msg.LabelText3 = "待機時間延長中\r\n";
            WaitSeconds(10.0f);
            run.idleCount = 50;
        } else {
            msg.LabelText3 = "\r\n";
            WaitSeconds(0.2f);
        }
        ++run.idleCount;
        if (state.CancelRequested || c.StartingCount > 0 || c.RunningCount >= run.parallelism) continue;
        StartOne(run, env);
    }
}

}  // namespace

std::vector<std::string> ChildArguments(long processNumber, long taskSequence) {
    return {kChildModeToken, Format(processNumber, "000"), Format(taskSequence, "000")};
}

bool CCTSC501(const std::string& status, SplitRunState& run, EnvRec& env) {
    for (std::size_t i = 1; i < run.tasks.size(); ++i) {
        TSDRec& task = run.tasks[i];
        const bool slotFree = task.TaskSlot < 1 || task.TaskSlot >= static_cast<long>(run.slotTaken.size()) ||
                              !run.slotTaken[static_cast<std::size_t>(task.TaskSlot)];
        if (task.TaskStatus != status || !slotFree) continue;
        task.TaskStatus = "0";
        const long sequence = static_cast<long>(i);
        const std::vector<std::string> arguments = ChildArguments(run.processNumber, sequence);
        WriteExecLog(LogSwitch(2), "CCTSC501", log_tag::kExec, "00",
                     State().ExeName + " " + arguments[0] + " " + arguments[1] + " " + arguments[2]);
        ++run.control.StartingCount;
        if (task.TaskSlot >= 1 && task.TaskSlot < static_cast<long>(run.slotTaken.size())) {
            run.slotTaken[static_cast<std::size_t>(task.TaskSlot)] = true;
        }
        run.phase[i] = TaskPhaseOfRun::Starting;
        const auto child = platform::StartProcess(ProgramFolder() + "/" + State().ExeName, arguments);
        if (child) {
            // A task restarted before its last child was reaped: that child still needs reaping.
            const auto previous = run.children.find(sequence);
            if (previous != run.children.end() && !previous->second.ended) {
                run.superseded.push_back(previous->second.pid);
            }
            run.children[sequence] = {*child, false};
        } else {
            // A child that cannot start reports nothing: fail its task at once.
            WriteErrorLog(State().errorLogOn, "CCTSC501", log_tag::kWarning, "00",
                          "子プロセスを起動できません: " + State().ExeName);
            TSDRec report = task;
            report.TaskStatus = "E";
            ApplyReport(run, env, report, false);
        }
        return true;
    }
    return false;
}

bool CCTSC502(EnvRec& env, SplitRunState& run) {
    for (std::size_t i = 1; i < run.tasks.size(); ++i) {
        const TSDRec& task = run.tasks[i];
        if (task.TaskStatus == "B") {
            CFTSD70M(113, task.ProcIdx, task.TaskSequence, "M", "", "S", env, task);
        }
    }
    return true;
}

void CCTSC50M(long processNumber, EnvRec& env, MSGRec& msg) {
    FunctionIdGuard guard("CCTSC50M");
    msg.ButtonsOn = true;
    State().CancelRequested = false;

    SplitRunState run;
    run.processNumber = processNumber;
    if (!CFTSC10M(processNumber, env, run.control)) {
        const std::string text = "アプリケーションエラー（制御情報が存在しません）　";
        LogProcIdxLine(text, 16, "CCTSC50M", processNumber,
                       platform::TrappedError(0, text, "CCTSC50M"));
        ShowResetAdviceMessage(text, 16);
    } else {
        run.parallelism = ReadSettingLong(State().isKorvane ? "MirControl\\Common\\MultiTaskKsn"
                                                            : "MirControl\\Common\\MultiTask");
        if (run.parallelism < 1) run.parallelism = 1;
        const long count = run.control.TaskCount;
        run.tasks.assign(static_cast<std::size_t>(count < 0 ? 0 : count) + 1, TSDRec{});
        run.phase.assign(run.tasks.size(), TaskPhaseOfRun::Idle);
        long slots = run.control.SlotCount;
        for (long i = 1; i <= count; ++i) {
            TSDRec& task = run.tasks[static_cast<std::size_t>(i)];
            CFTSD10M(102, "", processNumber, i, "", env, task);
            task.TaskSequence = static_cast<std::int32_t>(i);
            if (task.TaskSlot > slots) slots = task.TaskSlot;
        }
        run.slotTaken.assign(static_cast<std::size_t>(slots < 0 ? 0 : slots) + 1, false);
        CountLetters(run);
        // No child of this call is starting yet; a count left by a crashed
        // run would otherwise keep every task from starting.
        run.control.StartingCount = 0;
        RunPasses(run, env, msg);
        CFTSC50M(processNumber, "", env, run.control);
    }
    CFFIL75M(113, processNumber, env);
    CFFIL75M(114, processNumber, env);
    msg.LabelText2.clear();
    msg.LabelText3.clear();
}

}  // namespace common
