#pragma once
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <sys/types.h>
#include <vector>

#include "common/files/env_rec.h"
#include "common/logs/progress.h"
#include "common/tasks/task_records.h"
#include "platform/activity_watch.h"

namespace common {

// What the controller knows of one task between its reports.
enum class TaskPhaseOfRun { Idle, Starting, Running };

// What a run does for a task that is done while other tasks still run:
// called between passes, once for each task whose child has ended after
// reporting it done ("Z").
using DoneTaskWork = std::function<void(long taskSequence)>;

// The live state of one split run in the parent.
struct SplitRunState {
    long processNumber = 0;
    TSCRec control;
    std::vector<TSDRec> tasks;          // by task sequence; [0] unused
    std::vector<TaskPhaseOfRun> phase;  // by task sequence; [0] unused
    std::vector<bool> slotTaken;        // by slot; [0] unused
    struct Child {
        pid_t pid = 0;
        bool ended = false;  // reaped: its pid may already belong to another process
    };
    std::map<long, Child> children;  // task sequence -> child process still to be accounted for
    std::vector<pid_t> superseded;   // children of restarted tasks, still to be reaped
    long parallelism = 1;
    long errorCount = 0;
    long idleCount = 1;
    std::unique_ptr<platform::ActivityWatch> watch;  // reports and child ends, to react at once
    DoneTaskWork doneTaskWork;
    std::vector<bool> handedOver;  // by task sequence: done task given to doneTaskWork
};

// Runs the split run of a process number to its end: takes the run over from
// any child of an earlier parent, starts the parts as child copies of the
// program, folds their reports into the task files, passes a cancel on as
// stop requests and restarts failed parts. A cancel, or a run that cannot be
// taken over, leaves the cancel flag set. A cancel pressed before the call,
// or the cancel mark of the settings that the children obey, ends the run
// without starting a child. `doneTaskWork`, when given, runs between passes
// for the tasks done while others still run.
void CCTSC50M(long processNumber, EnvRec& env, MSGRec& msg, const DoneTaskWork& doneTaskWork = {});

// Starts the first startable task whose letter is `status`; true when one was started.
bool CCTSC501(const std::string& status, SplitRunState& run, EnvRec& env);

// Writes a stop request for every running task.
bool CCTSC502(EnvRec& env, SplitRunState& run);

// The child's command line words after the executable: token, process, task.
std::vector<std::string> ChildArguments(long processNumber, long taskSequence);

}  // namespace common
