#pragma once
#include <array>
#include <string>
#include <vector>

#include "common/env_rec.h"
#include "common/tab_line_sort.h"
#include "marketdata/key.h"

namespace marketdata {

// The part of an industry-list entry that the code master takes over.
struct IndustryEntry {
    marketdata::Key Key;               // fields 1-16
    std::string Attr1;                 // field 17, fixed 1
    std::array<std::string, 23> Text;  // Text[11..22] from fields 30-41; the others stay empty
};

// Reads the industry list named by file number, process index, sequence and
// name part, its lines sorted with `sortKeys` when it has keys. A line too
// short for the fields taken is logged with the file and line and skipped.
// True when at least one entry was read; a missing file gives false.
bool ReadIndustryEntries(long fileNumber, long procIdx, long seq, const std::string& namePart, common::EnvRec& env,
                         const common::SortKeyRec& sortKeys, std::vector<IndustryEntry>& entries);

}  // namespace marketdata
