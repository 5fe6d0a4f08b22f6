#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "marketdata/price_series.h"
#include "platform/currency.h"
#include "platform/date.h"

namespace marketdata {

// One line of a price series file split at TAB: the first kPriceTextColumns
// columns as views into the line (the rest empty) and how many it holds.
// Filled only by the routines below, which rely on columns past the count
// having been left empty.
struct PriceLine {
    std::array<std::string_view, kPriceTextColumns> columns;
    std::size_t columnCount = 0;
    std::size_t number = 0;  // 1-based; blank lines count
};

// Splits one line, without its line end, at TAB into `line`.
void SplitPriceColumns(std::string_view text, PriceLine& line);

// A line in the form nearly every line of a series file has: ASCII only, a
// "yyyy/mm/dd" date of the calendar, then six plain amounts (digits, with at
// most Currency::kDecimals decimals after a point, kPlainChars characters at
// most), and any further columns.
struct PlainSeriesRow {
    static constexpr std::size_t kPlainChars = 14;
    platform::Date date;
    std::array<platform::Currency, 6> values{};
    std::size_t columnCount = 0;
    std::size_t number = 0;  // 1-based, as PriceLine's
};

// Hands out the lines of a series file's CP932 bytes one by one without
// copying them. CR LF or a lone LF ends a line, and a last line without its
// end counts; a line of blanks only (space, TAB, CR) is passed over. A line
// holding other than ASCII is decoded into the reader's own buffer, which the
// next line may overwrite; its unreadable bytes read as "?" and are counted.
class PriceLineReader {
public:
    explicit PriceLineReader(std::string_view bytes) : bytes_(bytes) {}

    bool Next(PriceLine& line);
    // Takes the next line straight into numbers when it has the plain form;
    // false, taking nothing, for any other line, which Next then hands out.
    bool NextPlainRow(PlainSeriesRow& row);
    std::size_t unreadable() const { return unreadable_; }

private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
    std::size_t number_ = 0;
    std::string decoded_;
    std::size_t unreadable_ = 0;
};

}  // namespace marketdata
