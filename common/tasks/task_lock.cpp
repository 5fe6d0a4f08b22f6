#include "common/tasks/task_lock.h"

#include "common/files/file_registry.h"
#include "common/logs/logs.h"
#include "common/run_state.h"
#include "common/tasks/waits.h"
#include "platform/child_process.h"
#include "platform/clock.h"
#include "platform/number_format.h"
#include "platform/process_lock.h"

namespace common {

namespace {

constexpr long kTaskLock = 115;
// How long a process that holds a task lock is given to end by itself, and
// then, ended at once, to be gone.
constexpr double kGraceSeconds = 2.0;
constexpr double kEndSeconds = 10.0;

std::string LockPath(long processNumber, long taskSequence, EnvRec& env) {
    return CFFIL02M({kTaskLock, processNumber, taskSequence, "", CFFIL03M(kTaskLock)}, env);
}

std::string TaskText(long taskSequence) {
    return "タスク" + platform::FormatNumber(static_cast<double>(taskSequence), "000");
}

// Waits until no process holds the lock at `path` or `seconds` have passed;
// false on a cancel.
bool WaitForRelease(const std::string& path, double seconds) {
    const double end = platform::MonotonicSeconds() + seconds;
    while (platform::ProcessLockHolder(path) != 0 && platform::MonotonicSeconds() < end) {
        WaitSeconds(0.01f);
        if (State().CancelRequested) return false;
    }
    return true;
}

}  // namespace

bool HoldTaskLock(long processNumber, long taskSequence, EnvRec& env) {
    const std::string path = LockPath(processNumber, taskSequence, env);
    const double end = platform::MonotonicSeconds() + kGraceSeconds + kEndSeconds;
    for (;;) {
        auto lock = platform::ProcessLock::TryTake(path);
        if (lock) {
            State().taskLock = std::move(lock);
            return true;
        }
        if (platform::MonotonicSeconds() >= end) break;
        platform::SleepMilliseconds(10);
    }
    WriteErrorLog(State().errorLogOn, State().procedureId, log_tag::kWarning, "00",
                  "タスクは別のプロセスが処理中です: " + TaskText(taskSequence));
    return false;
}

bool TakeOverTasks(long processNumber, long taskCount, EnvRec& env) {
    for (long sequence = 1; sequence <= taskCount; ++sequence) {
        const std::string path = LockPath(processNumber, sequence, env);
        if (!WaitForRelease(path, kGraceSeconds)) return false;
        const pid_t holder = platform::ProcessLockHolder(path);
        if (holder == 0) continue;
        WriteErrorLog(State().errorLogOn, State().functionId, log_tag::kWarning, "00",
                      "前回の子プロセスを終了させます: " + TaskText(sequence) + " pid=" + std::to_string(holder));
        platform::EndNow(holder);
        if (!WaitForRelease(path, kEndSeconds)) return false;
        if (platform::ProcessLockHolder(path) != 0) {
            WriteErrorLog(State().errorLogOn, State().functionId, log_tag::kWarning, "00",
                          "前回の子プロセスを終了できません: " + TaskText(sequence));
            return false;
        }
    }
    return true;
}

}  // namespace common
