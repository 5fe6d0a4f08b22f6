#include "platform/number_format.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

#include "platform/numeric_text.h"
#include "platform/trapped_error.h"

namespace platform {
namespace {

using Section = NumberFormat::Section;

bool IsPlaceholder(char c) { return c == '0' || c == '#'; }

Section ParseSection(std::string_view text) {
    Section section;
    std::size_t i = std::min(text.find_first_of("0#."), text.size());
    section.prefix = text.substr(0, i);

    // Every placeholder from the first '0' on must show a digit.
    std::size_t placeholders = 0;
    std::size_t first_zero = std::string_view::npos;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (IsPlaceholder(c)) {
            if (c == '0' && first_zero == std::string_view::npos) first_zero = placeholders;
            ++placeholders;
        } else if (c == ',' && placeholders > 0 && i + 1 < text.size() && IsPlaceholder(text[i + 1])) {
            section.grouping = true;
        } else {
            break;
        }
    }
    section.minIntegerDigits = first_zero == std::string_view::npos ? 0 : placeholders - first_zero;

    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && IsPlaceholder(text[i]); ++i) {
            ++section.decimals;
            if (text[i] == '0') section.minDecimals = section.decimals;
        }
    }
    section.suffix = text.substr(i);
    section.percent = section.prefix.find('%') != std::string::npos || section.suffix.find('%') != std::string::npos;
    return section;
}

// Room for every integer digit of a double, the point and the decimals of
// the usual patterns; a pattern of more decimals takes the heap.
constexpr std::size_t kDoubleDigitRoom = std::numeric_limits<double>::max_exponent10 + 2;
constexpr std::size_t kStackDigitRoom = 400;

// Calls `use` with the digits of |value| (times 100 for percent) *
// 10^decimals rounded to an integer: the last `decimals` of them are the
// decimals shown.
template <typename Use>
void WithDigitsOf(double value, const Section& section, Use use) {
    const double shown = std::fabs(section.percent ? value * 100 : value);
    if (!std::isfinite(shown)) RaiseError(error_number::kOverflow, "FormatNumber");
    std::array<char, kStackDigitRoom> stack;
    std::string heap;
    char* digits = stack.data();
    const std::size_t room = kDoubleDigitRoom + section.decimals;
    if (room > stack.size()) {
        heap.resize(room);
        digits = heap.data();
    }
    char* end = std::to_chars(digits, digits + room, shown, std::chars_format::fixed,
                              static_cast<int>(section.decimals))
                    .ptr;
    char* point = std::find(digits, end, '.');
    if (point != end) end = std::copy(point + 1, end, point);
    use(std::string_view(digits, static_cast<std::size_t>(end - digits)));
}

template <typename Use>
void WithDigitsOf(const Currency& value, const Section& section, Use use) {
    const std::size_t places = section.decimals + (section.percent ? 2 : 0);
    const auto kept = std::min<std::size_t>(places, Currency::kDecimals);
    const std::int64_t units = value.RoundedUnits(static_cast<int>(kept));
    const std::uint64_t magnitude = units < 0 ? 0 - static_cast<std::uint64_t>(units) : units;
    // The magnitude's digits, then a zero for each place beyond the kept ones.
    std::string heap;
    std::array<char, kStackDigitRoom> stack;
    char* digits = stack.data();
    const std::size_t room = std::numeric_limits<std::uint64_t>::digits10 + 1 + places - kept;
    if (room > stack.size()) {
        heap.resize(room);
        digits = heap.data();
    }
    char* end = std::to_chars(digits, digits + room, magnitude).ptr;
    end = std::fill_n(end, places - kept, '0');
    use(std::string_view(digits, static_cast<std::size_t>(end - digits)));
}

}  // namespace

NumberFormat::NumberFormat(std::string_view format) {
    const std::size_t split = format.find(';');
    twoSections_ = split != std::string_view::npos;
    positive_ = ParseSection(format.substr(0, split));
    negative_ = twoSections_ ? ParseSection(format.substr(split + 1)) : positive_;
}

std::string NumberFormat::Format(double value) const {
    std::string text;
    AppendTo(text, value);
    return text;
}

std::string NumberFormat::Format(const Currency& value) const {
    std::string text;
    AppendTo(text, value);
    return text;
}

