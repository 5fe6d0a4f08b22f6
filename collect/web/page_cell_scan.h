#pragma once
#include <algorithm>
#include <cstdint>
#include <string>

#include "collect/web/page_cell_table.h"
#include "platform/utf8_text.h"

namespace collect {

// Visits the cells of the page row by row, each row from `firstCol` to the
// last column, from `firstRow` to the last row, handing `visit` the row, the
// column and the trimmed text of every cell that is not blank. The scan ends
// when `visit` returns false. Only the stored cells are visited, so the cost
// follows the page, not the area of its grid.
template <class Visit>
void ScanPageCells(const PageCellTable& pageText, std::int32_t firstRow, std::int32_t firstCol, Visit&& visit) {
    for (std::int32_t row = std::max(firstRow, 1); row <= pageText.RowCount(); ++row) {
        for (const PageCellTable::Cell& cell : pageText.CellsOf(row, firstCol)) {
            const std::string text = platform::TrimBlanks(pageText.Text(cell));
            if (!text.empty() && !visit(row, cell.col, text)) return;
        }
    }
}

}  // namespace collect
