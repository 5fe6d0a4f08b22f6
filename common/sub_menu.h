#pragma once

#include "common/env_rec.h"
#include "common/task_records.h"

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

}  // namespace common