void NumberFormat::AppendTo(std::string& out, double value) const {
    const bool negative = value < 0;
    const Section& section = negative ? negative_ : positive_;
    WithDigitsOf(value, section, [&](std::string_view digits) { AppendShown(out, negative, digits, section); });
}

void NumberFormat::AppendTo(std::string& out, const Currency& value) const {
    const bool negative = value.raw() < 0;
    const Section& section = negative ? negative_ : positive_;
    WithDigitsOf(value, section, [&](std::string_view digits) { AppendShown(out, negative, digits, section); });
}

void NumberFormat::AppendParsedDouble(std::string& out, std::string_view text, const Currency& amount) const {
    // The text holds its amount exactly when it has at most Currency::kDecimals
    // decimals (blanks after them only count as more). Below 2^33 the double
    // nearest to the amount lies within 2^-21 of it, less than half of a
    // sixth decimal; so with up to six decimals shown, and every decimal of
    // the amount among them, the double rounds to the amount itself. A
    // percent is the double times 100, rounded once more: it goes the
    // double's way.
    constexpr std::int64_t kCloseRaw = (std::int64_t{1} << 33) * 10000;
    constexpr std::size_t kMostDecimals = 6;
    const Section& section = amount.raw() < 0 ? negative_ : positive_;
    const std::size_t point = text.find('.');
    const std::size_t decimals = point == std::string_view::npos ? 0 : text.size() - point - 1;
    const bool exact = decimals <= Currency::kDecimals && decimals <= section.decimals;
    const bool close = amount.raw() > -kCloseRaw && amount.raw() < kCloseRaw;
    if (section.percent || section.decimals > kMostDecimals || !exact || !close) {
        AppendTo(out, *ParseDouble(text));
        return;
    }
    AppendTo(out, amount);
}

void NumberFormat::AppendShown(std::string& out, bool negative, std::string_view digits,
                               const Section& section) const {
    // Fewer digits than the decimals and one more stand for zeros in front.
    const std::size_t lead = digits.size() <= section.decimals ? section.decimals + 1 - digits.size() : 0;
    const auto digitAt = [&](std::size_t i) { return i < lead ? '0' : digits[i - lead]; };
    const std::size_t integerEnd = lead + digits.size() - section.decimals;
    const bool is_zero = digits.find_first_not_of('0') == std::string_view::npos;

    std::size_t integerStart = 0;
    while (integerStart < integerEnd && digitAt(integerStart) == '0') ++integerStart;
    const std::size_t integerDigits = integerEnd - integerStart;
    const std::size_t width = std::max(integerDigits, section.minIntegerDigits);
    const std::size_t zeros = width - integerDigits;
    std::size_t shownDecimals = section.decimals;
    while (shownDecimals > 0 && digitAt(integerEnd + shownDecimals - 1) == '0') --shownDecimals;
    shownDecimals = std::max(shownDecimals, section.minDecimals);

    const bool sign = !twoSections_ && negative && !is_zero;
    const std::size_t commas = section.grouping && width > 0 ? (width - 1) / 3 : 0;
    const std::size_t at = out.size();
    out.resize(at + (sign ? 1 : 0) + section.prefix.size() + width + commas + (shownDecimals > 0 ? 1 : 0) +
               shownDecimals + section.suffix.size());
    char* p = out.data() + at;
    if (sign) *p++ = '-';
    p = std::copy(section.prefix.begin(), section.prefix.end(), p);
    for (std::size_t i = 0; i < width; ++i) {
        // Thousands commas stand before every third digit from the right.
        if (section.grouping && i > 0 && (width - i) % 3 == 0) *p++ = ',';
        *p++ = i < zeros ? '0' : digitAt(integerStart + i - zeros);
    }
    if (shownDecimals > 0) {
        *p++ = '.';
        for (std::size_t k = 0; k < shownDecimals; ++k) *p++ = digitAt(integerEnd + k);
    }
    std::copy(section.suffix.begin(), section.suffix.end(), p);
}

std::string FormatNumber(double value, std::string_view format) { return NumberFormat(format).Format(value); }

std::string FormatNumber(const Currency& value, std::string_view format) {
    return NumberFormat(format).Format(value);
}

}  // namespace platform
