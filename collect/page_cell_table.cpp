#include "collect/page_cell_table.h"

#include <algorithm>

namespace collect {
namespace {

const std::string kEmpty;

}  // namespace

void PageCellTable::Reset(std::int32_t rows, std::int32_t cols) {
    rows_ = std::max<std::int32_t>(rows, 0);
    cols_ = std::max<std::int32_t>(cols, 0);
    cells_.assign(static_cast<std::size_t>(rows_), {});
}

const std::string& PageCellTable::At(std::int32_t row, std::int32_t col) const {
    if (!Contains(row, col)) return kEmpty;
    const std::vector<Cell>& line = cells_[static_cast<std::size_t>(row - 1)];
    const auto it = std::lower_bound(line.begin(), line.end(), col,
                                     [](const Cell& cell, std::int32_t c) { return cell.first < c; });
    return it != line.end() && it->first == col ? it->second : kEmpty;
}

void PageCellTable::Append(std::int32_t row, std::int32_t col, const std::string& text) {
    if (!Contains(row, col)) return;
    std::vector<Cell>& line = cells_[static_cast<std::size_t>(row - 1)];
    // Cells mostly arrive left to right, so the common case is the end of the row.
    auto it = line.end();
    if (!line.empty() && line.back().first >= col) {
        it = std::lower_bound(line.begin(), line.end(), col,
                              [](const Cell& cell, std::int32_t c) { return cell.first < c; });
    }
    if (it != line.end() && it->first == col) {
        it->second += text;
    } else {
        line.insert(it, Cell{col, text});
    }
}

PageCellTable& PageText() {
    static PageCellTable table;
    return table;
}

PageCellTable& PageLink() {
    static PageCellTable table;
    return table;
}

}  // namespace collect
