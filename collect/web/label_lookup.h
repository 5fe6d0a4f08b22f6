#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "collect/web/page_cell_table.h"

namespace collect {

// Where the value of a label stands, seen from the label's cell.
enum LabelDirection : std::int32_t {
    kSameCell = 0,
    kRight = 1,
    kBelow = 2,
    kLeft = 3,
    kAbove = 4,
    kBelowRight = 5,
    kBelowLeft = 6,
    kAboveRight = 7,
    kAboveLeft = 8,
};

// While `target` is blank: when `cellText` (the text of the cell at row,
// column of `table`) contains `label`, `target` receives StripLabelPrefix of
// the cell in `direction` and `separator`. The hit count grows whenever the
// label is found, even when the value cell lies outside the table or the
// direction is unknown (the target then stays as it is).
void LookupLabelValueContains(std::string_view cellText, std::int32_t direction, std::string_view separator,
                              std::int32_t& hitCount, std::string_view label, std::string& target,
                              const PageCellTable& table, std::int32_t row, std::int32_t col);

// As LookupLabelValueContains, but the cell text must be the label itself.
void LookupLabelValueExact(std::string_view cellText, std::int32_t direction, std::string_view separator,
                           std::int32_t& hitCount, std::string_view label, std::string& target,
                           const PageCellTable& table, std::int32_t row, std::int32_t col);

// The trimmed text, from after the first character of the separator's first
// occurrence on when the separator is not empty and occurs.
std::string StripLabelPrefix(std::string_view text, std::string_view separator);

}  // namespace collect
