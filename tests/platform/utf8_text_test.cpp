#include "platform/utf8_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/cp932.h"

namespace platform {
namespace {

TEST(NextCodePoint, DecodesEachLength) {
    const std::pair<std::string, char32_t> cases[] = {
        {"A", U'A'}, {"\xC3\xA9", U'é'}, {"あ", U'あ'}, {"😀", U'😀'}, {"\xF4\x8F\xBF\xBF", 0x10FFFF},
    };
    for (const auto& [text, expected] : cases) {
        std::size_t pos = 0;
        char32_t cp = 0;
        EXPECT_TRUE(NextCodePoint(text + "x", pos, cp)) << text;
        EXPECT_EQ(cp, expected) << text;
        EXPECT_EQ(pos, text.size()) << text;
    }
}

TEST(NextCodePoint, MalformedSequenceSkipsOneByte) {
    const std::string cases[] = {
        "\x80",              // stray continuation byte
        "\xC0\xAF",          // overlong
        "\xE0\x80\xAF",      // overlong
        "\xED\xA0\x80",      // surrogate
        "\xF4\x90\x80\x80",  // past U+10FFFF
        "\xE3\x81",          // truncated
        "\xE3\x41\x82",      // continuation missing
        "\xF8\x88\x80\x80\x80",
        "\xFF",
    };
    for (const std::string& text : cases) {
        std::size_t pos = 0;
        char32_t cp = 0;
        EXPECT_FALSE(NextCodePoint(text, pos, cp)) << ::testing::PrintToString(text);
        EXPECT_EQ(pos, 1u) << ::testing::PrintToString(text);
        EXPECT_EQ(cp, 0xFFFDu);
    }
}

TEST(NextCodePoint, AtEndDoesNotMove) {
    std::size_t pos = 1;
    char32_t cp = 0;
    EXPECT_FALSE(NextCodePoint("a", pos, cp));
    EXPECT_EQ(pos, 1u);
}

TEST(AppendUtf8, RoundTripsAtEncodingBoundaries) {
    for (char32_t cp : {0x00u, 0x7Fu, 0x80u, 0x7FFu, 0x800u, 0xD7FFu, 0xE000u, 0xFFFFu,
                        0x10000u, 0x10FFFFu}) {
        std::string text;
        AppendUtf8(text, cp);
        std::size_t pos = 0;
        char32_t back = 0;
        EXPECT_TRUE(NextCodePoint(text, pos, back)) << std::hex << static_cast<std::uint32_t>(cp);
        EXPECT_EQ(back, cp);
        EXPECT_EQ(pos, text.size());
    }
}

TEST(AppendUtf8, NonCharactersBecomeReplacement) {
    std::string text;
    AppendUtf8(text, 0xD800);
    AppendUtf8(text, 0x110000);
    EXPECT_EQ(text, "\uFFFD\uFFFD");
}

TEST(CharCount, CountsCodePointsAndStrayBytes) {
    EXPECT_EQ(CharCount(""), 0u);
    EXPECT_EQ(CharCount("a漢😀"), 3u);
    EXPECT_EQ(CharCount("a\xFF" "b\xE3\x81"), 5u);
}

// "AB漢字cd": six characters of one, three and one byte.
constexpr std::string_view kMixed = "AB漢字cd";

struct Slice {
    std::string got;
    std::string expected;
};

TEST(LeftMidRight, CountCharactersFromOne) {
    const Slice cases[] = {
        {LeftChars(kMixed, 0), ""},
        {LeftChars(kMixed, 3), "AB漢"},
        {LeftChars(kMixed, 99), "AB漢字cd"},
        {RightChars(kMixed, 0), ""},
        {RightChars(kMixed, 3), "字cd"},
        {RightChars(kMixed, 99), "AB漢字cd"},
        {MidChars(kMixed, 1), "AB漢字cd"},
        {MidChars(kMixed, 3), "漢字cd"},
        {MidChars(kMixed, 3, 2), "漢字"},
        {MidChars(kMixed, 4, 0), ""},
        {MidChars(kMixed, 6, 5), "d"},
        {MidChars(kMixed, 7), ""},
        {MidChars(kMixed, 99, 1), ""},
        {MidChars("a\xFF" "b", 2, 1), "\xFF"},
    };
    for (const Slice& c : cases) {
        EXPECT_EQ(c.got, c.expected);
    }
}

TEST(LeftMidRight, MidFromZeroIsRefused) {
    EXPECT_THROW(MidChars(kMixed, 0), std::invalid_argument);
}

TEST(PadChars, PadsOrCutsToWidth) {
    const Slice cases[] = {
        {PadRightChars("漢a", 4), "漢a  "},
        {PadLeftChars("漢a", 4), "  漢a"},
        {PadRightChars("漢a", 3, U'＊'), "漢a＊"},
        {PadLeftChars("12", 4, U'0'), "0012"},
        {PadRightChars("漢字かな", 2), "漢字"},
        {PadLeftChars("漢字かな", 2), "漢字"},
        {PadRightChars("漢字", 2), "漢字"},
        {PadRightChars("", 0), ""},
    };
    for (const Slice& c : cases) {
        EXPECT_EQ(c.got, c.expected);
    }
}

struct ByteFit {
    std::string text;
    std::size_t width;
    std::string cut;
};

TEST(Cp932Bytes, CutNeverSplitsACharacter) {
    const ByteFit cases[] = {
        {"ab漢字", 0, ""},
        {"ab漢字", 3, "ab"},          // 漢 would straddle the end
        {"ab漢字", 4, "ab漢"},
        {"ab漢字", 6, "ab漢字"},
        {"ab漢字", 9, "ab漢字"},
        {"ｱｲｳ", 2, "ｱｲ"},             // half-width katakana take one byte
        {"😀漢", 1, "😀"},            // unmappable counts as its "?"
        {"\xFF漢字", 2, "\xFF"},       // so does an invalid byte
        {"\xFF漢字", 3, "\xFF漢"},
    };
    for (const ByteFit& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.text) + " in " + std::to_string(c.width));
        EXPECT_EQ(CutToCp932Bytes(c.text, c.width), c.cut);
    }
}

