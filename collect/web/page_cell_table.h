#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace collect {

// A table of texts, rows 1 to RowCount() and columns 1 to ColCount(). Only
// cells that hold something are stored, row after row, with their texts in
// one block, so that a page whose layout spans many rows and columns costs
// no more than its items, and a reader that walks the stored cells costs no
// more than the page.
class PageCellTable {
public:
    // A stored cell: its column and where its text lies in the table's texts.
    struct Cell {
        std::int32_t col = 0;
        std::uint32_t start = 0;
        std::uint32_t length = 0;
    };

    // Empties the table and gives it its new shape.
    void Reset(std::int32_t rows, std::int32_t cols);
    void Clear() { Reset(0, 0); }

    std::int32_t RowCount() const { return rows_; }
    std::int32_t ColCount() const { return cols_; }

    // The cell's text; "" for an empty cell and for a position outside the
    // table. The view lasts until the table next changes.
    std::string_view At(std::int32_t row, std::int32_t col) const;
    bool Contains(std::int32_t row, std::int32_t col) const {
        return row >= 1 && row <= rows_ && col >= 1 && col <= cols_;
    }

    // The stored cells of `row` from column `fromCol` on, left to right;
    // none for a row outside the table.
    std::span<const Cell> CellsOf(std::int32_t row, std::int32_t fromCol = 1) const;
    std::string_view Text(const Cell& cell) const { return std::string_view(texts_).substr(cell.start, cell.length); }

    // Appends to a cell inside the table; a position outside is ignored.
    // Appending in row and column order, as the page fill does, costs only
    // the text; any other order is allowed and costs a shift of the cells.
    void Append(std::int32_t row, std::int32_t col, std::string_view text);

private:
    std::int32_t rows_ = 0;
    std::int32_t cols_ = 0;
    std::vector<Cell> cells_;                // row after row, each row by column
    std::vector<std::uint32_t> rowEnds_;     // per row, the end of its cells in cells_
    std::int32_t lastRow_ = 0;               // the last row that holds cells; rows after it hold none
    std::string texts_;
};

// The process-wide tables of the last page: its texts and its link addresses.
PageCellTable& PageText();
PageCellTable& PageLink();

}  // namespace collect
