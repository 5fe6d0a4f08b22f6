#include "collect/web/label_lookup.h"

#include <array>
#include <utility>

#include "platform/utf8_text.h"

namespace collect {
namespace {

// Row and column offsets of the directions 0 to 8.
constexpr std::array<std::pair<std::int32_t, std::int32_t>, 9> kOffsets{{
    {0, 0}, {0, 1}, {1, 0}, {0, -1}, {-1, 0}, {1, 1}, {1, -1}, {-1, 1}, {-1, -1},
}};

void Lookup(bool exact, std::string_view cellText, std::int32_t direction, std::string_view separator,
            std::int32_t& hitCount, std::string_view label, std::string& target, const PageCellTable& table,
            std::int32_t row, std::int32_t col) {
    if (!platform::TrimBlanks(target).empty()) return;
    if (cellText.find(label) == std::string_view::npos) return;
    if (exact && cellText.size() != label.size()) return;
    ++hitCount;
    if (direction < 0 || direction >= static_cast<std::int32_t>(kOffsets.size())) return;
    const auto [down, right] = kOffsets[static_cast<std::size_t>(direction)];
    if (!table.Contains(row + down, col + right)) return;
    target = StripLabelPrefix(table.At(row + down, col + right), separator);
}

}  // namespace

void LookupLabelValueContains(std::string_view cellText, std::int32_t direction, std::string_view separator,
                              std::int32_t& hitCount, std::string_view label, std::string& target,
                              const PageCellTable& table, std::int32_t row, std::int32_t col) {
    Lookup(false, cellText, direction, separator, hitCount, label, target, table, row, col);
}

void LookupLabelValueExact(std::string_view cellText, std::int32_t direction, std::string_view separator,
                           std::int32_t& hitCount, std::string_view label, std::string& target,
                           const PageCellTable& table, std::int32_t row, std::int32_t col) {
    Lookup(true, cellText, direction, separator, hitCount, label, target, table, row, col);
}

std::string StripLabelPrefix(std::string_view text, std::string_view separator) {
    const std::string trimmed = platform::TrimBlanks(text);
    if (separator.empty()) return trimmed;
    const std::size_t at = trimmed.find(separator);
    if (at == std::string::npos) return trimmed;
    std::size_t firstChar = 0;
    char32_t cp;
    platform::NextCodePoint(separator, firstChar, cp);
    return trimmed.substr(at + firstChar);
}

}  // namespace collect
