#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "collect/rates/fx_history_file.h"
#include "collect/web/page_cell_table.h"

namespace collect {

// Where the history table of a page keeps its columns: the date column
// (headed "通貨種類") and the rate columns in the order of kRateCodes; 0 for
// a column not found.
struct FxColumnMap {
    std::int32_t DateCol = 0;
    std::array<std::int32_t, 7> RateCols{};
};

// The history page address of the template for the currency and the page
// offset.
std::string FillFxHistoryUrl(const std::string& urlTemplate, const std::string& currencyCode, long offset);

// Maps the header cells of `row` from column `fromCol` on; the number of
// columns found, or 0 when a header stands twice in the row (which column
// holds its rates is then unknown).
int MapFxHistoryColumns(const PageCellTable& table, std::int32_t row, std::int32_t fromCol, FxColumnMap& map);

// The header row of the history table, found row by row and column by
// column at a cell holding "通貨種類" whose row maps all eight columns;
// 0 when the page has none.
std::int32_t FindFxHistoryHeader(const PageCellTable& table, FxColumnMap& map);

// Appends the rows from `firstRow` on for as long as the date cell holds a
// date: the currency code, the date "yyyy/mm/dd" and the trimmed rate cells.
// Returns the row that ended the table.
std::int32_t ReadFxHistoryRows(const PageCellTable& table, const FxColumnMap& map, std::int32_t firstRow,
                               const std::string& currencyCode, std::vector<FxHistoryRec>& rows);

// True when a cell from `fromRow` on offers the next page ("次の … 件を表示する").
bool HasNextFxPage(const PageCellTable& table, std::int32_t fromRow);

}  // namespace collect
