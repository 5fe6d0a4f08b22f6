#pragma once
#include <string>
#include <vector>

namespace common {

// Reads a text file that the user writes with an editor (a settings-group
// file, an industry source) into its lines, like CFFIL20M, but in either
// encoding an editor may have used:
// - UTF-8 (a leading byte-order mark allowed): read as such and written back
//   at once in CP932 with CR LF, so that every later reader and the
//   program's own rewrites of the file find the one code page of the data
//   files; a character CP932 cannot hold becomes "?" and is logged;
// - CP932: read as it is;
// - neither: refused, with one warning in the error log and in a box that
//   names the file and its first line that is not CP932; false and no lines.
// The file must exist.
bool ReadHandEditedFile(const std::string& path, std::vector<std::string>& lines);

}  // namespace common
