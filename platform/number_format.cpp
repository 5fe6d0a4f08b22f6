#include "platform/number_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

#include "platform/trapped_error.h"

namespace platform {
namespace {

struct Section {
    std::string_view prefix;
    std::string_view suffix;
    std::size_t min_integer_digits = 0;
    std::size_t decimals = 0;
    std::size_t min_decimals = 0;
    bool grouping = false;
    bool percent = false;
};

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
    section.min_integer_digits = first_zero == std::string_view::npos ? 0 : placeholders - first_zero;

    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && IsPlaceholder(text[i]); ++i) {
            ++section.decimals;
            if (text[i] == '0') section.min_decimals = section.decimals;
        }
    }
    section.suffix = text.substr(i);
    section.percent = section.prefix.find('%') != std::string_view::npos ||
                      section.suffix.find('%') != std::string_view::npos;
    return section;
}

void InsertThousandsCommas(std::string& integer) {
    for (auto pos = static_cast<std::ptrdiff_t>(integer.size()) - 3; pos > 0; pos -= 3) {
        integer.insert(static_cast<std::size_t>(pos), 1, ',');
    }
}

// `digits_of(decimals, percent)` gives the digits of |value| (times 100 for
// percent) * 10^decimals rounded to an integer: the last `decimals` of them
// are the decimals shown.
template <typename DigitsOf>
std::string Format(bool negative, std::string_view format, DigitsOf digits_of) {
    const std::size_t split = format.find(';');
    const bool two_sections = split != std::string_view::npos;
    const Section section = ParseSection(two_sections && negative ? format.substr(split + 1) : format.substr(0, split));

    std::string digits = digits_of(section.decimals, section.percent);
    if (digits.size() <= section.decimals) digits.insert(0, section.decimals + 1 - digits.size(), '0');
    std::string integer = digits.substr(0, digits.size() - section.decimals);
    std::string fraction = digits.substr(integer.size());
    const bool is_zero = digits.find_first_not_of('0') == std::string::npos;

    integer.erase(0, std::min(integer.find_first_not_of('0'), integer.size()));
    if (integer.size() < section.min_integer_digits) integer.insert(0, section.min_integer_digits - integer.size(), '0');
    if (section.grouping) InsertThousandsCommas(integer);
    // find_last_not_of gives npos for all zeros, and npos + 1 wraps to 0.
    fraction.erase(std::max(fraction.find_last_not_of('0') + 1, section.min_decimals));

    std::string text = !two_sections && negative && !is_zero ? "-" : "";
    text.append(section.prefix).append(integer);
    if (!fraction.empty()) text.append(".").append(fraction);
    return text.append(section.suffix);
}

}  // namespace

std::string FormatNumber(double value, std::string_view format) {
    return Format(value < 0, format, [value](std::size_t decimals, bool percent) {
        const double shown = std::fabs(percent ? value * 100 : value);
        if (!std::isfinite(shown)) RaiseError(error_number::kOverflow, "FormatNumber");
        // Room for every integer digit of a double, the point and the decimals.
        std::string text(std::numeric_limits<double>::max_exponent10 + 2 + decimals, '\0');
        const auto end = std::to_chars(text.data(), text.data() + text.size(), shown, std::chars_format::fixed,
                                       static_cast<int>(decimals)).ptr;
        text.erase(end - text.data());
        text.erase(std::remove(text.begin(), text.end(), '.'), text.end());
        return text;
    });
}

std::string FormatNumber(const Currency& value, std::string_view format) {
    return Format(value.raw() < 0, format, [&value](std::size_t decimals, bool percent) {
        const std::size_t places = decimals + (percent ? 2 : 0);
        const auto kept = std::min<std::size_t>(places, Currency::kDecimals);
        const std::int64_t units = value.RoundedUnits(static_cast<int>(kept));
        const std::uint64_t magnitude = units < 0 ? 0 - static_cast<std::uint64_t>(units) : units;
        return std::to_string(magnitude) + std::string(places - kept, '0');
    });
}

}  // namespace platform
