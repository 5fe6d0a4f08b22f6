#pragma once
#include <cstdint>

#include "collect/web/page_cell_table.h"
#include "marketdata/code_master.h"
#include "marketdata/market_report.h"

namespace collect {

// The "Finance Search" cell that starts a US quote page; 0 when a cell with
// "Invalid" or "Error" comes before it.
std::int32_t CheckUsQuotePage(const PageCellTable& table, std::int32_t& row, std::int32_t& col);

// Reads the quote into the report: name and market (2, 3), price (10), date
// (9), change and ratio (12, 13), volume and its average (15, 17), open (20),
// previous close (29, and 14 derived as price less change), bid and ask
// (82-87), the day's and the year's ranges (21, 22, 30, 31), target (71),
// market value and unit (18, 19), P/E (44), EPS (47), dividend and yield
// (40, 39); shares issued (32) are "0".
void ParseUsQuote(const marketdata::CdmRec& company, marketdata::RpiRec& rpi, const PageCellTable& table,
                  std::int32_t row, std::int32_t col);

}  // namespace collect
