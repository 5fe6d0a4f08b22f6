#include "platform/numeric_text.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <string>
#include <system_error>

#include "platform/trapped_error.h"

namespace platform {
namespace {

constexpr const char* kSource = "NumericText";
constexpr std::string_view kBlanks = " \t";

// Views into the scanned text; nothing is copied, so IsNumericText and the
// common parses allocate nothing.
struct ScannedNumber {
    bool negative = false;
    std::string_view integer;  // digits, with any thousands commas
    std::string_view fraction;
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::optional<ScannedNumber> Scan(std::string_view text) {
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return std::nullopt;
    text = text.substr(first, text.find_last_not_of(kBlanks) - first + 1);

    ScannedNumber number;
    if (text.front() == '+' || text.front() == '-') {
        number.negative = text.front() == '-';
        text.remove_prefix(1);
    }
    std::size_t i = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        const bool grouping = c == ',' && i > 0 && IsDigit(text[i - 1]) && i + 1 < text.size() && IsDigit(text[i + 1]);
        if (!IsDigit(c) && !grouping) break;
    }
    number.integer = text.substr(0, i);
    if (i < text.size() && text[i] == '.') {
        const std::size_t start = ++i;
        while (i < text.size() && IsDigit(text[i])) ++i;
        number.fraction = text.substr(start, i - start);
    }
    if (i != text.size() || (number.integer.empty() && number.fraction.empty())) return std::nullopt;
    return number;
}

std::string WithoutCommas(std::string_view digits) {
    std::string plain;
    plain.reserve(digits.size());
    for (const char c : digits) {
        if (c != ',') plain += c;
    }
    return plain;
}

bool HasNonZeroDigit(std::string_view digits) { return digits.find_first_not_of("0,") != std::string_view::npos; }

// Up to this many integer characters (commas included) and kDecimals
// decimals, the amount in ten-thousandths has at most digits10 digits and
// fits an int64 whatever the digits are.
constexpr std::size_t kFastIntegerChars = std::numeric_limits<std::int64_t>::digits10 - Currency::kDecimals;

// The common case, exact with no rounding and no overflow possible: the
// ten-thousandths accumulated directly.
Currency ExactAmount(const ScannedNumber& number) {
    std::int64_t raw = 0;
    for (const char c : number.integer) {
        if (c != ',') raw = raw * 10 + (c - '0');
    }
    for (const char c : number.fraction) raw = raw * 10 + (c - '0');
    for (std::size_t i = number.fraction.size(); i < Currency::kDecimals; ++i) raw *= 10;
    return Currency::FromRaw(number.negative ? -raw : raw);
}

// Digits with at most kDecimals decimals, an optional leading minus and no
// plus, blank or comma, as price and analysis files hold millions of them,
// into `raw`; false for anything else, which the full scan then reads.
[[gnu::always_inline]] inline bool PlainAmount(std::string_view text, std::int64_t& raw) {
    if (text.empty() || text.size() > kFastIntegerChars) return false;
    const bool negative = text.front() == '-';
    const std::size_t start = negative ? 1 : 0;
    raw = 0;
    std::size_t i = start;
    for (; i < text.size() && IsDigit(text[i]); ++i) raw = raw * 10 + (text[i] - '0');
    std::size_t decimals = 0;
    if (i < text.size() && text[i] == '.' && i > start) {
        for (++i; i < text.size() && IsDigit(text[i]) && decimals < Currency::kDecimals; ++i, ++decimals) {
            raw = raw * 10 + (text[i] - '0');
        }
    }
    if (i != text.size() || i == start) return false;
    static constexpr std::int64_t kMissingDecimals[] = {10000, 1000, 100, 10, 1};
    raw *= kMissingDecimals[decimals];
    if (negative) raw = -raw;
    return true;
}

// Digits with an optional leading minus and decimal point, which from_chars
// reads as they stand.
bool IsPlainDecimal(std::string_view text) {
    bool digit = false;
    bool point = false;
    for (std::size_t i = !text.empty() && text.front() == '-' ? 1 : 0; i < text.size(); ++i) {
        if (IsDigit(text[i])) {
            digit = true;
        } else if (text[i] == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digit;
}

// Any length of digits: rounds past kDecimals and raises overflow.
Currency RoundedAmount(const ScannedNumber& number) {
    const std::string digits = WithoutCommas(number.integer);
    std::string_view integer = digits;
    integer.remove_prefix(std::min(integer.find_first_not_of('0'), integer.size()));
    // More integer digits than the largest amount has: out of range whatever follows.
    constexpr std::size_t kMaxIntegerDigits = std::numeric_limits<std::int64_t>::digits10 + 1 - Currency::kDecimals;
    if (integer.size() > kMaxIntegerDigits) RaiseError(error_number::kOverflow, kSource);

    // The amount in hundredths of a ten-thousandth: one decimal past the last
    // kept one, then a digit that is 1 when anything nonzero follows, so a
    // true tie is told apart from a value just above it.
    std::string fraction(number.fraction.substr(0, Currency::kDecimals + 1));
    fraction.resize(Currency::kDecimals + 1, '0');
    const bool beyond =
        number.fraction.size() > fraction.size() && HasNonZeroDigit(number.fraction.substr(fraction.size()));
    __int128 scaled = 0;
    for (const char c : std::string(integer) + fraction + (beyond ? "1" : "0")) scaled = scaled * 10 + (c - '0');
    return Currency::FromRawRatio(number.negative ? -scaled : scaled, 100);
}

// Kept out of line, so the plain amounts run in a small frame of their own.
[[gnu::noinline]] std::optional<Currency> ScannedAmount(std::string_view text) {
    const auto number = Scan(text);
    if (!number) return std::nullopt;
    if (number->integer.size() <= kFastIntegerChars && number->fraction.size() <= Currency::kDecimals) {
        return ExactAmount(*number);
    }
    return RoundedAmount(*number);
}

}  // namespace

bool IsNumericText(std::string_view text) { return Scan(text).has_value(); }

std::optional<Currency> ParseCurrency(std::string_view text) {
    std::int64_t raw = 0;
    if (PlainAmount(text, raw)) return Currency::FromRaw(raw);
    return ScannedAmount(text);
}

bool ParseCurrencyInto(std::string_view text, Currency& value) {
    std::int64_t raw = 0;
    if (PlainAmount(text, raw)) {
        value = Currency::FromRaw(raw);
        return true;
    }
    const std::optional<Currency> scanned = ScannedAmount(text);
    if (scanned) value = *scanned;
    return scanned.has_value();
}

std::optional<double> ParseDouble(std::string_view text) {
    if (IsPlainDecimal(text)) {
        double value = 0.0;
        const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
        if (result.ec == std::errc() && result.ptr == text.data() + text.size()) return value;
    }
    const auto number = Scan(text);
    if (!number) return std::nullopt;
    std::string plain = number->negative ? "-" : "";
    plain += WithoutCommas(number->integer);
    plain += '.';
    plain += number->fraction;
    double value = 0.0;
    const auto result = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Too large only with a nonzero integer part; otherwise too small, and zero is nearest.
        if (HasNonZeroDigit(number->integer)) RaiseError(error_number::kOverflow, kSource);
        return 0.0;
    }
    return value;
}

}  // namespace platform
