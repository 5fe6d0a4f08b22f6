#pragma once
#include <span>
#include <string>

#include "common/logs/progress.h"

namespace common {

// Writers take the lines to write (a whole vector or the part of it in use)
// and add CR LF to each; text is UTF-8 in memory and CP932 on disk. Failures
// of the platform raise a TrappedError to the caller.

// Replaces the file with the lines; readers see the old file or the whole new
// one, never a part. No lines leave an empty file.
void CFFIL30M(std::span<const std::string> lines, const std::string& path);

// Replaces the file with one line, keeping the write-step register of State()
// (errFileName, errStep "Open", "Print", "Close") current for the caller's
// error report.
void CFFIL31M(const std::string& text, const std::string& path);

// Appends the lines, creating the file when missing (empty when no lines).
void CFFIL32M(std::span<const std::string> lines, const std::string& path);

void AppendLineToFile(const std::string& path, const std::string& text);

// CFFIL30M with the progress display refreshed about once per hundredth of
// the lines; nothing at all is written when there is no line.
void CFFIL35M(MSGRec& msg, const std::string& path, std::span<const std::string> lines);

}  // namespace common
