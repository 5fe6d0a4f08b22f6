#pragma once
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "common/files/env_rec.h"
#include "common/files/tab_line_sort.h"
#include "marketdata/key.h"

namespace marketdata {

inline constexpr long kMultexFileNumber = 1002;  // WebData folder
inline constexpr long kMultexTextCount = 14;
inline constexpr long kMultexFieldCount = 84;

// One company of the research-provider industry file. The research-provider
// collector gives the texts and groups their meaning; this record carries
// them as text. Element 0 of every array is unused.
struct MultexRec {
    marketdata::Key Key;                                 // fields 1-16
    std::array<std::string, kMultexTextCount + 1> Text;  // fields 17-30
    std::array<std::string, 6> A1;                       // group A, fields 31-40: A1(k), A2(k) for k = 1..5
    std::array<std::string, 6> A2;
    std::array<std::string, 4> B1;  // group B, fields 41-49: B1(k), B2(k), B3(k) for k = 1..3
    std::array<std::string, 4> B2;
    std::array<std::string, 4> B3;
    std::array<std::string, 8> C1;  // group C, fields 50-84: C1(k) .. C5(k) for k = 1..7
    std::array<std::string, 8> C2;
    std::array<std::string, 8> C3;
    std::array<std::string, 8> C4;
    std::array<std::string, 8> C5;
};

// Fills `rec` from a line of exactly 84 fields; false, and `rec` untouched,
// otherwise.
bool ParseMultexLine(std::string_view line, MultexRec& rec);

// The 84-field line: the Key's tab form as it stands, then the 68 texts.
void MultexRecToLine(const MultexRec& rec, std::string& line);

// What CFMLT10M reads and which records it keeps.
struct MultexLoadReq {
    long FNameIdx = kMultexFileNumber;
    long ProcIdx = 0;
    long FNameSeq = 0;
    std::string Concati;          // extra name text
    std::string MarketFilter;     // empty: every market
    std::string CategoryFilter;   // empty: every category
    std::string FlagFilter;       // compared with Flag1; empty: every flag
    common::SortKeyRec SortKeys;  // the order of the records; none: file order
};

// Reads the file into the records that pass the filters, in the order of the
// sort keys (file order without keys). Blank lines are skipped; a line without
// exactly 84 fields is logged with the file and its line number and skipped.
// True when at least one record was kept; a missing file, or none kept,
// leaves `recs` empty.
bool CFMLT10M(const MultexLoadReq& req, common::EnvRec& env, std::vector<MultexRec>& recs);

}  // namespace marketdata
