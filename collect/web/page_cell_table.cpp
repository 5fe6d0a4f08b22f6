#include "collect/web/page_cell_table.h"

#include <algorithm>

namespace collect {
namespace {

auto FirstFrom(std::span<const PageCellTable::Cell> cells, std::int32_t col) {
    return std::lower_bound(cells.begin(), cells.end(), col,
                            [](const PageCellTable::Cell& cell, std::int32_t c) { return cell.col < c; });
}

}  // namespace

void PageCellTable::Reset(std::int32_t rows, std::int32_t cols) {
    rows_ = std::max<std::int32_t>(rows, 0);
    cols_ = std::max<std::int32_t>(cols, 0);
    lastRow_ = 0;
    if (rows_ == 0) {
        // An empty table gives back what a large page took.
        cells_ = {};
        rowEnds_ = {};
        texts_ = {};
        return;
    }
    cells_.clear();
    rowEnds_.assign(static_cast<std::size_t>(rows_), 0);
    texts_.clear();
}

std::span<const PageCellTable::Cell> PageCellTable::CellsOf(std::int32_t row, std::int32_t fromCol) const {
    if (row < 1 || row > lastRow_) return {};
    const std::size_t begin = row == 1 ? 0 : rowEnds_[static_cast<std::size_t>(row - 2)];
    const std::span<const Cell> cells(cells_.data() + begin, rowEnds_[static_cast<std::size_t>(row - 1)] - begin);
    return fromCol <= 1 ? cells : cells.subspan(static_cast<std::size_t>(FirstFrom(cells, fromCol) - cells.begin()));
}

std::string_view PageCellTable::At(std::int32_t row, std::int32_t col) const {
    if (!Contains(row, col)) return {};
    const std::span<const Cell> cells = CellsOf(row, col);
    return !cells.empty() && cells.front().col == col ? Text(cells.front()) : std::string_view();
}

void PageCellTable::Append(std::int32_t row, std::int32_t col, std::string_view text) {
    if (!Contains(row, col)) return;
    const auto extend = [&](Cell& cell) {
        // Only the text at the end of the block can grow in place.
        if (cell.start + cell.length != texts_.size()) {
            const auto start = static_cast<std::uint32_t>(texts_.size());
            texts_.append(texts_, cell.start, cell.length);
            cell.start = start;
        }
        texts_ += text;
        cell.length += static_cast<std::uint32_t>(text.size());
    };
    const Cell added{col, static_cast<std::uint32_t>(texts_.size()), static_cast<std::uint32_t>(text.size())};
    if (row > lastRow_ || (row == lastRow_ && cells_.back().col < col)) {
        const auto end = static_cast<std::uint32_t>(cells_.size());
        for (std::int32_t r = lastRow_ + 1; r < row; ++r) rowEnds_[static_cast<std::size_t>(r - 1)] = end;
        cells_.push_back(added);
        texts_ += text;
        rowEnds_[static_cast<std::size_t>(row - 1)] = static_cast<std::uint32_t>(cells_.size());
        lastRow_ = row;
        return;
    }
    const std::span<const Cell> line = CellsOf(row, col);
    const auto at = cells_.begin() + (line.data() - cells_.data());
    if (!line.empty() && line.front().col == col) {
        extend(*at);
        return;
    }
    cells_.insert(at, added);
    texts_ += text;
    for (std::int32_t r = row; r <= lastRow_; ++r) ++rowEnds_[static_cast<std::size_t>(r - 1)];
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
