#pragma once
#include <cstdint>
#include <string>

#include "collect/page_cell_table.h"
#include "platform/utf8_text.h"

namespace collect {

// Visits the cells of the page row by row, each row from `firstCol` to the
// last column, from `firstRow` to the last row, handing `visit` the row, the
// column and the trimmed text of every cell that is not blank. The scan ends
// when `visit` returns false. The table has the shape of the page its fetch
// laid out.
template <class Visit>
void ScanPageCells(const PageCellTable& pageText, std::int32_t firstRow, std::int32_t firstCol, Visit&& visit) {
    for (std::int32_t row = firstRow; row <= pageText.RowCount(); ++row) {
        for (std::int32_t col = firstCol; col <= pageText.ColCount(); ++col) {
            const std::string text = platform::TrimBlanks(pageText.At(row, col));
            if (!text.empty() && !visit(row, col, text)) return;
        }
    }
}

}  // namespace collect
