#pragma once
#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/files/env_rec.h"
#include "common/files/tab_line_sort.h"
#include "common/logs/progress.h"
#include "marketdata/code_master.h"
#include "marketdata/key.h"

namespace marketdata {

inline constexpr long kIndustryListFileNumber = 2;      // Ctrl folder: the merged list
inline constexpr long kJapanIndustryFileNumber = 3002;  // WebData folder: the collectors' sources
inline constexpr long kUsaIndustryFileNumber = 3003;
inline constexpr long kChinaIndustryFileNumber = 3004;
inline constexpr long kIndustryTextCount = 33;
inline constexpr long kIndustryFieldCount = kKeyFieldCount + 3 + kIndustryTextCount;  // 52

// One industry entry. Key.IndCode0020..IndCode0090 are the codes of the
// levels the entry belongs to (its own included); the first four characters
// of Key.CorpCode are its own code. Texts 11-13 go to the code master, texts
// 14-21 name the entry's industries of levels "0020" to "0090", text 22 is
// its own name. The collectors give the other fields their meaning.
struct IndustryRec {
    marketdata::Key Key;                                   // fields 1-16
    std::string Fixed1;                                    // field 17, fixed 1
    std::string Fixed4;                                    // field 18, fixed 4
    std::string Fixed6;                                    // field 19, fixed 6
    std::array<std::string, kIndustryTextCount + 1> Text;  // fields 20-52: Text[1..33]; element 0 unused
};

// What LoadIndustryList reads and which entries it keeps.
struct IndustryLoadReq {
    long FNameIdx = kIndustryListFileNumber;
    long ProcIdx = 0;
    long FNameSeq = 0;
    std::string Concati;          // extra name text
    std::string MarketFilter;     // compared with Market (3); empty: every market
    std::string CategoryFilter;   // compared with Category (4, untrimmed); empty: every category
    std::string FlagFilter;       // compared with Flag1; empty: every flag
    common::SortKeyRec SortKeys;  // the order of the entries; none: file order
};

// Reads the file (the number's default extension) into the entries that pass
// the filters, in the order of the sort keys. Blank lines are skipped; a line
// without exactly 52 fields is logged with the file and its line number and
// skipped. True when at least one entry was kept; a missing file, or none
// kept, leaves `entries` empty. A source the user writes (3002 to 3004
// outside a split run's parts) may be CP932 or UTF-8 (ReadHandEditedFile);
// one in neither leaves `entries` empty.
bool LoadIndustryList(const IndustryLoadReq& req, common::EnvRec& env, std::vector<IndustryRec>& entries);

// Fills `rec` from a line of exactly 52 fields, the fixed fields fitted to
// their widths; false, and `rec` untouched, otherwise.
bool ParseIndustryLine(std::string_view line, IndustryRec& rec);

// The Key from the four values (InitKey), the fixed fields blank, the texts
// empty.
void InitIndustryRec(std::string_view market, std::string_view code1, std::string_view category,
                     std::string_view indCode0020, IndustryRec& rec);

// Stamps the Key with the current date and time, in the entry itself, then
// gives its 52-field line (fixed fields at full width; a TAB, CR or LF inside
// a text written as a blank).
void IndustryRecToLine(IndustryRec& rec, std::string& line);

// Lines of the entries (each stamped) sorted on market, category and
// CorpCode, replacing the file named by number, process index, sequence,
// extra name text and extension in one step.
void BuildIndustryLines(long fileNumber, long procIdx, long seq, const std::string& namePart,
                        const std::string& extension, common::EnvRec& env, std::span<IndustryRec> entries);

// Merges the work file into the final file through the master recovery
// (market, category, CorpCode; a work line replaces the list's line of the
// same key), then deletes the work file. The work file stays when the merge
// left no list in its place, so that its lines are never lost.
void CommitIndustryList(long fileNumber, long procIdx, long seq, const std::string& namePart,
                        const std::string& workExt, const std::string& finalExt, common::EnvRec& env,
                        common::MSGRec& msg);

// Folds the Chinese, Japanese and both United States sources ("Sector" and
// plain) into the merged list. Without any source entry the list stays as it
// is.
void CFIDXI0M(common::EnvRec& env, common::MSGRec& msg);

// The first 20 characters of the CorpCode of the first entry whose trimmed
// name (text 22), category and market equal `name`, `level` and `market` as
// text, with its 1-based `index`; "" and index 0 when none does or the name
// is empty.
std::string FindIndustryCode(std::string_view market, std::string_view level, std::string_view name, long& index,
                             std::span<const IndustryRec> entries);

// Looks up the industry codes of levels "0020" to "0060" of the stock's
// code-master record from their names (positions 180-184), each level only
// when its code is blank or `refillMode` is 1. A level-"0030" find also sets
// level "0020"; for "CHN" a level-"0050" find also sets level "0040"; level
// "0060" is looked up only for "JPN".
void FillIndustryLevels(long refillMode, CdmRec& rec, std::span<const IndustryRec> entries);

}  // namespace marketdata
