#pragma once
#include <array>
#include <string>
#include <string_view>

#include "marketdata/code_master.h"
#include "marketdata/key.h"

namespace marketdata {

inline constexpr long kJapanProfileFileNumber = 1007;  // WebData folder
inline constexpr long kChinaProfileFileNumber = 1008;
inline constexpr long kCpiTextCount = 47;
inline constexpr long kCpiFieldCount = kKeyFieldCount + kCpiTextCount;  // 63

// One company profile as the profile collectors read it from the company's
// page, every value a text. Text[n] is text field n; element 0 is unused.
// Fields this module relies on: 14 consolidated businesses, 15 head-office
// address, 19 founding date, 20 representative, 26 interim dividend,
// 28 unit shares, 35 listing date.
struct CpiRec {
    marketdata::Key Key;
    std::array<std::string, kCpiTextCount + 1> Text;
};

// The 63-field line: the Key's tab form as it stands (not stamped), then the
// 47 texts.
void CpiRecToLine(const CpiRec& rec, std::string& line);

// Reads a line of exactly 63 fields; false, and `rec` untouched, otherwise.
bool LineToCpiRec(std::string_view line, CpiRec& rec);

// Copies texts 1-47 of the collectors' work record; the target's Key stays.
void CopyCpiRec(CpiRec& target, const CpiRec& work);

// Takes the profile values into the stock's code-master record and marks the
// company-profile process (ProcMark 5) with the profile's update stamp. A
// founding date written with dots that reads as a date once they are slashes
// is normalised to "yyyy/mm/dd" in both records.
void CpiToCdmRec(CdmRec& cdm, CpiRec& cpi);

}  // namespace marketdata
