#include "common/text/web_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Items = std::vector<std::string>;

TEST(ContainsText, FindsAsTextAndGivesThePosition) {
    long position = -1;
    EXPECT_TRUE(common::ContainsText("Hello World", "WORLD", position));
    EXPECT_EQ(position, 7);
    EXPECT_TRUE(common::ContainsText("株式会社ABC", "ａｂｃ", position));
    EXPECT_EQ(position, 5);
    EXPECT_TRUE(common::ContainsText("ﾄﾖﾀ自動車", "トヨタ", position));
    EXPECT_EQ(position, 1);
    EXPECT_FALSE(common::ContainsText("Hello", "x", position));
    EXPECT_EQ(position, 0);
    EXPECT_TRUE(common::ContainsText("Price: N/A", "n/a"));
    EXPECT_FALSE(common::ContainsText("", "a"));
}

TEST(ReplaceInPlace, ReplacesEveryOccurrenceCaseSensitively) {
    std::string text = "a-b-c";
    common::ReplaceInPlace(text, "-", "+");
    EXPECT_EQ(text, "a+b+c");

    text = "aAa";
    common::ReplaceInPlace(text, "a", "x");
    EXPECT_EQ(text, "xAx");

    text = "aa";
    common::ReplaceInPlace(text, "a", "aa");  // no re-scan of what was put in
    EXPECT_EQ(text, "aaaa");

    text = "aaa";
    common::ReplaceInPlace(text, "aa", "b");  // left to right, no overlaps
    EXPECT_EQ(text, "ba");

    text = "abc";
    common::ReplaceInPlace(text, "", "x");
    EXPECT_EQ(text, "abc");

    text = "１,０００円";
    common::ReplaceInPlace(text, "円", "");
    EXPECT_EQ(text, "１,０００");
}

TEST(ReplaceInPlace, AcceptsArgumentsThatPointIntoTheText) {
    std::string text = "abab";
    const std::string_view view(text);
    common::ReplaceInPlace(text, view.substr(0, 1), view.substr(1, 1));
    EXPECT_EQ(text, "bbbb");
}

TEST(CleanField, MarkerGivesTheReplacementUntrimmedAndUnchanged) {
    EXPECT_EQ(common::CleanField(true, "-", "-", "  (n/a), ", "n"), "  (n/a), ");
    // The marker comparison is exact.
    EXPECT_EQ(common::CleanField(false, "N/A", "n/a", "X", ""), "N/A");
    EXPECT_EQ(common::CleanField(false, " - ", "-", "X", ""), "-");
}

TEST(CleanField, StripsTheListedSignsAndTheExtraText) {
    EXPECT_EQ(common::CleanField(true, " (1,234) ", "-", "", ""), "1234");
    EXPECT_EQ(common::CleanField(true, "（株）トヨタ", "", "", ""), "株トヨタ");
    EXPECT_EQ(common::CleanField(false, " 1,234 ", "", "", ""), "1,234");
    EXPECT_EQ(common::CleanField(false, "円 100円 ", "", "", "円"), "100");
    EXPECT_EQ(common::CleanField(true, "(1,000)株", "", "", "株"), "1000");
    EXPECT_EQ(common::CleanField(false, "", "", "R", ""), "R");  // "" equal to the marker ""
    EXPECT_EQ(common::CleanField(false, " \t", "x", "R", ""), "");
}

TEST(SplitNonEmpty, KeepsTheNonBlankPiecesUntrimmed) {
    long count = -1;
    Items items{"stale"};
    common::SplitNonEmpty(" a, ,b ,,", ",", count, items);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(items, (Items{"a", "b "}));

    common::SplitNonEmpty("x<>y<>z", "<>", count, items);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(items, (Items{"x", "y", "z"}));

    common::SplitNonEmpty("  one  ", "", count, items);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(items, (Items{"one"}));
}

TEST(SplitNonEmpty, NoUsablePieceGivesCountZeroAndNoItems) {
    long count = -1;
    Items items{"stale"};
    common::SplitNonEmpty("", ",", count, items);
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(items.empty());
    common::SplitNonEmpty(" , ,\t, ", ",", count, items);
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(items.empty());
}

TEST(CleanAndSplit, ModeOneKeepsTheLastPieces) {
    long count = 0;
    Items items;
    common::CleanAndSplit(false, 1, 2, "a,b,c", ",", "", count, items);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(items, (Items{"b", "c"}));

    common::CleanAndSplit(false, 0, 2, "a,b,c", ",", "", count, items);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(items, (Items{"a", "b"}));

    common::CleanAndSplit(false, 1, 5, "a,b,c", ",", "", count, items);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(items, (Items{"a", "b", "c"}));

    common::CleanAndSplit(false, 1, 0, "a,b,c", ",", "", count, items);
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(items.empty());
}

TEST(CleanAndSplit, CleansBeforeSplitting) {
    long count = 0;
    Items items;
    // The strip flag removes the commas before the split on them.
    common::CleanAndSplit(true, 0, 5, "a,b", ",", "", count, items);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(items, (Items{"ab"}));

    common::CleanAndSplit(false, 0, 5, "1円/ /2円", "/", "円", count, items);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(items, (Items{"1", "2"}));
}

