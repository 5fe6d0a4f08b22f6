#include "collect/company_pages/research_report_dates.h"

#include <cstddef>
#include <vector>

#include "collect/company_pages/quote_dates.h"
#include "common/text/web_text.h"
#include "platform/number_format.h"
#include "platform/utf8_text.h"

namespace collect {

namespace {

constexpr const char* kNoDate = "1900/01/01";

// The digit a code point stands for, -1 for any other.
int DigitOf(char32_t cp) {
    if (cp >= U'0' && cp <= U'9') return static_cast<int>(cp - U'0');
    if (cp >= U'０' && cp <= U'９') return static_cast<int>(cp - U'０');
    return -1;
}

// The runs of consecutive digits of the text, as ASCII digits.
std::vector<std::string> DigitRuns(std::string_view text) {
    std::vector<std::string> runs;
    bool inRun = false;
    std::size_t pos = 0;
    char32_t cp = 0;
    while (platform::NextCodePoint(text, pos, cp)) {
        const int digit = DigitOf(cp);
        if (digit < 0) {
            inRun = false;
            continue;
        }
        if (!inRun) runs.emplace_back();
        runs.back().push_back(static_cast<char>('0' + digit));
        inRun = true;
    }
    return runs;
}

// The number of the digits, at most nine of them counted so that no run of
// digits overflows.
int NumberOf(std::string_view digits) {
    int value = 0;
    for (std::size_t i = 0; i < digits.size() && i < 9; ++i) value = value * 10 + (digits[i] - '0');
    return value;
}

// The year of a year item of four or two digits; -1, no year, for any other
// length (a three-digit "999" names no century).
int ReportYear(const std::string& item, int currentYear) {
    const std::string current = platform::FormatNumber(static_cast<double>(currentYear), "0000");
    if (item.size() == 4) {
        return item > current ? 1900 + NumberOf(item.substr(2, 2)) : NumberOf(item);
    }
    if (item.size() != 2) return -1;
    const int century = currentYear / 100 * 100;
    return (item > current.substr(current.size() - 2) ? 1900 : century) + NumberOf(item);
}

// The number of the digits the trimmed text starts with, -1 without any.
int LeadingNumber(std::string_view text) {
    const std::string trimmed = platform::TrimBlanks(text);
    std::string digits;
    std::size_t pos = 0;
    char32_t cp = 0;
    while (platform::NextCodePoint(trimmed, pos, cp) && DigitOf(cp) >= 0) {
        digits.push_back(static_cast<char>('0' + DigitOf(cp)));
    }
    return digits.empty() ? -1 : NumberOf(digits);
}

}  // namespace

std::string NormaliseReportDate(std::string_view text, int currentYear) {
    const std::string trimmed = platform::TrimBlanks(text);
    if (trimmed.empty() || trimmed == "-") return kNoDate;
    const std::vector<std::string> runs = DigitRuns(trimmed);
    if (runs.size() < 3) return kNoDate;
    const int year = ReportYear(runs[0], currentYear);
    const int month = NumberOf(runs[1]);
    const int day = NumberOf(runs[2]);
    if (!platform::IsValidDate(year, month, day)) return kNoDate;
    return platform::DateText(platform::Date{year, month, day});
}

std::string NormaliseYearMonth(std::string_view text, std::string_view marker, std::string_view replacement) {
    const std::string trimmed = platform::TrimBlanks(text);
    if (trimmed == marker) return std::string(replacement);
    std::string work = trimmed;
    common::ReplaceInPlace(work, "月", "");
    const std::size_t at = work.find("年");
    if (at == std::string::npos) return std::string(replacement);
    const int year = LeadingNumber(work.substr(0, at));
    if (year < 0) return std::string(replacement);
    const int month = LeadingNumber(work.substr(at + std::string_view("年").size()));
    return YearMonthDigits(year, month < 0 ? 0 : month, replacement);
}

}  // namespace collect
