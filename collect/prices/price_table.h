#pragma once
#include <cstdint>
#include <string>

#include "collect/web/page_cell_table.h"
#include "collect/web/page_fetch.h"

namespace collect {

// Columns of a price-history table in the page cell table, 0 when not found.
struct PriceColumnMap {
    std::int32_t DateCol = 0;
    std::int32_t OpenCol = 0;
    std::int32_t HighCol = 0;
    std::int32_t LowCol = 0;
    std::int32_t CloseCol = 0;
    std::int32_t VolumeCol = 0;
    std::int32_t AdjCloseCol = 0;
    std::int32_t SpareCol1 = 0;
    std::int32_t SpareCol2 = 0;
    std::int32_t SpareCol3 = 0;
};

void ClearPriceColumnMap(PriceColumnMap& map);

// Both finders scan rows 1 to fetch.RowCount and columns 1 to fetch.ColCount
// of `pageText`. A stock (category "1000") needs all seven columns, any other
// category the date and four prices. They return -1 when the page says that
// there is no data and 0 when no table was found, with the map cleared.

// Finds the header row by its labels and returns it: a row whose labels name
// each column it needs once.
std::int32_t ParsePriceTable(const std::string& category, PriceColumnMap& map, const FetchRec& fetch,
                             const PageCellTable& pageText);

// Finds the first row that starts with a year and has enough numeric cells
// after it, and returns the row above it, as if that were the header.
std::int32_t FindPriceTableByShape(const std::string& category, PriceColumnMap& map, const FetchRec& fetch,
                                   const PageCellTable& pageText);

}  // namespace collect
