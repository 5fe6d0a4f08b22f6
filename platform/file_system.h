#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "platform/date.h"

namespace platform {

// Replaces `target` with `bytes` so that a reader sees either the old file or
// the whole new one, never a part: the bytes go to a fresh file beside the
// target, reach the disk, and that file is renamed over the target (keeping
// the old file's permissions). On failure the old file is left as it was, the
// fresh file is removed and TrappedError is thrown: kDiskFull when space or
// the file size limit runs out, kPathNotFound when the folder is missing,
// kPathFileAccess otherwise. Inside a ReplaceGroup the file is written by the
// group's writers, and a failure shows at the group's Finish.
void AtomicReplace(const std::filesystem::path& target, std::string_view bytes);

// AtomicReplace done at once, also inside a ReplaceGroup: how the group's
// files are written.
void AtomicReplaceNow(const std::filesystem::path& target, std::string_view bytes);

// Writes a work file that only this process reads back, if at all: nothing is
// forced to the disk, so a crash may leave it cut or mixed. The bytes go over
// the old ones in place and the file is then cut to their length, rather than
// cut to nothing first or replaced by a rename: on some file systems either of
// those makes the close flush the new contents, which costs nearly as much as
// forcing them out. Failures throw TrappedError as AtomicReplace does, and
// leave no file.
void WriteScratchFile(const std::filesystem::path& path, std::string_view bytes);

// Removes from `folder` the fresh files that AtomicReplace left behind when
// their writer was killed before its rename: those whose writing process no
// longer runs. Files of live writers, and every other file, stay.
void RemoveOrphanedReplacements(const std::filesystem::path& folder);

// True when `path` is a regular file (or a link to one).
bool FileExists(const std::filesystem::path& path);

// Last modification time in the local time zone; nullopt when it cannot be read.
std::optional<DateTime> FileModifiedTime(const std::filesystem::path& path);

// Names of the regular files in `folder` that match `pattern`, where '*' is
// any run of characters and '?' one character, letters A-Z matching either
// case. Sorted by name ignoring case, so "the first matching file" is the
// same on every run. Empty when the folder cannot be read.
std::vector<std::string> ListMatching(const std::filesystem::path& folder, std::string_view pattern);

// Creates `folder` and any missing parents; TrappedError kPathNotFound when it cannot.
void EnsureFolder(const std::filesystem::path& folder);

// Throws TrappedError `number` with its standard description followed by the
// path and the system's reason.
[[noreturn]] void RaiseFileError(long number, const std::filesystem::path& path, std::error_code reason,
                                 const std::string& source);

}  // namespace platform
