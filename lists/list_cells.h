#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "lists/list_data.h"
#include "platform/currency.h"

namespace lists {

// The cell writers of the result lists. Each adds 1 to `counter` and then
// writes cell `counter` of `row`, so a row started at 0 fills cells 1, 2, 3
// ... in call order. The number writers format a numeric text (sign,
// thousands commas, decimal point) and colour it by sign where noted (red
// above zero, blue below, black at zero, always written); a text that is not
// a number, or a number beyond the fixed-point range, is written unchanged
// and keeps its colour.

void SetNextCellText(ListRow& row, std::int32_t& counter, std::string_view text);
void SetNextCellPlain(ListRow& row, std::int32_t& counter, std::string_view text);
// "+1,234.567890%" / "-0.500000%", coloured.
void SetNextCellPctFine(ListRow& row, std::int32_t& counter, std::string_view text);
// "+12.50%" / "-1.50%", coloured.
void SetNextCellPct(ListRow& row, std::int32_t& counter, std::string_view text);
// "1,234.56789"; a negative value keeps its minus sign.
void SetNextCellDec5(ListRow& row, std::int32_t& counter, std::string_view text);
// "1,234.500".
void SetNextCellDec3(ListRow& row, std::int32_t& counter, std::string_view text);
// "+1,234.500" / "-2.000", coloured.
void SetNextCellDec3Signed(ListRow& row, std::int32_t& counter, std::string_view text);
// "1,235".
void SetNextCellInt(ListRow& row, std::int32_t& counter, std::string_view text);
// "+1,235" / "-7", coloured.
void SetNextCellIntSigned(ListRow& row, std::int32_t& counter, std::string_view text);
// "1,235"; zero is one blank.
void SetNextCellIntOrBlank(ListRow& row, std::int32_t& counter, std::string_view text);
// Trimmed; a numeric text followed by zeros and cut to 8 characters ("2004" -> "20040000").
void SetNextCellDigits8(ListRow& row, std::int32_t& counter, std::string_view text);
// "1" -> "買" in red, anything else "売" in blue.
void SetNextCellBuySell(ListRow& row, std::int32_t& counter, std::string_view text);
// "1" -> "同時" in red, "2" -> "連続" in blue, anything else leaves the cell as it was.
void SetNextCellTurnKind(ListRow& row, std::int32_t& counter, std::string_view text);
// The rule-group bits as names joined by "、" (2048 ろさ, 1024 ろく, 512 ろゑ,
// 256 ろあ); 0, or a text that is no 32-bit whole number, gives "-".
void SetNextCellRuleSet(ListRow& row, std::int32_t& counter, std::string_view text);

// The colour of a number by its sign.
charts::Rgb SignColour(const platform::Currency& value);
// The colours of buy (red) and sell (blue).
charts::Rgb BuyColour();
charts::Rgb SellColour();

}  // namespace lists
