// The run requests of the collection settings screen's buttons, the price
// checks, and the control-setting tables with their fallbacks.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "common/screens/collection_screen_state.h"
#include "common/screens/screen_control_tables.h"
#include "common/screens/screen_run_request.h"
#include "common/settings/default_settings.h"
#include "common/settings/price_settings_check.h"
#include "common/settings/settings.h"
#include "tests/support/program_folder.h"

namespace {

using common::RunButton;

// The screen as the default settings show it.
common::CollectionScreenState DefaultScreen() {
    common::CollectionScreenState screen;
    screen.exchange = 1;
    screen.profiles = {1, 1, 1};
    screen.reports = {1, 1, 1};
    screen.industries = 1;
    screen.method = 2;
    screen.candle = 1;
    screen.period = 1;
    screen.countries = {1, 1, 1};
    screen.backup = 1;
    return screen;
}

std::string Request(RunButton button, const common::CollectionScreenState& screen) {
    common::SystemStateRec rec;
    common::CopyScreenState(screen, rec);
    if (common::NeedsPriceCheck(button)) {
        EXPECT_TRUE(common::CheckPriceSettings(screen, {2026, 12, 4}, rec).passed);
    }
    return common::EncodeBatchRequest(common::BuildRunRequest(button, rec));
}

TEST(ScreenRunRequest, EveryButtonFromTheDefaultScreen) {
    const std::map<RunButton, std::string> expected = {
        {RunButton::Everything, "10000000001110011100100001110000000000000000000000"},
        {RunButton::Exchange, "10000000000000000000000000000000000000000000000000"},
        {RunButton::CompanyLists, "00000000000000000000000000000000000000000000000000"},
        {RunButton::Profiles, "00000000001110000000000000000000000000000000000000"},
        {RunButton::Reports, "00000000000000011100000000000000000000000000000000"},
        {RunButton::Industries, "00000000000000000000100000000000000000000000000000"},
        {RunButton::AllBasic, "10000000001110011100100000000000000000000000000000"},
        {RunButton::PriceHistories, "00000000000000000000000001110000000000000000000000"},
    };
    for (const auto& [button, request] : expected) {
        EXPECT_EQ(Request(button, DefaultScreen()), request) << static_cast<int>(button);
    }
}

TEST(ScreenRunRequest, CompanyListBoxesRequestTheChainsListSteps) {
    common::CollectionScreenState screen = DefaultScreen();
    screen.lists = {1, 0, 1};
    EXPECT_EQ(Request(RunButton::CompanyLists, screen).substr(5, 3), "101");
}

TEST(ScreenRunRequest, PriceGroupFollowsTheMethod) {
    common::CollectionScreenState screen = DefaultScreen();
    screen.countries = {1, 0, 1};
    EXPECT_EQ(Request(RunButton::PriceHistories, screen).substr(25, 3), "101");
    screen.method = 1;
    EXPECT_EQ(Request(RunButton::PriceHistories, screen).substr(25, 3), "111");
    screen.method = 3;
    EXPECT_EQ(Request(RunButton::PriceHistories, screen).substr(25, 3), "000");
}

TEST(ScreenRunRequest, EverythingTakesGroupSixFromTheRecord) {
    common::SystemStateRec rec;
    common::CopyScreenState(DefaultScreen(), rec);
    rec.Checks.cell(2, 6) = 1;
    ASSERT_TRUE(common::CheckPriceSettings(DefaultScreen(), {2026, 12, 4}, rec).passed);
    EXPECT_EQ(common::EncodeBatchRequest(common::BuildRunRequest(RunButton::Everything, rec)).substr(30, 5), "01000");
    EXPECT_EQ(common::EncodeBatchRequest(common::BuildRunRequest(RunButton::AllBasic, rec)).substr(30, 5), "00000");
}

struct PriceCase {
    const char* name;
    int method, candle, period;
    std::array<int, 3> countries;
    const char* from;
    const char* to;
    const char* warning;  // "" when it passes
    common::PriceCheckField field;
};

TEST(PriceSettingsCheck, RefusalsInTheirOrder) {
    using F = common::PriceCheckField;
    const PriceCase cases[] = {
        {"no method", 0, 1, 1, {1, 1, 1}, "", "", "収集方法を選択して下さい。　", F::None},
        {"no country", 2, 1, 1, {0, 0, 0}, "", "", "国を選択して下さい。　", F::None},
        {"no candle", 1, 0, 1, {0, 0, 0}, "", "", "収集データを選択して下さい。　", F::None},
        {"no period", 1, 1, 0, {0, 0, 0}, "", "", "収集する日付(期間)を選択して下さい。　", F::PeriodOption},
        {"no from", 1, 1, 3, {0, 0, 0}, " ", "2004/01/05", "開始日付を入力して下さい。　", F::DateFrom},
        {"bad from", 1, 1, 3, {0, 0, 0}, "2004/02/30", "2004/03/01", "開始日付に正しい日付を入力して下さい。　",
         F::DateFrom},
        {"no to", 1, 1, 3, {0, 0, 0}, "2004/1/5", "", "終了日付を入力して下さい。　", F::DateTo},
        {"bad to", 1, 1, 3, {0, 0, 0}, "2004/1/5", "abc", "終了日付に正しい日付を入力して下さい。　", F::DateTo},
        {"from later", 1, 1, 3, {0, 0, 0}, "2004/1/6", "2004/01/05", "開始日付＜終了日付で入力して下さい。　",
         F::BothDates},
    };
    for (const PriceCase& c : cases) {
        common::CollectionScreenState screen;
        screen.method = c.method;
        screen.candle = c.candle;
        screen.period = c.period;
        screen.countries = c.countries;
        screen.dateFrom = c.from;
        screen.dateTo = c.to;
        common::SystemStateRec rec;
        const common::PriceCheckResult result = common::CheckPriceSettings(screen, {2026, 12, 4}, rec);
        EXPECT_FALSE(result.passed) << c.name;
        EXPECT_EQ(result.warning, c.warning) << c.name;
        EXPECT_EQ(result.field, c.field) << c.name;
        EXPECT_EQ(rec.Method, " ") << c.name << ": a refused check converts nothing";
    }
}

TEST(PriceSettingsCheck, ConvertedValuesOfEachChoice) {
    struct Case {
        int method, candle, period;
        const char* from;
        const char* to;
        const char* method_letter;
        const char* candle_letter;
        const char* fromOut;
        const char* toOut;
    };
    const Case cases[] = {
        {1, 1, 1, "", "", "1", "D", "2026/12/04", "2026/12/04"},
        {2, 2, 2, "", "", "2", "W", "1900/01/01", "2026/12/04"},
        {3, 3, 4, "", "", "Z", "M", "1900/01/01", "1900/01/01"},
        {1, 4, 3, "2004/1/5", "2004/01/05", "1", "A", "2004/01/05", "2004/01/05"},
    };
    for (const Case& c : cases) {
        common::CollectionScreenState screen;
        screen.method = c.method;
        screen.candle = c.candle;
        screen.period = c.period;
        screen.countries = {0, 1, 0};
        screen.dateFrom = c.from;
        screen.dateTo = c.to;
        screen.backup = c.method == 1 ? 1 : 0;
        common::SystemStateRec rec;
        const common::PriceCheckResult result = common::CheckPriceSettings(screen, {2026, 12, 4}, rec);
        ASSERT_TRUE(result.passed) << result.warning;
        EXPECT_EQ(rec.Method, c.method_letter);
        EXPECT_EQ(rec.Candle, c.candle_letter);
        EXPECT_EQ(rec.PeriodMode, std::to_string(c.period));
        EXPECT_EQ(rec.FromDate, c.fromOut);
        EXPECT_EQ(rec.ToDate, c.toOut);
        EXPECT_EQ(rec.BackupFlag, c.method == 1 ? "1" : "0");
        EXPECT_EQ(rec.PriceCountryFlags[2], 1);
        if (c.period == 3) {
            EXPECT_EQ(result.dateFrom, "2004/01/05") << "the From box is written back";
        }
    }
}

TEST(ScreenControlTables, CollectionControlsMatchTheirSettingsAndDefaults) {
    testsupport::ProgramFolder folder;
    common::WriteAllDefaults();
    for (const common::ControlSetting& control : common::CollectionSettingsControls()) {
        EXPECT_EQ(common::ReadSetting(common::SettingPathOf(control)), control.defaultValue) << control.objectName;
    }
    for (const common::ControlSetting& control : common::OtherFunctionsControls()) {
        EXPECT_EQ(common::ReadSetting(common::SettingPathOf(control)), control.defaultValue) << control.objectName;
    }
    for (const bool korvane : {false, true}) {
        for (const common::ControlSetting& control : common::EnvironmentControls(korvane)) {
            EXPECT_EQ(common::ReadSetting(common::SettingPathOf(control)), control.defaultValue) << control.objectName;
        }
    }
    EXPECT_EQ(common::SettingPathOf(common::CollectionSettingsControls()[1]), "MirControl\\HpGet\\BscList01");
}

TEST(ScreenControlTables, OutOfRangeValuesFallBackToTheDefault) {
    testsupport::ProgramFolder folder;
    const common::ControlSetting option{"OBtn0201", common::ControlKind::OptionGroup, "MirControl\\HpGet\\HpSelect", 0,
                                        "2"};
    const common::ControlSetting box{"CKBox0204", common::ControlKind::CheckBox, "MirControl\\HpGet\\HpBackUp", 0, "1"};
    const common::ControlSetting count{"TextListViewMax", common::ControlKind::CountText, "MirControl\\Common\\ListMax",
                                       0, "1000"};
    const std::pair<const char*, int> options[] = {{"", 1}, {"-3", 1}, {"0", 1}, {"3", 3}, {"4", 2}, {"abc", 1}};
    for (const auto& [value, chosen] : options) {
        common::WriteSetting(option.path, value);
        EXPECT_EQ(common::OptionFromSetting(option, 3), chosen) << value;
    }
    const std::pair<const char*, bool> boxes[] = {{"1", true}, {"0", false}, {"", false}, {"2", true}, {"-1", true}};
    for (const auto& [value, checked] : boxes) {
        common::WriteSetting(box.path, value);
        EXPECT_EQ(common::CheckedFromSetting(box), checked) << value;
    }
    const std::pair<const char*, const char*> counts[] = {{"250", "250"}, {"0", "100"}, {"", "100"}, {"-5", "100"}};
    for (const auto& [value, shown] : counts) {
        common::WriteSetting(count.path, value);
        EXPECT_EQ(common::CountFromSetting(count, 100), shown) << value;
    }
}

}  // namespace
