#pragma once
#include <string>
#include <vector>

#include "common/files/env_rec.h"
#include "common/logs/progress.h"

namespace common {

// Data files named by file number, process index, sequence, name part and
// extension (the file-number registry maps them to folders and stems).

// The full path; an extension that is blank after trimming gives the number's
// default extension.
std::string BuildDataFilePath(long FNameIdx, long ProcIdx, long FNameSeq, const std::string& namePart,
                              const std::string& extension, EnvRec& env);

// True when the file exists; `path` is its path then, "" otherwise.
bool FindDataFile(long FNameIdx, long ProcIdx, long FNameSeq, const std::string& namePart,
                  const std::string& extension, EnvRec& env, std::string& path);

// Deletes every file of the number whose name starts with its stem and the
// process index (all sequences), writing debug lines under log switch 10.
void CFFIL75M(long FNameIdx, long ProcIdx, EnvRec& env);
// The same for the files of one sequence, without debug lines.
void CFFIL76M(long FNameIdx, long ProcIdx, long FNameSeq, EnvRec& env);

void DeleteDataFile(long FNameIdx, long ProcIdx, long FNameSeq, const std::string& namePart,
                    const std::string& extension, EnvRec& env);

// Reads the data file as one stage of the progress display; false when it is
// missing or has no line.
bool CFTMP10M(MSGRec& msg, long FNameIdx, long ProcIdx, long FNameSeq, const std::string& namePart,
              const std::string& extension, long expectedCount, EnvRec& env, std::vector<std::string>& lines);

// Writes the lines to the data file as one stage of the progress display;
// true when there was a line to write (no line writes nothing).
bool CFTMP30M(MSGRec& msg, long FNameIdx, long ProcIdx, long FNameSeq, const std::string& namePart,
              const std::string& extension, EnvRec& env, const std::vector<std::string>& lines);

}  // namespace common
