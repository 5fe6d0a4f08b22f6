#pragma once
#include <string>
#include <vector>

#include "common/logs/progress.h"

namespace common {

// Line arrays are vectors of lines without their line ends; the count is the
// size, and a read that finds no line leaves the vector empty. Readers replace
// the whole vector. Files are CP932 on disk and UTF-8 in memory.

// True when `path` is a file. Always records the path not found in
// State().missingFilePath (emptied first); with a label a missing file is also
// reported in the error log and in a critical box.
bool CFFIL10M(const std::string& path, const std::string& label);

// Every line of the file. A missing file raises error 53 (76 when its folder
// is missing) to the caller.
void CFFIL20M(const std::string& path, std::vector<std::string>& lines);

// The lines of the file when it exists; true when there is at least one.
bool CFFIL21M(const std::string& path, std::vector<std::string>& lines);

// The whole contents as one text, line ends kept; true when not empty.
bool CFFIL23M(const std::string& path, std::string& text);

// CFFIL20M with the progress display refreshed about once per hundredth of
// `expectedCount`. The caller sets the final numerator.
void CFFIL25M(MSGRec& msg, long expectedCount, std::vector<std::string>& lines, const std::string& path);

// Upper bound of a line array: its size, 0 when it has no line.
long UpperBoundOrZero(const std::vector<std::string>& lines);

}  // namespace common
