#pragma once
#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace common {

// The byte level shared by the text-file routines: CP932 with CR LF on disk,
// UTF-8 in memory, and every platform failure raised as a TrappedError
// (53 file not found, 76 path not found, 75 access, 61 disk full).

// Called with the number of lines done so far, before the next one.
using LineProgress = std::function<void(std::size_t linesDone)>;

// Lines between two progress refreshes: a hundredth of `count` rounded half to
// even, at least 1.
long LineProgressStep(long count);

// Raises the TrappedError of a failed operation on `path`.
[[noreturn]] void RaiseFileFailure(const std::error_code& error, const std::string& path, const char* source);

std::string ReadFileBytes(const std::string& path);
// Opens for appending (creating a missing file), writes, closes; a failed
// write takes the file back to its old length.
void AppendFileBytes(const std::string& path, std::string_view bytes);

// Cuts the file back to its whole lines: a line a killed writer left without
// its line end would otherwise run into the next line appended. Nothing to do
// when the file is missing or ends with a line end.
void CutToWholeLines(const std::string& path);

// Text of the file's bytes; invalid CP932 bytes read as "?" and are reported
// in one warning line naming `path`.
std::string DecodeText(std::string_view bytes, const std::string& path);

// The one warning line of DecodeText and DecodeLines for `count` bytes read
// as "?"; nothing for none. For readers that decode the lines themselves.
void ReportUnreadableBytes(std::size_t count, const std::string& path);

// Lines of the file's bytes. CR LF or a lone LF ends a line, and a last line
// without a line end counts; no bytes give no line.
std::vector<std::string> DecodeLines(std::string_view bytes, const std::string& path,
                                     const LineProgress& beforeLine = {});

// Each line followed by CR LF; a character CP932 cannot hold is written as
// "?" and reported in one warning line naming `path`.
std::string EncodeLines(std::span<const std::string> lines, const std::string& path,
                        const LineProgress& beforeLine = {});

}  // namespace common
