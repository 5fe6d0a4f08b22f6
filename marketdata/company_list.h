#pragma once
#include <array>
#include <string>
#include <string_view>

#include "marketdata/industry_list.h"
#include "marketdata/key.h"

namespace marketdata {

inline constexpr long kListTextCount = 29;
inline constexpr long kListFieldCount = kKeyFieldCount + 2 + kListTextCount;  // 47

// One company of a company list (file numbers 1003 Japan, 1004 China, 1006
// United States). The list collectors give the flag, the code and the texts
// their meaning; this record only carries them.
struct ListRec {
    marketdata::Key Key;
    std::string ListFlag;                                  // fixed 1
    std::string ListCode;                                  // fixed 4
    std::array<std::string, kListTextCount + 1> ListText;  // ListText[1..29]; element 0 unused
};

// The 47-field line: the key line, then ListFlag, ListCode and the 29 texts,
// each after a TAB. A TAB, CR or LF inside a text is written as a blank, as it
// would otherwise shift or split the fields of the line.
void ListRecToLine(const ListRec& rec, std::string& line);

// Reads a line of exactly 47 fields; false, and `rec` untouched, otherwise.
bool LineToListRec(std::string_view line, ListRec& rec);

// Starts a list record from an industry entry: its whole Key, its 4-character
// field as ListCode and its texts 11-21 as ListText 8-18. The list collectors
// then set the company's own fields.
void CopyListRec(const IndustryRec& industry, ListRec& rec);

// The company as an entry of its industry source, the way back of
// CopyListRec: the company's Key, ListCode as the 4-character field, ListText
// 8-18 as texts 11-21 (the industry level names among them) and its name
// (ListText 1) as the entry's own name (text 22); the rest blank or empty.
void ListRecToIndustryRec(const ListRec& company, IndustryRec& entry);

}  // namespace marketdata
