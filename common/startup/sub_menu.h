#pragma once

#include <string>

#include "common/files/env_rec.h"
#include "common/logs/progress.h"
#include "common/tasks/task_records.h"

namespace platform {
class TrappedError;
}

namespace common {

// The collection program's child dispatcher: runs the collector of the
// task's process and country, and marks the task failed when that fails.
void SubMenu(long processNumber, long taskSequence, TSDRec& task, EnvRec& env);

// The collector of (process index, country index) and its first argument,
// or an empty name when the process index has no collector ("process") or
// the country is not listed for it ("country").
struct CollectorChoice {
    const char* collector = nullptr;
    bool passProcessNumber = false;  // first argument: process number, else process index
    bool processKnown = false;
};
CollectorChoice ChooseCollector(long processIndex, long countryIndex);

// The report a failed child leaves: "E" through the run-status file while
// the task has not reported running, else through the done-status file;
// nothing once the task has sent its end report.
void ReportTaskFailed(TSDRec& task, EnvRec& env, long errorNumber);

// The steps every child dispatcher shares, for both programs.

// The start of a child task: run mode 2, the task's paths, the cancel flag
// cleared, the child's progress dialog drawn at one step of one (into `msg`),
// and the process context of the process number. Its process index and
// country index (for process index 11 the task sequence).
struct ChildProcess {
    long processIndex = 0;
    long countryIndex = 0;
};
ChildProcess BeginChildTask(long processNumber, long taskSequence, TSDRec& task, EnvRec& env, MSGRec& msg);

// A task done: its progress dialog unloaded, its work folder removed.
void EndChildTask(const EnvRec& env);

// Removes the task's work folder with what earlier children of the task left
// in it; one left behind is only logged.
void RemoveTaskWorkFolder(const EnvRec& env);

// The two "E0:ErrApl " lines of a process or country without work, and the
// critical box with `message`.
void LogChoiceError(const std::string& message, long processIndex, long countryIndex);

// A failed child: the error dump, the task's failure report, the abend line,
// and the end of the program.
[[noreturn]] void FailChildTask(TSDRec& task, EnvRec& env, const platform::TrappedError& trapped);

}  // namespace common
