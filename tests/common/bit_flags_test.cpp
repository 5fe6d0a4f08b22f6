#include "common/bit_flags.h"

#include <gtest/gtest.h>

namespace {

TEST(BitFlags, TestsWithOneAndSeveralBits) {
    const long flags = 0b1010;
    EXPECT_TRUE(common::IsBitSet(flags, 0b0010));
    EXPECT_FALSE(common::IsBitSet(flags, 0b0100));
    EXPECT_TRUE(common::IsBitSet(flags, 0b0110));  // any bit of the mask
    EXPECT_FALSE(common::IsBitSet(flags, 0));
    EXPECT_TRUE(common::IsBitClear(flags, 0b0101));
    EXPECT_FALSE(common::IsBitClear(flags, 0b1000));
    EXPECT_TRUE(common::IsBitSet(-1, 1L << 40));
}

TEST(BitFlags, Texts) {
    EXPECT_EQ(common::BitDigit(4, 4), "1");
    EXPECT_EQ(common::BitDigit(4, 2), "0");
    EXPECT_EQ(common::BitMarkText(4, 4), "○");
    EXPECT_EQ(common::BitMarkText(4, 2), " ");
    EXPECT_EQ(common::TextIfBitSet(4, 4, "上昇"), "上昇");
    EXPECT_EQ(common::TextIfBitSet(4, 2, "上昇"), "");
}

}  // namespace
