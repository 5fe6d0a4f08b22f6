#pragma once
#include <array>
#include <cstddef>
#include <string>

namespace common {

inline constexpr std::size_t kAnalysisFieldCount = 106;

// One record of the analysis-information files as stored: 106 texts, each a
// 16-bit length and its code page 932 bytes. Element 0 is always empty;
// elements 1-105 are the flattened analysis values the analysis program
// writes. It lives here because the loaded tables are process-wide.
struct AnalysisRec {
    std::array<std::string, kAnalysisFieldCount> Field;
};

}  // namespace common
