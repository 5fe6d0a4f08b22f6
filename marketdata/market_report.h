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
inline constexpr long kRpiTextCount = 150;
inline constexpr long kRpiFieldCount = kKeyFieldCount + kRpiTextCount;  // 166
// Lines written before the record grew carry texts 1-94 only.
inline constexpr long kRpiShortFieldCount = 110;

// One market report as the report collectors read it from a quote page,
// every value a text. Text[n] is text field n, column 16 + n of the line;
// element 0 is unused.
struct RpiRec {
    marketdata::Key Key;
    std::array<std::string, kRpiTextCount + 1> Text;
};

// The 166-field line: the Key's tab form as it stands (not stamped), then
// text fields 1-150.
void RpiRecToLine(const RpiRec& rec, std::string& line);

// Reads a line of 166 fields, or one of 110 fields (texts 95-150 then
// empty); false, and `rec` untouched, otherwise.
bool LineToRpiRec(std::string_view line, RpiRec& rec);

// Copies texts 1-150 of the collectors' work record; the target's Key stays.
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
