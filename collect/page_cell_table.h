#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace collect {

// A table of texts, rows 1 to RowCount() and columns 1 to ColCount(). Only
// cells that hold something are stored, so that a page whose layout spans
// many rows and columns costs no more than its items.
class PageCellTable {
public:
    // Empties the table and gives it its new shape.
    void Reset(std::int32_t rows, std::int32_t cols);
    void Clear() { Reset(0, 0); }

    std::int32_t RowCount() const { return rows_; }
    std::int32_t ColCount() const { return cols_; }

    // The cell's text; "" for an empty cell and for a position outside the table.
    const std::string& At(std::int32_t row, std::int32_t col) const;
    bool Contains(std::int32_t row, std::int32_t col) const {
        return row >= 1 && row <= rows_ && col >= 1 && col <= cols_;
    }

    // Appends to a cell inside the table; a position outside is ignored.
    void Append(std::int32_t row, std::int32_t col, const std::string& text);

private:
    using Cell = std::pair<std::int32_t, std::string>;  // column, text
    std::int32_t rows_ = 0;
    std::int32_t cols_ = 0;
    std::vector<std::vector<Cell>> cells_;  // per row, ordered by column
};

// The process-wide tables of the last page: its texts and its link addresses.
PageCellTable& PageText();
PageCellTable& PageLink();

}  // namespace collect
