#pragma once
#include <cstdint>

#include "collect/web/page_cell_table.h"
#include "marketdata/code_master.h"
#include "marketdata/market_report.h"

namespace collect {

// The start of the quote on a Japanese quote page: the cell with
// "現在の日時" or two rows below the cell with "新規デザイン作成", the one
// found last winning; 0 (and 0, 0) on a page that says the code does not
// exist. Returns the start row.
std::int32_t CheckJapanQuotePage(const PageCellTable& table, std::int32_t& row, std::int32_t& col);

// Reads the quote from the start cell on into the report's fields: name and
// market (2, 3), date, price and the rest of the trade cell (9-11), change
// (12, 13), previous close (14), volume (15), market value and its unit (18,
// 19), open, high, low (20-22), shares issued (32), dividend yield and
// dividend (39, 40), the per-share figures and ratios with their kinds
// (43-68), the best offer and bid (83, 86), unit shares (8) and the fiscal
// month (70, "yyyymm").
void ParseJapanQuote(const marketdata::CdmRec& company, marketdata::RpiRec& rpi, const PageCellTable& table,
                     std::int32_t row, std::int32_t col);

}  // namespace collect
