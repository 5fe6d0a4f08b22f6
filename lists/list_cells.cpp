#include "lists/list_cells.h"

#include <cmath>
#include <limits>
#include <optional>

#include "charts/colour_palette.h"
#include "common/bit_flags.h"
#include "lists/list_numbers.h"
#include "platform/integer_round.h"
#include "platform/number_format.h"
#include "platform/numeric_text.h"
#include "platform/utf8_text.h"

namespace lists {

namespace {

ListCell& NextCell(ListRow& row, std::int32_t& counter) {
    ++counter;
    const auto at = static_cast<std::size_t>(counter);
    if (row.cells.size() <= at) row.cells.resize(at + 1);
    return row.cells[at];
}

void WriteColoured(ListRow& row, std::int32_t& counter, std::string_view text, charts::Rgb colour) {
    ListCell& cell = NextCell(row, counter);
    cell.text = text;
    cell.colour = colour;
}

// Percentages and five decimals are formatted from the double, as the list
// always showed them; the other numbers from the exact fixed-point value.
enum class Value { Double, Fixed };

// A list of thousands of rows formats every number of a column with the
// same pattern: each pattern is read once.
void WriteNumber(ListRow& row, std::int32_t& counter, std::string_view text, Value kind,
                 const platform::NumberFormat& format, std::string_view suffix, bool colourBySign) {
    ListCell& cell = NextCell(row, counter);
    const std::optional<platform::Currency> value = ListCurrency(text);
    if (!value) {
        cell.text = text;
        return;
    }
    cell.text.clear();
    if (kind == Value::Double) {
        format.AppendParsedDouble(cell.text, text, *value);
    } else {
        format.AppendTo(cell.text, *value);
    }
    cell.text += suffix;
    if (colourBySign) cell.colour = SignColour(*value);
}

}  // namespace

charts::Rgb SignColour(const platform::Currency& value) {
    // Looked up once: a list colours thousands of numbers.
    static const charts::Rgb kAbove = BuyColour();
    static const charts::Rgb kBelow = SellColour();
    if (value > platform::Currency()) return kAbove;
    if (value < platform::Currency()) return kBelow;
    return charts::Rgb{};
}

charts::Rgb BuyColour() { return charts::GetColourPair(charts::kColourRed).strong; }
charts::Rgb SellColour() { return charts::GetColourPair(charts::kColourBlue).strong; }

void SetNextCellText(ListRow& row, std::int32_t& counter, std::string_view text) {
    NextCell(row, counter).text = text;
}

void SetNextCellPlain(ListRow& row, std::int32_t& counter, std::string_view text) {
    NextCell(row, counter).text = text;
}

void SetNextCellPctFine(ListRow& row, std::int32_t& counter, std::string_view text) {
    static const platform::NumberFormat kFormat("+###,###,##0.000000;-###,###,##0.000000");
    WriteNumber(row, counter, text, Value::Double, kFormat, "%", true);
}

void SetNextCellPct(ListRow& row, std::int32_t& counter, std::string_view text) {
    static const platform::NumberFormat kFormat("+###,###,##0.00;-###,###,##0.00");
    WriteNumber(row, counter, text, Value::Double, kFormat, "%", true);
}

void SetNextCellDec5(ListRow& row, std::int32_t& counter, std::string_view text) {
    static const platform::NumberFormat kFormat("###,##0.00000;-###,##0.00000");
    WriteNumber(row, counter, text, Value::Double, kFormat, "", false);
}

void SetNextCellDec3(ListRow& row, std::int32_t& counter, std::string_view text) {
    static const platform::NumberFormat kFormat("###,###,###,###,##0.000");
    WriteNumber(row, counter, text, Value::Fixed, kFormat, "", false);
}

void SetNextCellDec3Signed(ListRow& row, std::int32_t& counter, std::string_view text) {
    static const platform::NumberFormat kFormat("+###,###,###,###,##0.000;-###,###,###,###,##0.000");
    WriteNumber(row, counter, text, Value::Fixed, kFormat, "", true);
}

void SetNextCellInt(ListRow& row, std::int32_t& counter, std::string_view text) {
    static const platform::NumberFormat kFormat("###,###,###,###,##0");
    WriteNumber(row, counter, text, Value::Fixed, kFormat, "", false);
}

void SetNextCellIntSigned(ListRow& row, std::int32_t& counter, std::string_view text) {
    static const platform::NumberFormat kFormat("+###,###,###,###,##0;-###,###,###,###,##0");
    WriteNumber(row, counter, text, Value::Fixed, kFormat, "", true);
}

void SetNextCellIntOrBlank(ListRow& row, std::int32_t& counter, std::string_view text) {
    static const platform::NumberFormat kFormat("###,###,###,###,###");
    WriteNumber(row, counter, text, Value::Fixed, kFormat, "", false);
    std::string& written = row.cells[static_cast<std::size_t>(counter)].text;
    if (platform::TrimmedBlanks(written).empty()) written = " ";
}

void SetNextCellDigits8(ListRow& row, std::int32_t& counter, std::string_view text) {
    // A numeric text is ASCII: its characters are its bytes.
    constexpr std::size_t kWidth = 8;
    const std::string_view trimmed = platform::TrimmedBlanks(text);
    std::string& written = NextCell(row, counter).text;
    if (!platform::IsNumericText(trimmed)) {
        written = trimmed;
        return;
    }
    written = trimmed.substr(0, kWidth);
    written.resize(kWidth, '0');
}

void SetNextCellBuySell(ListRow& row, std::int32_t& counter, std::string_view text) {
    if (text == "1") {
        WriteColoured(row, counter, "買", BuyColour());
    } else {
        WriteColoured(row, counter, "売", SellColour());
    }
}

void SetNextCellTurnKind(ListRow& row, std::int32_t& counter, std::string_view text) {
    if (text == "1") {
        WriteColoured(row, counter, "同時", BuyColour());
    } else if (text == "2") {
        WriteColoured(row, counter, "連続", SellColour());
    } else {
        NextCell(row, counter);
    }
}

void SetNextCellRuleSet(ListRow& row, std::int32_t& counter, std::string_view text) {
    const std::optional<double> value = platform::ParseDouble(text);
    constexpr double kLow = std::numeric_limits<std::int32_t>::min();
    constexpr double kHigh = std::numeric_limits<std::int32_t>::max();
    if (!value || !(std::round(*value) >= kLow && std::round(*value) <= kHigh)) {
        SetNextCellText(row, counter, "-");
        return;
    }
    const long bits = platform::ToLong(*value);
    if (bits == 0) {
        SetNextCellText(row, counter, "-");
        return;
    }
    const std::string names = common::TextIfBitSet(bits, 2048, "、ろさ") + common::TextIfBitSet(bits, 1024, "、ろく") +
                              common::TextIfBitSet(bits, 512, "、ろゑ") + common::TextIfBitSet(bits, 256, "、ろあ");
    SetNextCellText(row, counter, platform::MidChars(names, 2));
}

}  // namespace lists
