#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "marketdata/market_report.h"
#include "platform/currency.h"
#include "platform/trapped_error.h"

namespace collect {

// Number routines of the quote readers. They take and give texts; every
// computation is Currency arithmetic. A result beyond the Currency range is
// logged and given as the failure text "0", never a wrapped number.

// The factor of a unit text: empty 1; "K", "M", "B" (any case) a thousand, a
// million, a thousand million; a text containing "百万" a million, "セント"
// 0.01; a number that number; anything else 1.
std::string UnitMultiplier(std::string_view unit);

// value x UnitMultiplier(unit) when the value is a number, else "0".
std::string ScaleByUnit(std::string_view value, std::string_view unit);

// "12.5M" gives "12.5" and "M"; a text that is a number, or shorter than two
// characters, is the number itself with the unit "1".
void SplitTrailingUnit(std::string_view text, std::string& number, std::string& unit);

// Splits after the last digit or "-": the number (without thousands commas,
// "0" when it is not one) and the trimmed rest ("1,234百万円": "1234",
// "百万円").
void SplitNumberAndRest(std::string_view text, std::string& number, std::string& rest);

// The text after the first `startMarker` up to the first `endMarker` after it
// (the whole rest when `endMarker` is empty); empty when a marker is missing.
std::string TextAfterUntil(std::string_view text, std::string_view startMarker, std::string_view endMarker);

// The text after the first `marker` up to the first blank; empty without it.
std::string ValueAfterMarker(std::string_view text, std::string_view marker);

// The unit a label carries after "（": "１株利益（元）" gives "元"; empty
// when there is none.
std::string UnitText(std::string_view labelText);

// The multiplier ("1000000" for a unit with "百万", else "1") and the currency
// code of a label's unit ("売上高（百万元）": "1000000", "CNY"); an unknown
// currency is given as the unit itself.
void CurrencyFromUnitText(std::string_view labelText, std::string& multiplier, std::string& currency);

// Logs that `what` of `source` lies beyond the Currency range.
void LogBeyondRange(std::string_view what, std::string_view source);

// `text` itself, unless it is a number beyond the Currency range: then "0",
// after LogBeyondRange.
std::string WithinRangeOrZero(std::string_view what, std::string_view text);

// Every text field of a report that is a number beyond the Currency range
// becomes "0", logged: a page may show any number, and a report routine
// computing with it would stop the collection.
void ZeroNumbersBeyondRange(marketdata::RpiRec& rpi);

// The result of `compute`, or nullopt after LogBeyondRange when it leaves the
// Currency range.
template <class Compute>
std::optional<platform::Currency> WithinCurrencyRange(std::string_view what, std::string_view source,
                                                      Compute compute) {
    try {
        return compute();
    } catch (const platform::TrappedError& error) {
        if (error.number() != platform::error_number::kOverflow) throw;
        LogBeyondRange(what, source);
        return std::nullopt;
    }
}

}  // namespace collect
