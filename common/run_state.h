#pragma once
#include <array>
#include <cstddef>
#include <memory>
#include <set>
#include <sys/types.h>
#include <string>
#include <vector>

#include "common/files/analysis_record.h"
#include "common/files/env_rec.h"
#include "common/startup/process_context.h"
#include "platform/instance_lock.h"
#include "platform/process_lock.h"

namespace common {

// The process-wide values that every procedure of a program shares. They live
// here together so that nothing else in the program keeps global state.
struct RunState {
    std::string programTitle;  // "Mirelda" or "Korvane": caption of every message box
    bool isKorvane = false;    // the analysis program: its own registry entries and settings keys

    // Where the program runs from and how it was started. An empty program
    // folder means the folder of the running executable.
    std::string programFolder;
    std::string commandLine;  // the words after the executable name, joined by blanks

    std::string procedureId;  // driver that is running; named in every log line
    std::string functionId;   // library routine that is running

    // Current task of log lines and task files.
    long processNumber = 0;
    long taskSequence = 0;
    std::string taskSequenceText = "0";
    std::string workNamePart;  // "/Htm" + process "000" + sequence "0000"
    std::string runLogPath;
    std::string errorLogPath;
    std::array<std::string, 7> fetchWorkPaths{};  // [n] = file number 1000n, n = 1..6
    std::string fetchedPageFileName;
    std::string fetchedPageFolder;

    // Split runs: parallel tasks and the per-task path table (1-based; [0] unused).
    long taskCount = 1;
    long currentTask = 0;
    std::vector<std::string> taskPaths;

    // Log switches 1..17 ([0] unused) and the always-on error log.
    std::array<bool, 18> logSwitch{};
    bool errorLogOn = true;

    // The process that runs (set by the process table) and the last page fetched.
    ProcessContext context;
    std::string lastFetchUrl;
    std::string selectedStockKey;  // key line of the stock the analysis screens show, as last judged

    // File routines: the path the last existence test did not find, the
    // write-step register for error reports, and the listing started last.
    std::string missingFilePath;
    std::string errFileName;
    long errFileNumber = 0;
    std::string errStep;
    std::vector<std::string> listing;
    std::size_t listingNext = 0;

    bool busy = false;
    std::set<pid_t> liveChildren;  // child copies of split runs not yet reaped
    bool CancelRequested = false;
    std::string TaskPhase = "00";
    bool StartingUp = false;
    std::string ExeName;

    // The analysis information last loaded (files 30001 and 30002), shared by
    // the stock-analysis screens until the next rebuild; counts are the sizes.
    std::vector<AnalysisRec> analysisTable;
    std::vector<AnalysisRec> analysisIndexTable;

    EnvRec env;  // the program-wide copy kept by start-up
    std::shared_ptr<platform::InstanceLock> instanceLock;  // held by the interactive copy
    std::shared_ptr<platform::ProcessLock> taskLock;       // held by a child copy for its task
};

RunState& State();

}  // namespace common
