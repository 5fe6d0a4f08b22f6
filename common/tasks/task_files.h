#pragma once
#include <string>

#include "common/files/env_rec.h"
#include "common/tasks/task_records.h"

namespace common {

// Task-control file (file number 100) of a split run.
bool CFTSC10M(long processNumber, EnvRec& env, TSCRec& rec);
void InitTaskControlRec(long processNumber, long taskCount, const EnvRec& env, TSCRec& rec);
bool CFTSC50M(long processNumber, const std::string& ignored, EnvRec& env, const TSCRec& rec);

// Task-detail file (102) and the status files (111 run report, 113 stop
// request, 114 end report). Every file appears under its name only complete.
bool CFTSD10M(long fileNumber, const std::string& path, long processNumber, long taskSequence,
              const std::string& namePart, EnvRec& env, TSDRec& rec);
bool CFTSD11M(long fileNumber, const std::string& path, long ignored1, long ignored2, const std::string& namePart,
              EnvRec& env, const TSDRec& rec);
// Whether a child's task is to stop before its next unit of work: the user's
// cancel (Common\Cancel "1") or the parent's suspension request (113).
bool TaskStopRequested(EnvRec& env, const TSDRec& task);
void InitTaskDetailRec(long processNumber, long taskSequence, const EnvRec& env, const TSCRec& control, TSDRec& rec);
bool CFTSD50M(long processNumber, long taskSequence, EnvRec& env, const TSDRec& rec);
bool CFTSD70M(long fileNumber, long processNumber, long taskSequence, const std::string& namePart,
              const std::string& ignored, const std::string& status, EnvRec& env, const TSDRec& rec);
void SetTaskDetailStatus(long fileNumber, const std::string& namePart, const std::string& status, EnvRec& env,
                         TSDRec& rec);

}  // namespace common
