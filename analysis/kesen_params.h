#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "platform/currency.h"

namespace analysis {

// The chart-line judgement parameters: the texts of the settings under
// "MirControl\Kesen" as read (untrimmed), then the numbers derived from them.
// The judgement reads only the numbers. Element 0 of every array is unused.
struct KesenParamSet {
    std::string EnvBscLR;
    std::string EnvLR;
    std::string EnvLRS;  // 5 switch digits
    std::string EnvKhn;  // 20
    std::string EnvHsk;  // 50
    std::string EnvTdai;
    std::string EnvRoeN;
    std::string EnvRoeD;
    std::string EnvIkoN;
    std::string EnvIkoD;
    std::string EnvIkoRng;
    std::string EnvHnnN;
    std::string EnvHnnD;
    std::string EnvAnaMin;
    std::string EnvAnaMax;
    std::string EnvAnadpt;
    std::string EnvRoaIgA;
    std::string EnvRoaIgB;
    std::string EnvRoaIgC;
    std::string EnvChange;
    std::string EnvRoaIg1;
    std::string EnvRoaIg2;
    std::string EnvRoaIg3;
    std::string EnvRange;
    std::array<std::string, 6> EnvKagi;  // 1-4 from "EnvKagi01".."EnvKagi04"; 0 and 5 stay empty

    std::int32_t BscLR = 0;
    std::int32_t LR = 0;
    std::array<std::int32_t, 6> LRS{};   // one per digit of EnvLRS
    std::array<std::int32_t, 21> Khn{};  // EnvKhn
    std::array<std::int32_t, 51> Hsk{};  // EnvHsk
    platform::Currency TdaiFactor;       // long-line factor: EnvTdai percent
    platform::Currency RoeN;
    platform::Currency RoeD;
    platform::Currency RoeRatio;  // width of the three peaks of the ろゑ rules
    platform::Currency IkoN;
    platform::Currency IkoD;
    platform::Currency IkoRatio;  // go-and-back proportion
    std::int32_t IkoRng = 0;      // earlier lines a long line is compared with
    platform::Currency HnnN;
    platform::Currency HnnD;
    platform::Currency HnnRatio;  // half-back proportion
    std::int32_t AnaMin = 0;      // bounds of the lines inside a hole
    std::int32_t AnaMax = 0;
    platform::Currency Anadpt;
    std::int32_t RoaIgA = 0;
    std::int32_t RoaIgB = 0;
    std::int32_t RoaIgC = 0;
    std::int32_t RoaIg1 = 0;  // 1: skip the first, second, third ろあ rule
    std::int32_t RoaIg2 = 0;
    std::int32_t RoaIg3 = 0;
    std::int32_t Change = 0;  // turn counting: above 0 counts families, else rules
    std::int32_t Range = 0;   // reach of the new-value comparisons
    std::array<std::int32_t, 6> Kagi{};  // country switches 1-4; 5 has no setting and stays 0
};

// Fills the whole set from the settings store. A text that is not a number
// (after trimming) gives 0, and so does a ratio whose denominator is not above
// 0; a number beyond the range of its type raises overflow.
void LoadKesenParams(KesenParamSet& params);

}  // namespace analysis
