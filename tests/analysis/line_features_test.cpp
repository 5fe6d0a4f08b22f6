#include "analysis/line_features.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/numeric_text.h"

namespace {

using analysis::KagiLineRec;
using analysis::KesenParamSet;
using platform::Currency;

using Detector = std::int32_t (*)(const KesenParamSet&, std::span<const KagiLineRec>, std::int32_t);

Currency Money(const char* text) { return *platform::ParseCurrency(text); }

// The derived numbers of the default parameters: EnvTdai 15, EnvIkoN/D 2/3,
// EnvHnnN/D 1/2, EnvIkoRng empty, EnvRange 2, EnvAnaMin 0, EnvAnaMax 99999.
KesenParamSet Defaults() {
    KesenParamSet params;
    params.TdaiFactor = Money("0.15");
    params.IkoRatio = Money("0.6667");
    params.HnnRatio = Money("0.5");
    params.IkoRng = 0;
    params.Range = 2;
    params.AnaMin = 0;
    params.AnaMax = 99999;
    return params;
}

KagiLineRec MakeLine(const char* direction, const char* low, const char* high) {
    KagiLineRec line;
    line.Direction = direction;
    line.Marked = "1";
    line.Low = Money(low);
    line.High = Money(high);
    return line;
}

// Lines 1..n of alternating direction, the last one up, each from 1000 up by
// its length.
std::vector<KagiLineRec> ByLengths(const std::vector<const char*>& lengths) {
    std::vector<KagiLineRec> lines;
    for (std::size_t k = 0; k < lengths.size(); ++k) {
        const bool up = (lengths.size() - 1 - k) % 2 == 0;
        KagiLineRec line = MakeLine(up ? "1" : "2", "1000", "1000");
        line.High = line.Low + Money(lengths[k]);
        lines.push_back(line);
    }
    return lines;
}

// Line 3 against line 1 (100 to 200): inside and outer on line 3, gap on line 2.
TEST(LineFeaturesShape, InsideOuterGapAgainstTheLineTwoBack) {
    struct Case {
        const char* low3;
        const char* high3;
        std::int32_t inside;
        std::int32_t outer;
        std::int32_t gap;
    };
    constexpr std::int32_t I = analysis::kInsideLine, O = analysis::kOuterLine, G = analysis::kGapLine;
    const Case cases[] = {
        {"100", "200", 0, 0, 0},  // the same line: neither inside nor outer
        {"110", "190", I, 0, 0},  {"100", "190", I, 0, 0}, {"110", "200", I, 0, 0},
        {"100", "210", 0, O, 0},  {"90", "200", 0, O, 0},  {"90", "210", 0, O, 0},
        {"110", "210", 0, 0, 0},  {"90", "190", 0, 0, 0},  // overlapping, shifted
        {"201", "250", 0, 0, G},  {"200", "250", 0, 0, 0},  // above: touching at 200 is no gap
        {"50", "99", 0, 0, G},    {"50", "100", 0, 0, 0},   // below: touching at 100 is no gap
    };
    const KesenParamSet params = Defaults();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.low3) + ".." + c.high3);
        const std::vector<KagiLineRec> lines = {MakeLine("1", "100", "200"), MakeLine("2", "60", "200"),
                                                MakeLine("1", c.low3, c.high3)};
        EXPECT_EQ(analysis::InsideLine(params, lines, 3), c.inside);
        EXPECT_EQ(analysis::OuterLine(params, lines, 3), c.outer);
        EXPECT_EQ(analysis::GapLine(params, lines, 3), c.gap);
    }
}

