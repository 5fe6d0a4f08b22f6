#pragma once
#include <string>

namespace common {

// File chores around the text files. Paths are full paths with "/" between
// folder and name. Missing files are no error here; other failures of the
// platform raise a TrappedError to the caller.

// Starts a listing of the files matching `wildcardPath` (folder + "/" +
// pattern with * and ?) in name order; the first name, "" when none.
std::string CFFIL11M(const std::string& wildcardPath);
// The next name of the listing started last, "" at its end.
std::string CFFIL12M();

// Replaces `base + extension` by `base + newExtension` in one rename, so the
// old file stays whole until the new one takes its place. False, and nothing
// changed, when `base + newExtension` does not exist.
bool CFFIL41M(const std::string& base, const std::string& newExtension, const std::string& extension);

// Gives an existing source the file name of `target` within the source's own
// folder, replacing a file of that name.
void CFFIL60M(const std::string& source, const std::string& target);

// Deletes through the name path + ".Del", so a leftover of an earlier run is
// removed by the same call.
void CFFIL70M(const std::string& path);

// Copies when the source exists and the target does not; never overwrites.
void CopyFileIfAbsent(const std::string& source, const std::string& target);

}  // namespace common
