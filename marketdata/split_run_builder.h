#pragma once
#include <functional>
#include <string>

#include "common/files/env_rec.h"
#include "common/logs/progress.h"

namespace marketdata {

// Cuts `count` items, in order, into the parts of a split run of the process
// (common::ChunkCount items each for the parallelism): `writePart(sequence,
// first, last)` writes items first..last-1 (0-based) as part `sequence`, and
// the task-detail record of each part (slots 1, 2, ... up to env.taskCount,
// then 1 again) and the run's task-control record are written. The files
// that writePart replaces are flushed together with the task-detail records
// (platform::ReplaceGroup): all are in place before the task-control record
// is written, but writePart may not read back what it wrote. Leaves env in
// child-task mode (runMode 2, TaskPath the program folder).
void WriteSplitRunTasks(long processNumber, long count, long parallelism, common::EnvRec& env, common::MSGRec& msg,
                        const std::function<void(long sequence, long first, long last)>& writePart);

// Prepares a split run over the companies of `market` ("JPN", "CHN", "USA";
// categories "2000", "1000" and "0010") of the code master: deletes the older
// part lists and status files of the process, cuts the companies, in market,
// category and CorpCode order, into parts of common::ChunkCount size for the
// parallelism setting, and writes each part as code-master file 1 of the
// process with task sequence k (every company's Flag1 "1"), the task-detail
// record of each part (slots 1, 2, ... up to env.taskCount, then 1 again)
// and the task-control record of the process. Leaves env in child-task mode
// (runMode 2, TaskPath the program folder).
//
// `processNumber` is process index × 10 + country index, at least 1 (below
// that is an application error that ends the program, as the part lists
// could not be told from the master); `processName` names the run in log
// lines and the progress text. False, and no file deleted or
// written, when the code master is missing or has no company of the market.
bool CFCDM82M(long processNumber, long ignored1, const std::string& processName, const std::string& market,
              common::EnvRec& env, common::MSGRec& msg, const std::string& ignored2);

}  // namespace marketdata
