#include "common/tasks/split_run_controller.h"

#include "common/tasks/child_mode.h"
#include "common/files/data_file.h"
#include "common/files/file_ops.h"
#include "common/files/file_registry.h"
#include "common/tasks/live_children.h"
#include "common/logs/logs.h"
#include "common/logs/message_box.h"
#include "common/procedure_guard.h"
#include "common/startup/run_env.h"
#include "common/run_state.h"
#include "common/settings/settings.h"
#include "common/tasks/task_files.h"
#include "common/tasks/task_lock.h"
#include "common/screens/ui_seam.h"
#include "common/tasks/waits.h"
#include "platform/child_process.h"
#include "platform/clock.h"
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

constexpr long kRunReport = 111;
constexpr long kStopRequest = 113;
constexpr long kEndReport = 114;

// The report files of one kind ("TSDRUN" / "TSDDON") for this process, in name order.
std::vector<std::string> Reports(const char* stem, long processNumber, const EnvRec& env) {
    const std::string folder = env.folder(Folder::Temp);
    std::vector<std::string> paths;
    for (const std::string& name : platform::ListMatching(folder, stem + Format(processNumber, "000") + "*.dat")) {
        paths.push_back(folder + "/" + name);
    }
    return paths;
}

std::string ReportPath(long fileNumber, long processNumber, long sequence, EnvRec& env) {
    return CFFIL02M({fileNumber, processNumber, sequence, "S", CFFIL03M(fileNumber)}, env);
}

void CountFailure(SplitRunState& run) {
    ++run.control.FailedCount;
    ++run.errorCount;
}

void Warn(const std::string& text) {
    WriteErrorLog(State().errorLogOn, "CCTSC50M", log_tag::kWarning, "00", text);
}

// Counts the task out of its phase: starting (no run report yet) or running.
void LeavePhase(SplitRunState& run, long sequence) {
    TaskPhaseOfRun& phase = run.phase[static_cast<std::size_t>(sequence)];
    if (phase == TaskPhaseOfRun::Starting) --run.control.StartingCount;
    if (phase == TaskPhaseOfRun::Running) --run.control.RunningCount;
    phase = TaskPhaseOfRun::Idle;
}

// Folds one report into the task's entry and file. A run report moves the
// task from starting to running (or failed); an end report ends it.
void ApplyReport(SplitRunState& run, EnvRec& env, const TSDRec& report, bool endReport) {
    const long sequence = report.TaskSequence;
    TSDRec& task = run.tasks[static_cast<std::size_t>(sequence)];
    const std::string status = report.TaskStatus;
    task = report;
    LeavePhase(run, sequence);
    if (!endReport && status == "B") {
        ++run.control.RunningCount;
        run.phase[static_cast<std::size_t>(sequence)] = TaskPhaseOfRun::Running;
    } else if (status == "E") {
        CountFailure(run);
        FreeSlot(run, task);
    } else if (endReport && (status == "S" || status == "Z")) {
        ++(status == "S" ? run.control.SuspendedCount : run.control.DoneCount);
        FreeSlot(run, task);
    } else {
        StatusError();
    }
    CFTSD50M(run.processNumber, sequence, env, task);
}

// Takes one report file. Only the child this run started for the task can
// have written it (the task lock sees to that); a report for a task that no
// child of this run works on is dropped.
void TakeReport(SplitRunState& run, EnvRec& env, const std::string& path, bool endReport) {
    TSDRec report;
    const bool read = CFTSD10M(0, path, 0, 0, "", env, report);
    const long sequence = report.TaskSequence;
    if (!read || !InRange(run, sequence)) {
        Warn("不正な報告ファイル: " + path);
    } else if (run.phase[static_cast<std::size_t>(sequence)] == TaskPhaseOfRun::Idle) {
        Warn("起動していないタスクの報告を無視しました: " + path);
    } else {
        if (endReport && run.phase[static_cast<std::size_t>(sequence)] == TaskPhaseOfRun::Starting) {
            // The run report came after this pass listed them: it goes first.
            const std::string runReport = ReportPath(kRunReport, run.processNumber, sequence, env);
            if (platform::FileExists(runReport)) TakeReport(run, env, runReport, false);
        }
        if (run.phase[static_cast<std::size_t>(sequence)] != TaskPhaseOfRun::Idle) {
            ApplyReport(run, env, report, endReport);
        }
    }
    CFFIL70M(path);
}