TEST(Cp932Bytes, PadGivesExactWidth) {
    const ByteFit cases[] = {
        {"ab漢字", 3, "ab "},
        {"ab漢字", 5, "ab漢 "},
        {"ab漢字", 8, "ab漢字  "},
        {"漢", 1, " "},
        {"", 2, "  "},
        {"ｱ😀", 3, "ｱ😀 "},
    };
    for (const ByteFit& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.text) + " in " + std::to_string(c.width));
        const std::string padded = PadToCp932Bytes(c.text, c.width);
        EXPECT_EQ(padded, c.cut);
        EXPECT_EQ(Cp932Length(padded), c.width);
    }
}

TEST(Trim, RemovesHalfWidthBlanksOnly) {
    const Slice cases[] = {
        {TrimBlanks(" \t漢 a\r\n"), "漢 a"},
        {TrimBlanks(" \r\n\t "), ""},
        {TrimBlanks(""), ""},
        {TrimBlanks("　漢　"), "　漢　"},
        {TrimLeft("  漢  "), "漢  "},
        {TrimRight("  漢  "), "  漢"},
        {TrimLeft(" \t"), ""},
        {TrimRight(" \t"), ""},
    };
    for (const Slice& c : cases) {
        EXPECT_EQ(c.got, c.expected);
    }
}

// Separators at every position of the eight-byte words the split looks at,
// next to each other, at both ends and past the last whole word; bytes that
// differ from the separator only in the high bit are no separators.
TEST(SplitAt, CutsAtEverySeparatorAndOnlyThere) {
    const std::string alphabet = std::string("\tab") + static_cast<char>(0x89) + "漢";
    std::uint32_t state = 12345;
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        const int length = round % 41;
        for (int i = 0; i < length; ++i) {
            state = state * 1103515245u + 12345u;
            text += alphabet[(state >> 16) % alphabet.size()];
        }
        std::vector<std::string_view> expected;
        std::size_t start = 0;
        for (std::size_t i = 0; i <= text.size(); ++i) {
            if (i == text.size() || text[i] == '\t') {
                expected.push_back(std::string_view(text).substr(start, i - start));
                start = i + 1;
            }
        }
        ASSERT_EQ(SplitAt(text, '\t'), expected) << "round " << round;
    }
}

}  // namespace
}  // namespace platform
