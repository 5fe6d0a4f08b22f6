#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/currency.h"

namespace platform {

// Formats a number with a pattern such as "0.00", "#,##0" or "+0.00%;-0.00%".
//   '0'  a digit, always shown
//   '#'  a digit, shown only when significant
//   ','  between integer placeholders: thousands grouping
//   '.'  the decimal point, shown when a decimal digit is
//   '%'  shows the value times 100
// Any other character before or after the placeholders is copied as is.
// Rounding to the pattern's decimals is half to even: a double on the exact
// binary value of itself (or of its product by 100), a Currency exactly. With one section a negative value gets a
// leading "-" unless it rounds to zero; with two, the second section shows
// the absolute value of a negative one. Integers go through the double
// overload, which holds them exactly up to 2^53. NaN and infinities (also
// from the product by 100) raise overflow (error 6).
std::string FormatNumber(double value, std::string_view format);
std::string FormatNumber(const Currency& value, std::string_view format);

// A pattern of FormatNumber read once, for the many numbers of a list
// column: formats exactly as FormatNumber does with the pattern.
class NumberFormat {
public:
    explicit NumberFormat(std::string_view format);

    std::string Format(double value) const;
    std::string Format(const Currency& value) const;
    // The same, appended to `out`: a text that fits its room is written
    // without allocating.
    void AppendTo(std::string& out, double value) const;
    void AppendTo(std::string& out, const Currency& value) const;
    // AppendTo(out, *ParseDouble(text)) for a numeric `text` whose amount
    // is `amount` (ParseCurrency of it). Where the double cannot show other
    // digits than the amount, the amount is formatted, which spares parsing
    // and printing the double.
    void AppendParsedDouble(std::string& out, std::string_view text, const Currency& amount) const;

    // One section of the pattern: what stands around the digits, and how
    // many digits and decimals it shows.
    struct Section {
        std::string prefix;
        std::string suffix;
        std::size_t minIntegerDigits = 0;
        std::size_t decimals = 0;
        std::size_t minDecimals = 0;
        bool grouping = false;
        bool percent = false;
    };

private:
    void AppendShown(std::string& out, bool negative, std::string_view digits, const Section& section) const;

    Section positive_;
    Section negative_;  // the second section; the first again when there is none
    bool twoSections_ = false;
};

}  // namespace platform
