#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "collect/web/page_cell_table.h"

namespace collect {

// One label of a quote page and the work text its value goes to. Several
// labels may share one target; the first one found fills it.
struct QuoteLabel {
    std::string_view label;
    bool exact;                // the cell is the label itself, else contains it
    std::int32_t direction;    // where the value stands (collect/label_lookup.h)
    std::string* target;
};

// Scans the cells from the start row on, each row from the start column, and
// gives every label found the trimmed value cell while its target is empty.
// The scan ends once every target holds a value.
void ScanQuoteLabels(const PageCellTable& table, std::int32_t startRow, std::int32_t startCol,
                     std::span<const QuoteLabel> labels);

// The first non-empty cell, row by row, that contains `start` (its row and
// column) or one of `stops` (0, 0); the row found, 0 when a stop came first
// or nothing was found.
std::int32_t FindQuoteStart(const PageCellTable& table, std::string_view start,
                            std::span<const std::string_view> stops, std::int32_t& row, std::int32_t& col);

}  // namespace collect
