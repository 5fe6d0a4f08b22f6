#include "collect/company_pages/quote_dates.h"

#include <charconv>

#include "common/text/web_text.h"
#include "platform/date_parse.h"
#include "platform/number_format.h"
#include "platform/utf8_text.h"

namespace collect {

namespace {

std::optional<int> WholeNumber(std::string_view text) {
    const std::string trimmed = platform::TrimBlanks(text);
    int value = 0;
    const auto [end, error] = std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), value);
    if (trimmed.empty() || error != std::errc() || end != trimmed.data() + trimmed.size()) return std::nullopt;
    return value;
}

}  // namespace

std::optional<std::string> QuoteDateText(std::string_view text) {
    const std::optional<platform::Date> date = platform::ParseDate(text);
    return date ? std::optional(platform::DateText(*date)) : std::nullopt;
}

std::optional<std::string> MonthDayQuoteDate(std::string_view text, const platform::Date& today) {
    static constexpr std::string_view kMonthMark = "月";
    static constexpr std::string_view kDayMark = "日";
    std::string_view monthText;
    std::string_view dayText;
    if (const std::size_t mark = text.find(kMonthMark); mark != std::string_view::npos) {
        monthText = text.substr(0, mark);
        dayText = text.substr(mark + kMonthMark.size());
        if (!dayText.ends_with(kDayMark)) return std::nullopt;
        dayText.remove_suffix(kDayMark.size());
    } else if (const std::size_t slash = text.find('/'); slash != std::string_view::npos) {
        monthText = text.substr(0, slash);
        dayText = text.substr(slash + 1);
    } else {
        return std::nullopt;
    }
    const std::optional<int> month = WholeNumber(monthText);
    const std::optional<int> day = WholeNumber(dayText);
    if (!month || !day) return std::nullopt;
    // A quote is never dated ahead: a day after today is one of last year.
    const bool ahead = *month > today.month || (*month == today.month && *day > today.day);
    const int year = ahead ? today.year - 1 : today.year;
    if (!platform::IsValidDate(year, *month, *day)) return std::nullopt;
    return platform::DateText({year, *month, *day});
}

std::string YearMonthText(std::string_view text) {
    std::string trimmed = platform::TrimBlanks(text);
    common::ReplaceInPlace(trimmed, "月", "");
    const std::size_t mark = trimmed.find("年");
    const std::string_view whole(trimmed);
    const int year = WholeNumber(whole.substr(0, mark)).value_or(0);
    const int month = mark == std::string::npos ? 0 : WholeNumber(whole.substr(mark + 3)).value_or(0);
    return YearMonthDigits(year, month, "000000");
}

std::string YearMonthDigits(int year, int month, std::string_view none) {
    if (year < 0 || year > 9999 || month < 0 || month > 12) return std::string(none);
    return platform::FormatNumber(static_cast<double>(year), "0000") +
           platform::FormatNumber(static_cast<double>(month), "00");
}

}  // namespace collect
