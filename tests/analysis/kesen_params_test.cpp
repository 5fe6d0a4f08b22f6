#include "analysis/kesen_params.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>

#include "common/settings/default_settings.h"
#include "common/settings/settings.h"
#include "platform/numeric_text.h"
#include "tests/support/program_folder.h"

namespace {

using platform::Currency;

Currency Money(const char* text) { return *platform::ParseCurrency(text); }

// Element i from digit i of `digits`; element 0 stays 0.
template <std::size_t N>
std::array<std::int32_t, N> Switches(const std::string& digits) {
    std::array<std::int32_t, N> switches{};
    for (std::size_t i = 0; i < digits.size(); ++i) switches[i + 1] = digits[i] - '0';
    return switches;
}

class KesenParams : public ::testing::Test {
protected:
    KesenParams() { common::WriteKesenDefaults(); }

    void Set(const char* key, const char* value) { common::WriteSetting(common::SettingKeyPath("Kesen", key), value); }

    analysis::KesenParamSet Load() {
        analysis::KesenParamSet params;
        analysis::LoadKesenParams(params);
        return params;
    }

    testsupport::ProgramFolder folder_{true};
};

TEST_F(KesenParams, DefaultsGiveTheDerivedTable) {
    const analysis::KesenParamSet p = Load();
    EXPECT_EQ(p.EnvHsk, "11111000001110000000111111000011100000000000000000");
    EXPECT_EQ(p.EnvKagi, (std::array<std::string, 6>{"", "1", "1", "1", "1", ""}));

    EXPECT_EQ(p.BscLR, 0);
    EXPECT_EQ(p.LR, 1);
    EXPECT_EQ(p.LRS, Switches<6>("11110"));
    EXPECT_EQ(p.Khn, Switches<21>(std::string(20, '0')));
    EXPECT_EQ(p.Hsk, Switches<51>("11111000001110000000111111000011100000000000000000"));
    EXPECT_EQ(p.TdaiFactor, Money("0.15"));
    EXPECT_EQ(p.RoeN, Money("1"));
    EXPECT_EQ(p.RoeD, Money("5"));
    EXPECT_EQ(p.RoeRatio, Money("0.2"));
    EXPECT_EQ(p.IkoRatio, Money("0.6667"));
    EXPECT_EQ(p.HnnRatio, Money("0.5"));
    EXPECT_EQ(p.IkoRng, 0);
    EXPECT_EQ(p.AnaMin, 0);
    EXPECT_EQ(p.AnaMax, 99999);
    EXPECT_EQ(p.Anadpt, Currency());
    EXPECT_EQ(p.RoaIg1, 0);
    EXPECT_EQ(p.Change, 1);
    EXPECT_EQ(p.Range, 2);
    EXPECT_EQ(p.Kagi, (std::array<std::int32_t, 6>{0, 1, 1, 1, 1, 0}));
}

TEST_F(KesenParams, OddTextsFallBack) {
    const struct {
        const char* key;
        const char* text;
        std::function<void(const analysis::KesenParamSet&)> check;
    } cases[] = {
        {"EnvTdai", " 15 ",
         [](const auto& p) {
             EXPECT_EQ(p.EnvTdai, " 15 ");  // the text is kept as read
             EXPECT_EQ(p.TdaiFactor, Money("0.15"));
         }},
        {"EnvTdai", "x", [](const auto& p) { EXPECT_EQ(p.TdaiFactor, Currency()); }},
        {"EnvTdai", "12.345", [](const auto& p) { EXPECT_EQ(p.TdaiFactor, Money("0.1234")); }},
        {"EnvRoeD", "0", [](const auto& p) { EXPECT_EQ(p.RoeRatio, Currency()); }},
        {"EnvRoeD", "-5", [](const auto& p) { EXPECT_EQ(p.RoeRatio, Currency()); }},
        {"EnvIkoD", "", [](const auto& p) { EXPECT_EQ(p.IkoRatio, Currency()); }},
        {"EnvRange", "x", [](const auto& p) { EXPECT_EQ(p.Range, 0); }},
        {"EnvChange", " 2.5 ", [](const auto& p) { EXPECT_EQ(p.Change, 2); }},
        {"EnvAnaMax", "1,000", [](const auto& p) { EXPECT_EQ(p.AnaMax, 1000); }},
        {"EnvLRS", "1x", [](const auto& p) { EXPECT_EQ(p.LRS, Switches<6>("1")); }},
        {"EnvKhn", "1111111111111111111111111",
         [](const auto& p) { EXPECT_EQ(p.Khn, Switches<21>(std::string(20, '1'))); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=\"" + c.text + "\"");
        common::WriteKesenDefaults();
        Set(c.key, c.text);
        c.check(Load());
    }
}

TEST_F(KesenParams, KagiSwitchesFollowTheirIndexedKeys) {
    common::WriteIndexedSetting(common::SettingKeyPath("Kesen", "EnvKagi"), 2, "0");
    common::WriteIndexedSetting(common::SettingKeyPath("Kesen", "EnvKagi"), 4, "x");
    EXPECT_EQ(Load().Kagi, (std::array<std::int32_t, 6>{0, 1, 0, 1, 0, 0}));
}

}  // namespace
