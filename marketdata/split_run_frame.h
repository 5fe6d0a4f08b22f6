#pragma once
#include <map>
#include <span>
#include <string>
#include <vector>

#include "common/files/env_rec.h"
#include "common/logs/progress.h"
#include "common/tasks/ctr_file.h"
#include "common/tasks/task_records.h"
#include "marketdata/code_master.h"

namespace marketdata {

// What the steps of a run over the companies of one country share, when the
// companies are split into parts that child copies of the program work on.
struct SplitRun {
    const char* ownId = "";
    long processNumber = 0;
    std::string processName;
    std::string country;
    common::EnvRec env;
    common::MSGRec msg;
    common::CtrRec ctr;
    // By task sequence: the lines of the lists of parts that were done while
    // other parts still ran, made whole and read then for the gathering.
    std::map<long, std::vector<std::string>> partListsAhead;
};

// One step; false stops the run, leaving it recorded at this step.
using SplitRunStep = bool (*)(SplitRun&);

// The steps of a run kind, in order, and how its step list is shown.
struct SplitRunKind {
    std::span<const SplitRunStep> steps;
    // Fills the progress record with the step list, "00".."nn" being current.
    void (*showSteps)(common::MSGRec& msg, const std::string& step);
    // Called before step 01 of a new run (not on a resume); may be null.
    void (*atNewRun)();
};

// The run of the current process context: its start and end lines, its
// progress form, and the processing-control record deciding between a new
// run and the resume of an interrupted one at its recorded step. Each step is
// logged, shown and recorded as it starts. A status or step the record cannot
// hold is the fatal control error. True when the run came to its end.
bool RunSplitRun(const char* ownId, const SplitRunKind& kind);

// Shows the step list: one line per step, "■　" before the lines done, "　⇒"
// before line `current` (1-based) and "□　" before those to come, with the
// caption.
void ShowStepList(common::MSGRec& msg, const std::string& caption, std::span<const std::string> lines,
                  long current);

// A part of the split run as its task record names it; without a record, by
// its place in the run.
struct SplitRunPart {
    long procIdx = 0;
    long sequence = 0;
    std::string status;
};
SplitRunPart ReadSplitRunPart(SplitRun& run, long sequence);

// The part's company-list work file: the part's list with ".tmp", to which
// the part's child appends each company once it is done.
std::string PartWorkFilePath(common::EnvRec& env, long procIdx, long taskSeq);

// Makes a part's company list whole again after an interrupted part run: the
// work file is cut back to whole lines (a line cut short by a killed child
// would drop its company from the list; without its line the company is
// done again) and folded into the list. Nothing to do when it is missing.
void RecoverPartList(common::EnvRec& env, common::MSGRec& msg, long procIdx, long taskSeq);

// A child's progress over the companies of its part: company i of n, by its
// code and name, in the caption's whole percentage and the text.
void ShowCompanyProgress(common::MSGRec& msg, const CdmRec& company, long i, long n);

// The task-control record of the run; a missing one is reported as the
// application error it is (log line and box).
bool ReadTaskControl(SplitRun& run, common::TSCRec& control);

// The warning box of a run that finds no company to work on, with its advice.
void ShowNoCompanyWarning();

// Step 01 of every such run: the country's companies split into parts
// (false, after the no-company warning, when there is none).
bool SplitCompaniesIntoParts(SplitRun& run);

// The parts' run and error logs appended to the run's own.
void GatherPartLogs(SplitRun& run);

// Shows `warning`, gathers the part logs and gives false: a run that stops
// here resumes at the same step.
bool StopSplitRun(SplitRun& run, const std::string& warning);

// Frees the parts that children of a dead earlier run may still hold, then
// runs `recoverPart` on every part (showing their preparation) and the
// children on the parts that are not done; `logStages` logs the start of
// each of the two. While the children work, the lists of the parts already
// done are gathered ahead. False after a cancel (or when the parts could not
// be taken over), with `stopWarning` shown.
bool RunPartsInChildren(SplitRun& run, void (*recoverPart)(SplitRun& run, const SplitRunPart& part),
                        const std::string& stopWarning, bool logStages = false);

// Gathers the parts' files of `fileNumber` with `partExtension` (blank: the
// number's default), each made whole first by `recoverPart`, into the run's
// work file of that number (process 0, sequence 0, ".tmp") without deleting
// them: a repeat finds them again. The parts in `ahead` give the lines read
// there instead.
bool GatherPartFiles(SplitRun& run, long fileNumber, const std::string& partExtension,
                     void (*recoverPart)(SplitRun& run, const SplitRunPart& part),
                     const std::map<long, std::vector<std::string>>& ahead = {});

// The commit point of the parts' company lists: their lines gathered into the
// code master's work file without deleting them, so a repeat of this step
// finds them again until the next step is recorded; the part logs gathered.
bool GatherPartLists(SplitRun& run);

// Applies the gathered lists to the code master and the country's name index,
// then deletes the part lists. Repeatable: a repeat finds nothing pending.
bool ApplyPartLists(SplitRun& run);

// Deletes the task-control and task-detail files, the tasks' work folders and
// what killed children left of their file replacements, and marks the run
// ended.
bool FinishSplitRun(SplitRun& run);

}  // namespace marketdata
