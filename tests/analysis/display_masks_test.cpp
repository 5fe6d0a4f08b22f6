#include "analysis/display_masks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr const char* kDefaultHsk = "11111000001110000000111111000011100000000000000000";

TEST(DisplayMasks, BoxesAndMasksRoundTrip) {
    const std::vector<bool> boxes = analysis::BoxesFromMask(kDefaultHsk, analysis::kRuleBoxes);
    ASSERT_EQ(boxes.size(), 50u);
    EXPECT_TRUE(boxes[0]);
    EXPECT_FALSE(boxes[5]);
    EXPECT_TRUE(boxes[32]);
    EXPECT_EQ(analysis::MaskFromBoxes(boxes), kDefaultHsk);
}

TEST(DisplayMasks, DamagedOrShortMaskTicksOnlyItsOnes) {
    EXPECT_EQ(analysis::BoxesFromMask("1x21", 6), (std::vector<bool>{true, false, false, true, false, false}));
    EXPECT_EQ(analysis::MaskFromBoxes(analysis::BoxesFromMask("", analysis::kBasicBoxes)), std::string(20, '0'));
}

TEST(DisplayMasks, FamilyBoxSetsOnlyItsNamedRules) {
    const std::string clear(50, '0');
    EXPECT_EQ(analysis::WithFamilyRules(clear, 3, true).substr(18, 10), "0011111100");
    EXPECT_EQ(analysis::WithFamilyRules(kDefaultHsk, 2, false), "11111000000000000000111111000011100000000000000000");
    EXPECT_EQ(analysis::WithFamilyRules(std::string(50, '1'), 5, false), std::string(50, '1'));
    EXPECT_EQ(analysis::WithFamilyRules("1", 1, true),
              "11111");  // a short mask grows to its rules
}

TEST(DisplayMasks, AllRulesBoxSetsFamilies1To4AndTheirRules) {
    std::string reserve(50, '0');
    reserve[49] = '1';
    const analysis::RuleMasks cleared = analysis::WithAllRules({kDefaultHsk, "11111"}, false);
    EXPECT_EQ(cleared.hsk, std::string(50, '0'));
    EXPECT_EQ(cleared.lrs, "00001");  // the reserve family keeps its box

    const analysis::RuleMasks ticked = analysis::WithAllRules({reserve, "00000"}, true);
    std::string expected = kDefaultHsk;
    expected[49] = '1';  // reserve boxes are left as they were
    EXPECT_EQ(ticked.hsk, expected);
    EXPECT_EQ(ticked.lrs, "11110");
}

}  // namespace
