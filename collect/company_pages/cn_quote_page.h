#pragma once
#include <cstdint>

#include "collect/web/page_cell_table.h"
#include "marketdata/code_master.h"
#include "marketdata/market_report.h"

namespace collect {

// The breadcrumb cell "> 中国株・企業情報" that starts a Chinese quote page;
// 0 on a page that says the code is wrong or has no data.
std::int32_t CheckChinaQuotePage(const PageCellTable& table, std::int32_t& row, std::int32_t& col);

// Reads the quote into the report: the quote's date and time (4, 5, 9), name
// (2; the company's name when the page gives none), currency and yen rate
// (6, 7), price, change and ratio (10, 12, 13), previous close (14), volume
// and its unit (15, 16), unit shares (8), PER (44, 45), market value and unit
// (18, 19), open, high, low (20-22), and the yen conversions (23-28) when the
// rate is a number. Field 1 holds the title as scratch.
void ParseChinaQuote(const marketdata::CdmRec& company, marketdata::RpiRec& rpi, const PageCellTable& table,
                     std::int32_t row, std::int32_t col);

// The "決算年月" cell that starts a Chinese financials page; 0 on a page
// that says the code is wrong or has no data.
std::int32_t CheckChinaFinancialsPage(const PageCellTable& table, std::int32_t& row, std::int32_t& col);

// Reads the financial figures into the report: fiscal period (69, 70), sales,
// profit, net assets, total assets and their units and currencies, per-share
// figures with units (47, 48, 55-57), ROE (61), dividend (40-42), shares
// issued and tradable A and B shares (32, 35, 36, the raw cell in 150) and
// the A and B ratios in percent (37, 38).
void ParseChinaFinancials(marketdata::RpiRec& rpi, const PageCellTable& table, std::int32_t row, std::int32_t col);

}  // namespace collect