// Takes every report on disk, run reports before end reports; true when there was one.
bool TakeReports(SplitRunState& run, EnvRec& env) {
    bool any = false;
    for (const auto& [stem, endReport] : {std::pair{"TSDRUN", false}, std::pair{"TSDDON", true}}) {
        for (const std::string& path : Reports(stem, run.processNumber, env)) {
            if (!platform::FileExists(path)) continue;  // taken early with its end report
            TakeReport(run, env, path, endReport);
            any = true;
        }
    }
    return any;
}

// A child that ended without its reports fails its task, so that no parent
// waits for a dead child. Reports still on disk are taken first. True when a
// child was accounted for.
bool AccountForEndedChildren(SplitRunState& run, EnvRec& env) {
    std::erase_if(run.superseded, [](pid_t pid) { return ReapIfEnded(pid); });
    bool any = false;
    for (auto it = run.children.begin(); it != run.children.end();) {
        const long sequence = it->first;
        SplitRunState::Child& child = it->second;
        if (!child.ended) child.ended = ReapIfEnded(child.pid);
        if (!child.ended || platform::FileExists(ReportPath(kRunReport, run.processNumber, sequence, env)) ||
            platform::FileExists(ReportPath(kEndReport, run.processNumber, sequence, env))) {
            ++it;
            continue;
        }
        const TaskPhaseOfRun phase = run.phase[static_cast<std::size_t>(sequence)];
        if (phase != TaskPhaseOfRun::Idle) {
            Warn("子プロセスが報告なしで終了しました: タスク" + Format(sequence, "000"));
            TSDRec report = run.tasks[static_cast<std::size_t>(sequence)];
            report.TaskStatus = "E";
            ApplyReport(run, env, report, true);
        }
        run.watch->ForgetProcess(child.pid);
        it = run.children.erase(it);
        any = true;
    }
    return any;
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

// Starts one task, suspended ones first, then waiting, then failed ones
// again; true when one was started.
bool StartOne(SplitRunState& run, EnvRec& env) {
    TSCRec& c = run.control;
    for (auto [status, count] : {std::pair{"S", &c.SuspendedCount}, std::pair{"0", &c.WaitingCount},
                                 std::pair{"E", &c.FailedCount}}) {
        if (*count < 1) continue;
        if (!CCTSC501(status, run, env)) return false;
        --*count;
        return true;
    }
    return false;
}

// Fills every free place: a child for each task that may start now, up to
// the parallelism.
void StartFreeTasks(SplitRunState& run, EnvRec& env) {
    const TSCRec& c = run.control;
    for (long free = run.parallelism - c.StartingCount - c.RunningCount; free > 0; --free) {
        if (!StartOne(run, env)) return;
    }
}

// A run taken up again: what its files say was running has no child of this
// run, so it is suspended and started again; reports and stop requests left
// by earlier children are dropped.
void TakeUpTasks(SplitRunState& run, EnvRec& env) {
    for (const long fileNumber : {kRunReport, kStopRequest, kEndReport}) CFFIL75M(fileNumber, run.processNumber, env);
    for (std::size_t i = 1; i < run.tasks.size(); ++i) {
        TSDRec& task = run.tasks[i];
        if (task.TaskStatus != "B") continue;
        Warn("実行中のまま残ったタスクを中断扱いにしました: タスク" + Format(static_cast<long>(i), "000"));
        task.TaskStatus = "S";
        CFTSD50M(run.processNumber, static_cast<long>(i), env, task);
    }
}

// Children that sent their end report may still be closing down: they are
// waited for a moment and reaped, so that none is left behind as a zombie
// or still holding its task when the run is taken up again.
void ReapChildren(SplitRunState& run) {
    constexpr double kClosingSeconds = 5.0;
    const double end = platform::MonotonicSeconds() + kClosingSeconds;
    for (;;) {
        std::erase_if(run.superseded, [](pid_t pid) { return ReapIfEnded(pid); });
        std::erase_if(run.children, [&](const auto& entry) {
            const bool ended = entry.second.ended || ReapIfEnded(entry.second.pid);
            if (ended) run.watch->ForgetProcess(entry.second.pid);
            return ended;
        });
        if ((run.children.empty() && run.superseded.empty()) || platform::MonotonicSeconds() >= end) return;
        WaitForActivity(*run.watch, 0.05f);
    }
}

enum class BetweenPasses { Activity, Quiet, Worked };

// Between passes: the run's work for one task that is done, without a wait,
// while there is such a task; else a wait of `seconds` that ends at a report
// or a child's end.
BetweenPasses WaitBetweenPasses(SplitRunState& run, float seconds) {
    if (run.doneTaskWork && !State().CancelRequested) {
        for (std::size_t i = 1; i < run.tasks.size(); ++i) {
            const long sequence = static_cast<long>(i);
            if (run.handedOver[i] || run.tasks[i].TaskStatus != "Z" || run.children.contains(sequence)) continue;
            run.handedOver[i] = true;
            run.doneTaskWork(sequence);
            return BetweenPasses::Worked;
        }
    }
    return WaitForActivity(*run.watch, seconds) ? BetweenPasses::Activity : BetweenPasses::Quiet;
}

// Reacts to every report and every child's end as it comes; a quiet pass
// waits 0.2 s, and after 49 quiet passes 10 s, for the next one.
void RunPasses(SplitRunState& run, EnvRec& env, MSGRec& msg) {
    RunState& state = State();
    TSCRec& c = run.control;
    for (;;) {
        // The children stop on the cancel mark of the settings: a parent
        // that went on without it would restart them for ever.
        if (!state.CancelRequested && ReadSetting("MirControl\\Common\\Cancel") == "1") state.CancelRequested = true;
        const bool reported = TakeReports(run, env);
        if (AccountForEndedChildren(run, env) || reported) run.idleCount = 1;

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
        } else {
            StartFreeTasks(run, env);
        }
        float wait = 0.2f;
        msg.LabelText3 = "\r\n";
        if (run.idleCount >= 50) {
            msg.LabelText3 = "待機時間延長中\r\n";
            wait = 10.0f;
            run.idleCount = 50;
        }
        switch (WaitBetweenPasses(run, wait)) {
            case BetweenPasses::Activity: run.idleCount = 1; break;
            case BetweenPasses::Quiet: ++run.idleCount; break;
            case BetweenPasses::Worked: break;
        }
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
            // Its end no longer concerns the run: it is not watched.
            const auto previous = run.children.find(sequence);
            if (previous != run.children.end()) {
                run.watch->ForgetProcess(previous->second.pid);
                if (!previous->second.ended) run.superseded.push_back(previous->second.pid);
            }
            run.children[sequence] = {*child, false};
            NoteLiveChild(*child);
            run.watch->WatchProcess(*child);
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

void CCTSC50M(long processNumber, EnvRec& env, MSGRec& msg, const DoneTaskWork& doneTaskWork) {
    FunctionIdGuard guard("CCTSC50M");
    msg.ButtonsOn = true;

    SplitRunState run;
    run.processNumber = processNumber;
    if (!CFTSC10M(processNumber, env, run.control)) {
        const std::string text = "アプリケーションエラー（制御情報が存在しません）　";
        LogProcIdxLine(text, 16, "CCTSC50M", processNumber,
                       platform::TrappedError(0, text, "CCTSC50M"));
        ShowResetAdviceMessage(text, 16);
    } else if (!TakeOverTasks(processNumber, run.control.TaskCount, env)) {
        // Left as it is: a later call takes the run up again.
        State().CancelRequested = true;
    } else {
        run.watch = std::make_unique<platform::ActivityWatch>(
            env.folder(Folder::Temp),
            std::vector<std::string>{"TSDRUN" + Format(processNumber, "000"), "TSDDON" + Format(processNumber, "000")});
        run.parallelism = ReadSettingLong(State().isKorvane ? "MirControl\\Common\\MultiTaskKsn"
                                                            : "MirControl\\Common\\MultiTask");
        if (run.parallelism < 1) run.parallelism = 1;
        const long count = run.control.TaskCount;
        run.tasks.assign(static_cast<std::size_t>(count < 0 ? 0 : count) + 1, TSDRec{});
        run.phase.assign(run.tasks.size(), TaskPhaseOfRun::Idle);
        run.handedOver.assign(run.tasks.size(), false);
        run.doneTaskWork = doneTaskWork;
        long slots = run.control.SlotCount;
        for (long i = 1; i <= count; ++i) {
            TSDRec& task = run.tasks[static_cast<std::size_t>(i)];
            CFTSD10M(102, "", processNumber, i, "", env, task);
            task.TaskSequence = static_cast<std::int32_t>(i);
            if (task.TaskSlot > slots) slots = task.TaskSlot;
        }
        run.slotTaken.assign(static_cast<std::size_t>(slots < 0 ? 0 : slots) + 1, false);
        TakeUpTasks(run, env);
        CountLetters(run);
        // No child of this call is starting yet; a count left by a crashed
        // run would otherwise keep every task from starting.
        run.control.StartingCount = 0;
        RunPasses(run, env, msg);
        ReapChildren(run);
        CFTSC50M(processNumber, "", env, run.control);
    }
    CFFIL75M(113, processNumber, env);
    CFFIL75M(114, processNumber, env);
    msg.LabelText2.clear();
    msg.LabelText3.clear();
}

}  // namespace common
