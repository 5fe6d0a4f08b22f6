#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

#include "analysis/kagi_flag.h"
#include "platform/currency.h"

namespace analysis {

// Words of `KagiLineRec::RuleBits`: a word no rule writes, the family bits,
// then one word of rule bits per family.
inline constexpr std::size_t kRuleBitsUnused = 0;
inline constexpr std::size_t kRuleBitsFamilies = 1;
inline constexpr std::size_t kRuleBitsRosa = 2;  // ろさ
inline constexpr std::size_t kRuleBitsRoku = 3;  // ろく
inline constexpr std::size_t kRuleBitsRoe = 4;   // ろゑ
inline constexpr std::size_t kRuleBitsRoa = 5;   // ろあ

// Family bits, in the family-bits word.
inline constexpr std::int32_t kFamilyRosa = 0x800;
inline constexpr std::int32_t kFamilyRoku = 0x400;
inline constexpr std::int32_t kFamilyRoe = 0x200;
inline constexpr std::int32_t kFamilyRoa = 0x100;

// One stored record type for both series of a stock's judgement: a trading
// day of the day series (built as a `KagiDayRec`) or a Kagi line of the line
// series. Fields are in stored order. Dates are day serials (days since 1899-12-30, the time of day as the
// fraction), as the chart-line file stores them. The one-character texts
// hold "1", "2", "0" or a blank; the record owns no string.
struct KagiLineRec {
    double KagiDate = 0;
    double KagiDate2 = 0;
    platform::Currency Price;
    platform::Currency Low;
    platform::Currency High;
    platform::Currency Volume;
    platform::Currency VolumeSum;
    platform::Currency Tick;
    platform::Currency Width;
    platform::Currency Move;
    platform::Currency BreakPrice;
    KagiFlag Direction;
    KagiFlag Marked;
    KagiFlag RuleHit;
    KagiFlag SignalMark;
    KagiFlag TurnState;
    std::int32_t SignalLine = 0;
    std::int32_t PairLine = 0;
    std::int32_t PrevSignalLine = 0;

    // The signal block, RuleDate to SignalExtraC: the judgement record copies it.
    double RuleDate = 0;
    // The judgement sets none of the Extra values; they keep their places in
    // the file and its export.
    platform::Currency SignalExtraA;
    platform::Currency SignalExtraB;
    platform::Currency SignalPrice;
    platform::Currency SignalGain;
    platform::Currency SignalGainPct;
    std::int32_t RuleCount = 0;
    platform::Currency SignalExtraC;

    std::int32_t Features = 0;

    // The line group, FeatureExtra to LineLength.
    std::array<platform::Currency, 8> FeatureExtra{};
    std::int32_t HoleLines = 0;
    platform::Currency HolePriceA;
    platform::Currency HolePriceB;
    platform::Currency HoleRatio;
    std::array<std::int32_t, 2> HoleExtra{};  // written as 0 with the hole fields
    std::array<platform::Currency, 6> LineExtra{};
    platform::Currency LineLength;

    std::array<std::int32_t, 6> RuleBits{};

    // Working fields of the line builder; never stored, zero after a read.
    platform::Currency OpenCopy;
    platform::Currency PriceCopy;
    platform::Currency LengthWork;

    friend bool operator==(const KagiLineRec&, const KagiLineRec&) = default;
};

}  // namespace analysis