// Line 3 against EnvTdai 15 percent of its start (Low of an up line, High of
// a down line) and against the stored LengthWork of lines 1 and 2. Line 2
// spans 1500 by its prices; only its LengthWork counts.
TEST(LineFeaturesLongLine, ThresholdAndEarlierLines) {
    struct Case {
        const char* direction;
        const char* low;
        const char* high;
        std::int32_t ikoRng;
        const char* lengthWork1;
        const char* lengthWork2;
        std::int32_t expected;
    };
    constexpr std::int32_t L = analysis::kLongLine;
    const Case cases[] = {
        {"1", "1000", "1150", 0, "0", "0", L},       // 150 = 1000 x 0.15
        {"1", "1000", "1149.99", 0, "0", "0", 0},
        {"2", "850", "1000", 0, "0", "0", L},        // base 1000, not 850
        {"2", "851", "1000", 0, "0", "0", 0},        // 149 < 150 (850 x 0.15 would pass)
        {"1", "1000", "1150", 0, "151", "151", L},   // EnvIkoRng empty: no comparison
        {"1", "1000", "1150", 2, "150", "150", L},   // equal lengths pass
        {"1", "1000", "1150", 2, "151", "150", 0},
        {"1", "1000", "1150", 2, "150", "150.01", 0},
        {"1", "1000", "1150", 1, "151", "150", L},   // line 1 out of reach
        {"1", "1000", "1150", 9, "151", "0", 0},     // reach stops at line 1
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.direction) + " " + c.low + ".." + c.high + " rng " + std::to_string(c.ikoRng));
        KesenParamSet params = Defaults();
        params.IkoRng = c.ikoRng;
        std::vector<KagiLineRec> lines = {MakeLine(c.direction, "100", "100"), MakeLine("1", "500", "2000"),
                                          MakeLine(c.direction, c.low, c.high)};
        lines[0].LengthWork = Money(c.lengthWork1);
        lines[1].LengthWork = Money(c.lengthWork2);
        EXPECT_EQ(analysis::LongLine(params, lines, 3), c.expected);
    }
}

// The detectors that read a bit of line 2 (i = 3), with lengths of lines 1-3.
// The ratio is IkoRatio for GoAndBack and HnnRatio for HalfBack.
TEST(LineFeaturesRetrace, GoAndBackHalfBackDominant) {
    struct Case {
        const char* name;
        Detector detector;
        const char* ratio;
        std::int32_t features2;
        const char* length1;
        const char* length2;
        const char* length3;
        std::int32_t expected;
    };
    using namespace analysis;
    const Case cases[] = {
        // 300 x 0.6667 = 200.01 <= length 3 < 300
        {"GoAndBack", GoAndBack, "0.6667", kLongLine, "0", "300", "200.01", kGoAndBack},
        {"GoAndBack", GoAndBack, "0.6667", kLongLine, "0", "300", "200", 0},
        {"GoAndBack", GoAndBack, "0.6667", kLongLine, "0", "300", "299.99", kGoAndBack},
        {"GoAndBack", GoAndBack, "0.6667", kLongLine, "0", "300", "300", 0},
        {"GoAndBack", GoAndBack, "0.6667", kGapLine, "0", "300", "250", 0},
        {"GoAndBack", GoAndBack, "0", kLongLine, "0", "300", "0", kGoAndBack},  // ratio 0: no lower bound
        // 300 x 0.5 = 150 <= length 3
        {"HalfBack", HalfBack, "0.5", kGapLine, "0", "300", "150", kHalfBack},
        {"HalfBack", HalfBack, "0.5", kGapLine, "0", "300", "149.99", 0},
        {"HalfBack", HalfBack, "0.5", kLongLine, "0", "300", "300", 0},
        {"HalfBack", HalfBack, "0", kGapLine, "0", "300", "0", kHalfBack},
        // 100 + length 3 < 300
        {"Dominant", DominantLine, "0", kLongLine, "100", "300", "199.99", kDominantLine},
        {"Dominant", DominantLine, "0", kLongLine, "100", "300", "200", 0},
        {"Dominant", DominantLine, "0", kGapLine, "100", "300", "0", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + c.length1 + "/" + c.length2 + "/" + c.length3);
        KesenParamSet params = Defaults();
        params.IkoRatio = Money(c.ratio);
        params.HnnRatio = Money(c.ratio);
        std::vector<KagiLineRec> lines = ByLengths({c.length1, c.length2, c.length3});
        lines[1].Features = c.features2;
        EXPECT_EQ(c.detector(params, lines, 3), c.expected);
    }
}

// Line 5 against lines 3 (150 to 250) and 1 (100 to 300), as far as EnvRange
// reaches.
TEST(LineFeaturesNewValues, AgainstSameDirectionLines) {
    struct Case {
        std::int32_t range;
        const char* low5;
        const char* high5;
        std::int32_t expected;
    };
    using namespace analysis;
    const Case cases[] = {
        {2, "160", "260", kNewHigh | kHigherLow},  // line 3 only
        {3, "160", "260", kNewHigh | kHigherLow},
        {4, "160", "260", kHigherLow},             // below line 1's high
        {2, "150", "250", 0},                      // ties set nothing
        {4, "90", "310", kNewHigh | kNewLow},
        {4, "120", "240", kLowerHigh},             // above line 1's low
        {99, "120", "240", kLowerHigh},            // reach stops at line 1
        {1, "150", "250", kNewHigh | kLowerHigh | kHigherLow | kNewLow},  // no line to compare
        {0, "150", "250", kNewHigh | kLowerHigh | kHigherLow | kNewLow},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("range " + std::to_string(c.range) + " " + c.low5 + ".." + c.high5);
        KesenParamSet params = Defaults();
        params.Range = c.range;
        const std::vector<KagiLineRec> lines = {MakeLine("1", "100", "300"), MakeLine("2", "50", "300"),
                                                MakeLine("1", "150", "250"), MakeLine("2", "10", "250"),
                                                MakeLine("1", c.low5, c.high5)};
        const std::int32_t bits = NewHigh(params, lines, 5) | LowerHigh(params, lines, 5) |
                                  HigherLow(params, lines, 5) | NewLow(params, lines, 5);
        EXPECT_EQ(bits, c.expected);
    }
}

