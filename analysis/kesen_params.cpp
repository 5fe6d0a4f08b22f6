#include "analysis/kesen_params.h"

#include <cstddef>
#include <optional>
#include <string_view>

#include "common/settings/settings.h"
#include "platform/integer_round.h"
#include "platform/numeric_text.h"
#include "platform/utf8_text.h"

namespace analysis {

namespace {

constexpr std::string_view kSection = "Kesen";

struct TextSetting {
    const char* key;
    std::string KesenParamSet::*text;
};

constexpr TextSetting kTextSettings[] = {
    {"EnvBscLR", &KesenParamSet::EnvBscLR},   {"EnvLR", &KesenParamSet::EnvLR},
    {"EnvLRS", &KesenParamSet::EnvLRS},       {"EnvKhn", &KesenParamSet::EnvKhn},
    {"EnvHsk", &KesenParamSet::EnvHsk},       {"EnvTdai", &KesenParamSet::EnvTdai},
    {"EnvRoeN", &KesenParamSet::EnvRoeN},     {"EnvRoeD", &KesenParamSet::EnvRoeD},
    {"EnvIkoN", &KesenParamSet::EnvIkoN},     {"EnvIkoD", &KesenParamSet::EnvIkoD},
    {"EnvIkoRng", &KesenParamSet::EnvIkoRng}, {"EnvHnnN", &KesenParamSet::EnvHnnN},
    {"EnvHnnD", &KesenParamSet::EnvHnnD},     {"EnvAnaMin", &KesenParamSet::EnvAnaMin},
    {"EnvAnaMax", &KesenParamSet::EnvAnaMax}, {"EnvAnadpt", &KesenParamSet::EnvAnadpt},
    {"EnvRoaIgA", &KesenParamSet::EnvRoaIgA}, {"EnvRoaIgB", &KesenParamSet::EnvRoaIgB},
    {"EnvRoaIgC", &KesenParamSet::EnvRoaIgC}, {"EnvChange", &KesenParamSet::EnvChange},
    {"EnvRoaIg1", &KesenParamSet::EnvRoaIg1}, {"EnvRoaIg2", &KesenParamSet::EnvRoaIg2},
    {"EnvRoaIg3", &KesenParamSet::EnvRoaIg3}, {"EnvRange", &KesenParamSet::EnvRange},
};

constexpr std::int16_t kKagiSettingCount = 4;

std::int32_t LongOf(std::string_view text) {
    const std::optional<double> value = platform::ParseDouble(platform::TrimBlanks(text));
    return value ? platform::ToLong(*value) : 0;
}

platform::Currency CurrencyOf(std::string_view text) { return common::ParseCurrencyOrZero(text); }

// The quotient is taken in double precision, as the screens show it.
platform::Currency Ratio(const platform::Currency& numerator, const platform::Currency& denominator) {
    if (denominator <= platform::Currency()) return platform::Currency();
    return platform::Currency::FromDouble(numerator.ToDouble() / denominator.ToDouble());
}

// Element i from character i of the mask; a missing character gives 0.
template <std::size_t N>
void MaskSwitches(const std::string& mask, std::array<std::int32_t, N>& switches) {
    for (std::size_t i = 1; i < N; ++i) switches[i] = LongOf(platform::MidChars(mask, i, 1));
}

}  // namespace

void LoadKesenParams(KesenParamSet& params) {
    for (const TextSetting& setting : kTextSettings) {
        params.*setting.text = common::ReadSetting(common::SettingKeyPath(kSection, setting.key));
    }
    const std::string kagiPath = common::SettingKeyPath(kSection, "EnvKagi");
    params.EnvKagi = {};
    for (std::int16_t i = 1; i <= kKagiSettingCount; ++i) {
        params.EnvKagi[i] = common::ReadSetting(common::IndexedKeyPath(kagiPath, i));
    }

    params.BscLR = LongOf(params.EnvBscLR);
    params.LR = LongOf(params.EnvLR);
    MaskSwitches(params.EnvLRS, params.LRS);
    MaskSwitches(params.EnvKhn, params.Khn);
    MaskSwitches(params.EnvHsk, params.Hsk);
    params.TdaiFactor = CurrencyOf(params.EnvTdai) * platform::Currency::FromRaw(platform::Currency::kScale / 100);

    params.RoeN = CurrencyOf(params.EnvRoeN);
    params.RoeD = CurrencyOf(params.EnvRoeD);
    params.RoeRatio = Ratio(params.RoeN, params.RoeD);
    params.IkoN = CurrencyOf(params.EnvIkoN);
    params.IkoD = CurrencyOf(params.EnvIkoD);
    params.IkoRatio = Ratio(params.IkoN, params.IkoD);
    params.IkoRng = LongOf(params.EnvIkoRng);
    params.HnnN = CurrencyOf(params.EnvHnnN);
    params.HnnD = CurrencyOf(params.EnvHnnD);
    params.HnnRatio = Ratio(params.HnnN, params.HnnD);
    params.AnaMin = LongOf(params.EnvAnaMin);
    params.AnaMax = LongOf(params.EnvAnaMax);
    params.Anadpt = CurrencyOf(params.EnvAnadpt);
    params.RoaIgA = LongOf(params.EnvRoaIgA);
    params.RoaIgB = LongOf(params.EnvRoaIgB);
    params.RoaIgC = LongOf(params.EnvRoaIgC);
    params.RoaIg1 = LongOf(params.EnvRoaIg1);
    params.RoaIg2 = LongOf(params.EnvRoaIg2);
    params.RoaIg3 = LongOf(params.EnvRoaIg3);
    params.Change = LongOf(params.EnvChange);
    params.Range = LongOf(params.EnvRange);

    for (std::size_t i = 1; i < params.Kagi.size(); ++i) params.Kagi[i] = LongOf(params.EnvKagi[i]);
}

}  // namespace analysis
