#include "common/text/text_compare.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using common::FindText;
using common::FindTextSpan;
using common::NormalizeForCompare;
using common::TextEquals;

struct Pair {
    const char* a;
    const char* b;
};

TEST(TextCompare, EqualAsText) {
    const Pair equal[] = {
        {"ABC", "abc"},
        {"ＡＢＣ", "abc"},          // full-width letters
        {"ａｂｃ", "ABC"},
        {"１２", "12"},             // full-width digits
        {"Ｎ／Ａ", "n/a"},          // full-width signs
        {"　", " "},                // ideographic space
        {"￥", "¥"},
        {"ｶﾞ", "ガ"},               // half-width kana with voiced mark
        {"ﾊﾟ", "パ"},               // semi-voiced
        {"ﾊﾞ", "バ"},
        {"ｳﾞ", "ヴ"},
        {"ﾜﾞ", "ヷ"},
        {"ｦﾞ", "ヺ"},
        {"ｶﾞｲﾄﾞ", "ガイド"},
        {"ｱｲｳｴｵ", "アイウエオ"},
        {"ｧｯｬｰ", "ァッャー"},
        {"｡｢｣､･", "。「」、・"},
        {"ひらがな", "ヒラガナ"},   // kana kind
        {"ｶﾞｲﾄﾞ", "がいど"},        // width and kana kind together
        {"ゔ", "ヴ"},
        {"ゝゞ", "ヽヾ"},
        {"か\u3099", "ガ"},          // combining voiced mark joined
        {"ハ\u309A", "ﾊﾟ"},
        {"ÀÉÞ", "àéþ"},
        {"ΑΒΓ", "αβγ"},
        {"ДЖЁ", "джё"},
        {"株式会社ＡＢＣ", "株式会社abc"},
        {"", ""},
        {"\xff", "\xff"},
    };
    for (const Pair& p : equal) {
        EXPECT_TRUE(TextEquals(p.a, p.b)) << p.a << " vs " << p.b;
        EXPECT_TRUE(TextEquals(p.b, p.a)) << p.b << " vs " << p.a;
        EXPECT_EQ(NormalizeForCompare(p.a), NormalizeForCompare(p.b)) << p.a;
    }
}

TEST(TextCompare, NotEqualAsText) {
    const Pair different[] = {
        {"ｶ", "ガ"},           // the mark matters
        {"ｶﾞ", "カ"},
        {"ﾊﾟ", "バ"},          // semi-voiced is not voiced
        {"ｱﾞ", "ア"},          // ア takes no mark: ア゛
        {"abc", "ab"},
        {"a", "b"},
        {" a", "a"},           // no trimming
        {"×", "÷"},            // not letters
        {"漢", "漢字"},
        {"\xff", "\xfe"},       // malformed bytes equal only themselves
        {"\xff", "\uFFFD"},
        {"0", "０a"},
    };
    for (const Pair& p : different) {
        EXPECT_FALSE(TextEquals(p.a, p.b)) << p.a << " vs " << p.b;
    }
}

TEST(TextCompare, HalfWidthMarksStandAloneAfterOtherCharacters) {
    // Only a half-width kana takes a half-width mark; elsewhere it is the
    // full-width spacing mark.
    EXPECT_TRUE(TextEquals("カﾞ", "カ゛"));
    EXPECT_FALSE(TextEquals("カﾞ", "ガ"));
    EXPECT_TRUE(TextEquals("ｱﾞ", "ア゛"));
    EXPECT_TRUE(TextEquals("ﾞ", "゛"));
    EXPECT_TRUE(TextEquals("ｶﾞﾞ", "ガ゛"));
}

TEST(TextCompare, NormalForm) {
    EXPECT_EQ(NormalizeForCompare("ＡＢＣ１２"), "abc12");
    EXPECT_EQ(NormalizeForCompare("ｶﾞｲﾄﾞ"), "ガイド");
    EXPECT_EQ(NormalizeForCompare("ひらがなABC"), "ヒラガナabc");
    EXPECT_EQ(NormalizeForCompare("a\xff" "B"), "a\xff" "b");
    EXPECT_EQ(NormalizeForCompare(""), "");
}

TEST(TextCompare, FindCountsCodePointsOfTheOriginal) {
    EXPECT_EQ(FindText("abcABC", "C"), 3u);
    EXPECT_EQ(FindText("ＡＢＣ", "bc"), 2u);
    EXPECT_EQ(FindText("漢字テキスト", "てきすと"), 3u);
    EXPECT_EQ(FindText("ｱｲｳｴｵｶﾞ", "ガ"), 6u);
    EXPECT_EQ(FindText("ｶﾞｲﾄﾞ!", "!"), 6u);      // the joined pair counts as 2
    EXPECT_EQ(FindText("\xff" "abc", "b"), 3u);   // a malformed byte counts as 1
    EXPECT_EQ(FindText("abc", "d"), 0u);
    EXPECT_EQ(FindText("ab", "abc"), 0u);
    EXPECT_EQ(FindText("ｶﾞ", "ｶ"), 0u);           // half of a joined pair is not found
}

TEST(TextCompare, EmptySearchedTextIsFoundAtTheStart) {
    EXPECT_EQ(FindText("abc", ""), 1u);
    EXPECT_EQ(FindText("", ""), 0u);
    EXPECT_EQ(FindText("", "a"), 0u);
}

TEST(TextCompare, SpanCoversTheOriginalCharacters) {
    const common::TextSpan span = FindTextSpan("xｶﾞyz", "ガY");
    EXPECT_EQ(span.position, 2u);
    EXPECT_EQ(span.length, 3u);
    const common::TextSpan plain = FindTextSpan("abcd", "BC");
    EXPECT_EQ(plain.position, 2u);
    EXPECT_EQ(plain.length, 2u);
    const common::TextSpan none = FindTextSpan("abcd", "e");
    EXPECT_EQ(none.position, 0u);
    EXPECT_EQ(none.length, 0u);
}

}  // namespace