// Line i against line 1 of a series of i lines; below its first line number a
// detector gives 0.
TEST(LineFeaturesShorter, ThanTheLineFourOrSixBack) {
    struct Case {
        const char* name;
        Detector detector;
        std::size_t count;
        const char* lengthLast;
        std::int32_t expected;
    };
    using namespace analysis;
    const Case cases[] = {
        {"ShortVs4", ShortVs4, 5, "99.99", kShortVs4}, {"ShortVs4", ShortVs4, 5, "100", 0},
        {"ShortVs4", ShortVs4, 4, "10", 0},            {"ShortVs6", ShortVs6, 7, "99.99", kShortVs6},
        {"ShortVs6", ShortVs6, 7, "100", 0},           {"ShortVs6", ShortVs6, 6, "10", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " of " + std::to_string(c.count) + " lines, " + c.lengthLast);
        std::vector<const char*> lengths(c.count, "50");
        lengths.front() = "100";
        lengths.back() = c.lengthLast;
        const std::vector<KagiLineRec> lines = ByLengths(lengths);
        EXPECT_EQ(c.detector(Defaults(), lines, static_cast<std::int32_t>(c.count)), c.expected);
    }
}

// Six lines ending with line 6; `prices` are the lows for a down line 6 and
// the highs for an up one. Line 6's hole fields start as markers, which a
// miss leaves in place.
TEST(LineFeaturesHole, SearchAndStoredFields) {
    struct Case {
        const char* name;
        const char* direction6;
        std::array<const char*, 6> prices;
        std::int32_t anaMin;
        std::int32_t anaMax;
        bool hole;
        std::int32_t holeLines;
        const char* priceA;
        const char* priceB;
        const char* ratio;
    };
    const Case cases[] = {
        // Down, run start a = 4, hole start g = 3: 130 / 120 = 1.08333...
        {"down g3", "2", {"100", "110", "110", "130", "130", "120"}, 0, 99999, true, 2, "130", "120", "1.0833"},
        {"down at AnaMin", "2", {"100", "110", "110", "130", "130", "120"}, 2, 99999, true, 2, "130", "120", "1.0833"},
        {"down below AnaMin", "2", {"100", "110", "110", "130", "130", "120"}, 3, 99999, false, 0, "", "", ""},
        {"down at AnaMax", "2", {"100", "110", "110", "130", "130", "120"}, 0, 2, true, 2, "130", "120", "1.0833"},
        {"down above AnaMax", "2", {"100", "110", "110", "130", "130", "120"}, 0, 1, false, 0, "", "", ""},
        {"down equal lows", "2", {"100", "110", "110", "130", "130", "130"}, 0, 99999, false, 0, "", "", ""},
        {"down stop at a", "2", {"100", "110", "135", "130", "130", "120"}, 0, 99999, false, 0, "", "", ""},
        // g = 3 does not stop the walk (110 < 120); g = 1: 130 / 110 = 1.181818...
        {"down g1", "2", {"100", "120", "120", "130", "130", "110"}, 0, 99999, true, 4, "130", "110", "1.1818"},
        {"down under g1", "2", {"100", "120", "120", "130", "130", "90"}, 0, 99999, false, 0, "", "", ""},
        // run from line 2: 140 / 120 = 1.166666...
        {"down a2", "2", {"100", "140", "140", "130", "130", "120"}, 0, 99999, true, 4, "140", "120", "1.1667"},
        // 10000.52 -> "10001"; 1.000052 -> "1.00005" -> 1.0000 (once rounded: 1.0001)
        {"down round twice", "2", {"9000", "9500", "9500", "10000.52", "10000.52", "10000"}, 0, 99999, true, 2,
         "10001", "10000", "1"},
        // halves to even: "10002", "10002"; 1.0000999850... -> "1.00010"
        {"down round half", "2", {"9000", "9500", "9500", "10002.5", "10002.5", "10001.5"}, 0, 99999, true, 2,
         "10002", "10002", "1.0001"},
        // Up: A is line 6's high, B the run start's; 170 / 180 = 0.94444...
        {"up g3", "1", {"200", "190", "190", "170", "170", "180"}, 0, 99999, true, 2, "180", "170", "0.9444"},
        // 170 / 190 = 0.894736...
        {"up g1", "1", {"200", "180", "180", "170", "170", "190"}, 0, 99999, true, 4, "190", "170", "0.8947"},
        {"up equal highs", "1", {"200", "190", "190", "170", "170", "170"}, 0, 99999, false, 0, "", "", ""},
        {"up over g1", "1", {"200", "180", "180", "170", "170", "210"}, 0, 99999, false, 0, "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        KesenParamSet params = Defaults();
        params.AnaMin = c.anaMin;
        params.AnaMax = c.anaMax;
        const bool up6 = std::string(c.direction6) == "1";
        std::vector<KagiLineRec> lines;
        for (std::size_t k = 0; k < c.prices.size(); ++k) {
            const bool up = (k % 2 == 1) == up6;
            const Currency price = Money(c.prices[k]);
            KagiLineRec line = MakeLine(up ? "1" : "2", "0", "0");
            line.Low = up6 ? price - Money("50") : price;
            line.High = up6 ? price : price + Money("50");
            lines.push_back(line);
        }
        KagiLineRec& line6 = lines.back();
        line6.HoleLines = 77;
        line6.HolePriceA = Money("1");
        line6.HolePriceB = Money("2");
        line6.HoleRatio = Money("3");
        line6.HoleExtra = {5, 6};

        const std::int32_t bit = analysis::HoleLine(params, lines, 6);
        if (c.hole) {
            EXPECT_EQ(bit, analysis::kHoleLine);
            EXPECT_EQ(line6.HoleLines, c.holeLines);
            EXPECT_EQ(line6.HolePriceA, Money(c.priceA));
            EXPECT_EQ(line6.HolePriceB, Money(c.priceB));
            EXPECT_EQ(line6.HoleRatio, Money(c.ratio));
            EXPECT_EQ(line6.HoleExtra, (std::array<std::int32_t, 2>{0, 0}));
        } else {
            EXPECT_EQ(bit, 0);
            EXPECT_EQ(line6.HoleLines, 77);
            EXPECT_EQ(line6.HolePriceA, Money("1"));
            EXPECT_EQ(line6.HolePriceB, Money("2"));
            EXPECT_EQ(line6.HoleRatio, Money("3"));
            EXPECT_EQ(line6.HoleExtra, (std::array<std::int32_t, 2>{5, 6}));
        }
    }
}

// Line 1 down 200 to 190 (length 10), line 2 up to 400 (210, LongLine while
// current), line 3 down to 201 (199). At i = 3: line 2 gets GapLine (201 >
// 200), then HalfBack (199 >= 105) from that fresh bit, and DominantLine
// (10 + 199 < 210); line 3 gets GoAndBack (140.007 <= 199 < 210), LongLine
// (199 >= 400 x 0.15), NewHigh and HigherLow; an earlier bit stays.
TEST(LineFeaturesEvaluate, OrdersAndAccumulatesBits) {
    using namespace analysis;
    std::vector<KagiLineRec> lines = {MakeLine("2", "190", "200"), MakeLine("1", "190", "400"),
                                      MakeLine("2", "201", "400")};
    lines[0].LengthWork = Money("10");
    lines[1].LengthWork = Money("210");
    lines[1].Features = kLongLine;
    lines[2].Features = kShortVs6;

    EvaluateLineFeatures(Defaults(), lines, 3);

    EXPECT_EQ(lines[0].Features, 0);
    EXPECT_EQ(lines[1].Features, kLongLine | kGapLine | kHalfBack | kDominantLine);
    EXPECT_EQ(lines[2].Features, kShortVs6 | kGoAndBack | kLongLine | kNewHigh | kHigherLow);

    // The first line alone: only LongLine is evaluated (15 >= 100 x 0.15).
    std::vector<KagiLineRec> first = {MakeLine("1", "100", "115")};
    EvaluateLineFeatures(Defaults(), first, 1);
    EXPECT_EQ(first[0].Features, kLongLine);
}

}  // namespace
