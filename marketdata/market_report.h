#pragma once
#include <array>
#include <span>
#include <string>
#include <string_view>

#include "marketdata/code_master.h"
#include "marketdata/key.h"
#include "marketdata/price_series.h"

namespace marketdata {

inline constexpr long kJapanReportFileNumber = 1011;  // WebData folder
inline constexpr long kChinaReportFileNumber = 1012;
inline constexpr long kUsaReportFileNumber = 1013;
inline constexpr long kRpiTextCount = 88;
inline constexpr long kRpiGroupCount = 21;  // groups 0-20; only 1 and 2 are copied and written
inline constexpr long kRpiFieldCount = 110;

// One market report as the report collectors read it from a quote page,
// every value a text. Text[n] is text field n; element 0 is unused.
struct RpiRec {
    marketdata::Key Key;
    std::array<std::string, kRpiTextCount + 1> Text;
    std::array<std::array<std::string, 3>, kRpiGroupCount> Group;
};

// The 110-field line: the Key's tab form as it stands (not stamped), text
// fields 1-78, the three texts of group 1, of group 2, then text fields 79-88.
void RpiRecToLine(const RpiRec& rec, std::string& line);

// Reads a line of exactly 110 fields; false, and `rec` untouched, otherwise.
bool LineToRpiRec(std::string_view line, RpiRec& rec);

// Copies the texts the line carries from the collectors' work record; the
// target's Key and its groups 0 and 3-20 stay.
void CopyRpiRec(RpiRec& target, const RpiRec& work);

// Refreshes the stock's market values from its latest price rows (ascending
// dates), unless the code master already holds a later price date, and
// records the latest row of `splitRows` that announces a stock split.
void CheckStockSplit(CdmRec& cdm, std::span<const PriceRec> rows, std::span<const PriceRec> splitRows);

// Recomputes change, change ratio, market value and yield from the texts of
// the price, previous close, share counts and per-share value. Inputs that
// are not numbers, and results beyond the Currency range (logged), give "0".
void CalcReportDerived(CdmRec& cdm);

}  // namespace marketdata
