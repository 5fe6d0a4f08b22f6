#pragma once
#include <string>

namespace analysis {

// The one-character texts of `KagiLineRec` ("1", "2", "0" or blank) are read
// and written for every day and line; these stay clear of library calls.

inline bool IsFlag(const std::string& text, char flag) { return text.size() == 1 && text[0] == flag; }

inline void SetFlag(std::string& text, char flag) {
    text.clear();
    text.push_back(flag);
}

// Direction.
inline constexpr char kFlagUp = '1';
inline constexpr char kFlagDown = '2';

}  // namespace analysis
