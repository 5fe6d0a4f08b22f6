#include "collect/company_pages/quote_label_scan.h"

#include <algorithm>
#include <set>

#include "collect/web/label_lookup.h"
#include "collect/web/page_cell_scan.h"
#include "platform/utf8_text.h"

namespace collect {

void ScanQuoteLabels(const PageCellTable& table, std::int32_t startRow, std::int32_t startCol,
                     std::span<const QuoteLabel> labels) {
    std::set<std::string*> targets;
    for (const QuoteLabel& label : labels) targets.insert(label.target);
    const auto allFilled = [&targets] {
        return std::all_of(targets.begin(), targets.end(),
                           [](const std::string* target) { return !platform::TrimBlanks(*target).empty(); });
    };
    std::int32_t hits = 0;
    ScanPageCells(table, startRow, startCol, [&](std::int32_t row, std::int32_t col, const std::string& cell) {
        for (const QuoteLabel& label : labels) {
            if (label.exact) {
                LookupLabelValueExact(cell, label.direction, "", hits, label.label, *label.target, table, row, col);
            } else {
                LookupLabelValueContains(cell, label.direction, "", hits, label.label, *label.target, table, row, col);
            }
        }
        return !allFilled();
    });
}

std::int32_t FindQuoteStart(const PageCellTable& table, std::string_view start,
                            std::span<const std::string_view> stops, std::int32_t& row, std::int32_t& col) {
    row = 0;
    col = 0;
    ScanPageCells(table, 1, 1, [&](std::int32_t r, std::int32_t c, const std::string& cell) {
        for (const std::string_view stop : stops) {
            if (cell.find(stop) != std::string::npos) return false;
        }
        if (cell.find(start) == std::string::npos) return true;
        row = r;
        col = c;
        return false;
    });
    return row;
}

}  // namespace collect
