#include "collect/quote_label_scan.h"

#include <algorithm>
#include <set>

#include "collect/label_lookup.h"
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
    for (std::int32_t row = startRow; row <= table.RowCount(); ++row) {
        for (std::int32_t col = startCol; col <= table.ColCount(); ++col) {
            const std::string cell = platform::TrimBlanks(table.At(row, col));
            if (cell.empty()) continue;
            for (const QuoteLabel& label : labels) {
                if (label.exact) {
                    LookupLabelValueExact(cell, label.direction, "", hits, label.label, *label.target, table, row, col);
                } else {
                    LookupLabelValueContains(cell, label.direction, "", hits, label.label, *label.target, table, row,
                                             col);
                }
            }
            if (allFilled()) return;
        }
    }
}

std::int32_t FindQuoteStart(const PageCellTable& table, std::string_view start,
                            std::span<const std::string_view> stops, std::int32_t& row, std::int32_t& col) {
    row = 0;
    col = 0;
    for (std::int32_t r = 1; r <= table.RowCount(); ++r) {
        for (std::int32_t c = 1; c <= table.ColCount(); ++c) {
            const std::string& cell = table.At(r, c);
            if (platform::TrimBlanks(cell).empty()) continue;
            for (const std::string_view stop : stops) {
                if (cell.find(stop) != std::string::npos) return 0;
            }
            if (cell.find(start) != std::string::npos) {
                row = r;
                col = c;
                return row;
            }
        }
    }
    return 0;
}

}  // namespace collect
