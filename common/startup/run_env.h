#pragma once
#include <optional>
#include <string>

#include "common/files/env_rec.h"
#include "platform/date.h"

namespace common {

// Full set-up of the run environment: command line, program folder, the data
// tree beside it (created where missing) and the number of parallel tasks.
void CCENV00M(EnvRec& env);

// Reads the process's command line into the argument fields.
void CCENV10M(EnvRec& env);

// Per-task paths: work folder Temp/Htm<ppp><ssss>, run and error logs, and the
// page-fetch work files of the task.
void SetTaskWorkPaths(long processNumber, long taskSequence, EnvRec& env);

// The work folder of a task: Temp/Htm<ppp><ssss>.
std::string TaskWorkFolder(const EnvRec& env, long processNumber, long taskSequence);

// Removes a work folder with every file its processes left in it (the work
// files and fresh copies of a killed child among them). TrappedError when a
// file or the folder cannot be removed.
void RemoveWorkFolder(const std::string& folder);

// Creates the missing folders of the data tree.
void CFDIR11M(EnvRec& env);

// Creates base + namePart when it is missing (one level; the parent must exist).
void CFDIR21M(const std::string& base, const std::string& namePart, const std::string& ignored, int attribute);

// Removes the folder base + namePart when it exists.
void CFDIRD0M(const std::string& base, const std::string& namePart, const std::string& ignored, int attribute);

// Last-modified date and time of a file; a missing file is error 53.
platform::DateTime CFILUD0M(const std::string& path);

// Whether the data file exists, with its last-modified time when it does.
bool GetDataFileDate(long fileNumber, long processNumber, long sequence, const std::string& namePart,
                     const std::string& extension, platform::DateTime& dateTime, EnvRec& env);

// The current date as yyyymmdd and time as hhmmss.
void GetNowNumbers(long& date, long& time);

// Writes 1000 random letters and digits, no two neighbours equal, to Rnd.txt
// in the current folder.
void CCRND000();

// The program folder: the folder of the running executable unless set.
std::string ProgramFolder();

}  // namespace common
