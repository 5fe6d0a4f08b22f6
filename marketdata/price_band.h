#pragma once
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/files/env_rec.h"
#include "platform/currency.h"

namespace marketdata {

inline constexpr long kPriceBandFileNumber = 10;  // User folder, "\値幅表"
inline constexpr long kBuiltInPriceBandCount = 96;

// One band of the price axis: its lowest and highest price, the price width
// (値幅) of a day in it and its tick, as read and converted.
struct PriceLimitRec {
    std::string BandLowText;
    std::string BandHighText;
    std::string WidthText;
    std::string TickText;
    platform::Currency BandLow;
    platform::Currency BandHigh;
    platform::Currency Width;
    platform::Currency Tick;
};

// Columns 0-3 of the TAB-split line as texts and values; further columns are
// ignored. False, `row` untouched, when a column is missing or is not a
// number within the Currency range, or when the width is 0 or less (such a
// band would make every day in it a turn candidate).
bool ParsePriceBandLine(std::string_view line, PriceLimitRec& row);

// The 96 built-in bands, highest first, covering 1 to 999999999.
void BuildBuiltInPriceBands(std::vector<PriceLimitRec>& table);

// The table from the user's table file (file number `fileNumber`, normally
// 10, with `extraName`), in file order, blank lines skipped; the built-in
// bands when the file is missing or gives no row. Lines that do not parse
// are logged, named in one warning for the file, and skipped. True.
bool CFNHB10M(long fileNumber, const std::string& extraName, common::EnvRec& env, std::vector<PriceLimitRec>& table);

// The band of `price`: the first row from the top whose BandLow is at most
// the price (BandHigh is not consulted). Below every BandLow the row of the
// lowest BandLow, so no price goes without a width. Null for an empty table.
const PriceLimitRec* FindPriceBand(std::span<const PriceLimitRec> table, const platform::Currency& price);

// The band FindPriceBand gives a price below every BandLow: the first row of
// the lowest BandLow. Null for an empty table.
const PriceLimitRec* LowestPriceBand(std::span<const PriceLimitRec> table);

// The check run of the collection program's tool form: loads the table and
// shows its row count as "pCnt=".
void AHNHB00M();

}  // namespace marketdata
