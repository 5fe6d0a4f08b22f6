#pragma once
#include <string>
#include <vector>

#include "collect/prices/price_request.h"
#include "collect/prices/price_table.h"
#include "collect/web/page_cell_table.h"
#include "collect/web/page_fetch.h"
#include "marketdata/code_master.h"
#include "marketdata/price_series.h"

namespace collect {

// The date of a price-table row as "yyyy/mm/dd", or "" (logged to the error
// log) when it cannot be read. Japanese pages give dates the date parser
// reads, else the first three digit runs are year, month and day; US and
// Chinese pages give "9-Mar-05", other countries "Mar-9-05". A month label
// ("Mar 05", "2005年3月") is the month's first day. A two-digit year is 20yy
// unless that lies after the current year, then 19yy.
std::string AHPJP441(const std::string& country, const std::string& dateText);

// Appends the rows of the page, from request.RowIndex to the last row of the
// table, to `rows` (the stock's collected rows, newest first), text columns 0
// to 6, and keeps request.TotalRows equal to rows.size(), PageRows the rows
// this page added and PositionDate the oldest date reached. A row without a
// readable date is skipped; so is a price row whose four prices are not all
// numbers (logged to the error log), which still counts in PageRows, so that
// it does not make a full page look like the last one. Monthly rows of a stock are keyed by the month's
// first day. A row repeating the date of the row before is dropped when both
// rows are equal (logged as corrected); when they differ it is dropped, the
// duplicate flag HpGet\HpDupSts is raised and the page ends. Rows of
// dividends ("$") or splits (":") may share a date. A date in 1969 or earlier
// ends the page. Returns false when the page ended early.
bool AHPJP44M(const marketdata::CdmRec& company, PriceRequest& request, const PriceColumnMap& map,
              std::vector<marketdata::PriceRec>& rows, const FetchRec& fetch, const PageCellTable& pageText);

}  // namespace collect
