#include "analysis/condition_checks.h"

#include <gtest/gtest.h>

#include <string>

#include "common/settings/settings.h"
#include "tests/support/program_folder.h"

namespace {

constexpr const char* kEnterNumber = "数値を入力してください。　";
constexpr const char* kZeroOrMore = "０以上の数値を入力してください。　";
constexpr const char* kTwoOrMore = "２以上の数値を入力してください。　";

const analysis::ConditionBox& Box(const std::string& name) {
    for (const analysis::ConditionBox& box : analysis::ConditionBoxes()) {
        if (name == box.objectName) return box;
    }
    throw std::invalid_argument(name);
}

TEST(ConditionChecks, EachBoxRefusesWhatTheJudgementCannotUse) {
    const struct {
        const char* box;
        const char* text;
        const char* warning;
    } cases[] = {
        {"EnvAnaMax", "1", kTwoOrMore},
        {"EnvAnaMax", "2", ""},
        {"EnvAnaMax", "1.5", kTwoOrMore},
        {"EnvAnaMax", "3000000000", kEnterNumber},  // beyond a Long: the judgement could not read it
        {"EnvKagiRng", "0", kTwoOrMore},
        {"EnvAnaMin", "-1", kZeroOrMore},
        {"EnvIkoRng", " 0 ", ""},
        {"EnvIkoRng", "", ""},  // the default: read as 0
        {"EnvAnadpt", " ", ""},
        {"EnvAnaMax", "", kTwoOrMore},
        {"EnvTdai", "abc", kEnterNumber},
        {"EnvTdai", "-1", kZeroOrMore},
        {"EnvTdai", "0", ""},
        {"EnvRoeD", "1,000.5", ""},
        {"EnvHnnN", "1e3", kEnterNumber},
        {"EnvIkoD", "１", kEnterNumber},
        {"EnvIkoN", "1000000000000000", kEnterNumber},  // beyond the fixed-point range
        {"EnvAnadpt", "-3.5", ""},
        {"EnvAnadpt", "x", kEnterNumber},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(analysis::ConditionWarning(Box(c.box), c.text), c.warning) << c.box << " \"" << c.text << '"';
    }
}

TEST(ConditionChecks, LargerMinimumIsWrittenInFullWidthDigits) {
    EXPECT_EQ(analysis::NumericMinimumWarning("99", 100), "１００以上の数値を入力してください。　");
    EXPECT_EQ(analysis::NumericMinimumWarning("-9", -5), "－５以上の数値を入力してください。　");
}

TEST(ConditionChecks, BoxesAreCheckedInTheOrderOfLeavingTheScreen) {
    std::string order;
    for (const analysis::ConditionBox& box : analysis::ConditionBoxes()) order += std::string(box.objectName) + " ";
    EXPECT_EQ(order,
              "EnvAnadpt EnvAnaMax EnvAnaMin EnvHnnD EnvHnnN EnvIkoD "
              "EnvIkoN EnvIkoRng EnvKagiRng EnvRoeD EnvRoeN "
              "EnvTdai ");
}

TEST(ConditionChecks, OnlyAPassingTextIsStored) {
    testsupport::ProgramFolder folder(true);
    common::WriteSetting("MirControl\\Kesen\\EnvRange", "5");
    EXPECT_EQ(analysis::StoreCondition(Box("EnvKagiRng"), "1"), kTwoOrMore);
    EXPECT_EQ(common::ReadSetting("MirControl\\Kesen\\EnvRange"), "5");
    EXPECT_EQ(analysis::StoreCondition(Box("EnvKagiRng"), " 7"), "");
    EXPECT_EQ(common::ReadSetting("MirControl\\Kesen\\EnvRange"),
              " 7");  // as typed

    common::WriteSetting("MirControl\\Kesen\\EnvTdai", "15");
    EXPECT_EQ(analysis::StoreCondition(Box("EnvTdai"), "abc"), kEnterNumber);
    EXPECT_EQ(common::ReadSetting("MirControl\\Kesen\\EnvTdai"), "15");
}

}  // namespace