TEST(SplitPair, TakesTwoPiecesOrKeepsTheDefaults) {
    std::string v1, v2;
    common::SplitPair(false, "10 - 20円", "", "d1", "d2", "-", "円", v1, v2);
    EXPECT_EQ(v1, "10 ");
    EXPECT_EQ(v2, " 20");

    common::SplitPair(true, "N/A", "N/A", "d1", "d2", "x", "", v1, v2);
    EXPECT_EQ(v1, "d1");
    EXPECT_EQ(v2, "d2");

    common::SplitPair(true, "  ", "N/A", "d1", "d2", "x", "", v1, v2);
    EXPECT_EQ(v1, "d1");
    EXPECT_EQ(v2, "d2");

    common::SplitPair(true, "7", "", "d1", "d2", "x", "", v1, v2);
    EXPECT_EQ(v1, "7");
    EXPECT_EQ(v2, "d2");

    common::SplitPair(true, "(3)x(5)", "", "0", "0", "x", "", v1, v2);
    EXPECT_EQ(v1, "3");
    EXPECT_EQ(v2, "5");
}

TEST(SplitPair, OutputsMayAliasTheInput) {
    std::string v1 = "4x9";
    std::string v2;
    common::SplitPair(false, v1, "", "0", "0", "x", "", v1, v2);
    EXPECT_EQ(v1, "4");
    EXPECT_EQ(v2, "9");
}

TEST(TextBetween, CutsBetweenTheMarkers) {
    EXPECT_EQ(common::TextBetween("価格：1,234円（前日比）", "価格：", "円"), "1,234");
    EXPECT_EQ(common::TextBetween("key= value ", "KEY=", ";"), "value");       // no end marker
    EXPECT_EQ(common::TextBetween("  abc  ", "x", "y"), "  abc  ");             // no start marker
    EXPECT_EQ(common::TextBetween("ｶﾞｲﾄﾞ 12 円", "ガイド", "円"), "12");       // marker found as text
    EXPECT_EQ(common::TextBetween("Open: 5 Close: 6", "open:", "CLOSE"), "5");
    EXPECT_EQ(common::TextBetween("abc", "abc", "x"), "");
}

TEST(NumericOrZero, KeepsNumbersUntouched) {
    std::string text = " 12 ";
    common::NumericOrZero(text);
    EXPECT_EQ(text, " 12 ");
    text = "-1,234.5";
    common::NumericOrZero(text);
    EXPECT_EQ(text, "-1,234.5");
    text = "abc";
    common::NumericOrZero(text);
    EXPECT_EQ(text, "0");
    text = "";
    common::NumericOrZero(text);
    EXPECT_EQ(text, "0");
    text = "1e5";
    common::NumericOrZero(text);
    EXPECT_EQ(text, "0");
}

TEST(NumberText, TrimsAndDropsCommas) {
    EXPECT_EQ(common::NumberTextOrZero(" 1,234 "), "1234");
    EXPECT_EQ(common::NumberTextOrZero(" -1,000.5 "), "-1000.5");
    EXPECT_EQ(common::NumberTextOrZero(" x "), "0");
    EXPECT_EQ(common::NumberTextOrZero(""), "0");
    EXPECT_EQ(common::NumberTextOrSame(" 1,234 "), "1234");
    EXPECT_EQ(common::NumberTextOrSame(" x,y "), "x,y");
    EXPECT_EQ(common::NumberTextOrSame(""), "");
}

TEST(SplitTimesPair, SideCodeChoosesWhereTheSecondValueGoes) {
    common::ThreeTexts out{"stale", "stale", "stale"};
    common::SplitTimesPair("S", "3 x 5", out);
    EXPECT_EQ(out.first, "5");
    EXPECT_EQ(out.middle, "3");
    EXPECT_EQ(out.third, "");

    common::SplitTimesPair("B", "3 x 5", out);
    EXPECT_EQ(out.first, "");
    EXPECT_EQ(out.middle, "3");
    EXPECT_EQ(out.third, "5");

    common::SplitTimesPair("b", "3 x 5", out);  // the side code is exact
    EXPECT_EQ(out.first, "5");
    EXPECT_EQ(out.third, "");
}

TEST(SplitTimesPair, NotAvailableAndMissingPartsGiveZero) {
    common::ThreeTexts out;
    common::SplitTimesPair("S", " n/a ", out);
    EXPECT_EQ(out.first, "0");
    EXPECT_EQ(out.middle, "0");
    EXPECT_EQ(out.third, "");

    common::SplitTimesPair("B", "1.5 x N/A", out);
    EXPECT_EQ(out.middle, "0");
    EXPECT_EQ(out.third, "0");

    common::SplitTimesPair("B", "(1,000) x (2,000)", out);
    EXPECT_EQ(out.middle, "1000");
    EXPECT_EQ(out.third, "2000");

    common::SplitTimesPair("S", "3 x", out);
    EXPECT_EQ(out.middle, "3");
    EXPECT_EQ(out.first, "0");

    common::SplitTimesPair("S", "", out);
    EXPECT_EQ(out.middle, "0");
    EXPECT_EQ(out.first, "0");
}

TEST(SplitRangePair, SplitsLowAndHigh) {
    std::string low, high;
    common::SplitRangePair("N/A", low, high);
    EXPECT_EQ(low, "0");
    EXPECT_EQ(high, "0");

    common::SplitRangePair(" n/a ", low, high);
    EXPECT_EQ(low, "0");
    EXPECT_EQ(high, "0");

    common::SplitRangePair("1,200 - 1,500", low, high);
    EXPECT_EQ(low, "1200");
    EXPECT_EQ(high, "1500");

    common::SplitRangePair("N/A - 1,500", low, high);
    EXPECT_EQ(low, "0");
    EXPECT_EQ(high, "1500");

    common::SplitRangePair("(100)", low, high);
    EXPECT_EQ(low, "100");
    EXPECT_EQ(high, "0");

    common::SplitRangePair("", low, high);
    EXPECT_EQ(low, "0");
    EXPECT_EQ(high, "0");
}

}  // namespace
