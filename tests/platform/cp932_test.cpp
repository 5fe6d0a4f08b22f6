#include "platform/cp932.h"

#include <gtest/gtest.h>

#include <iconv.h>

#include <cerrno>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace platform {
namespace {

struct Mapping {
    const char* utf8;
    std::string cp932;
};

// The characters where code page 932 differs from other Japanese code pages, and the
// one-byte forms.
const Mapping kMappings[] = {
    {"～", "\x81\x60"},      // U+FF5E
    {"－", "\x81\x7C"},      // U+FF0D
    {"①", "\x87\x40"},      // U+2460
    {"㈱", "\x87\x8A"},      // U+3231
    {"∥", "\x81\x61"},      // U+2225
    {"￢", "\x81\xCA"},      // U+FFE2
    {"\\", "\x5C"},
    {"~", "\x7E"},
    {"ｱ", "\xB1"},
    {"ﾟ", "\xDF"},
    {"　", "\x81\x40"},
    {"漢字", "\x8A\xBF\x8E\x9A"},
    {"表", "\x95\x5C"},      // second byte is the backslash
    {"A～b", "A\x81\x60" "b"},
};

// What iconv itself gives for `bytes`: each byte that starts no character
// as "?", and the rest after it.
DecodeResult DecodeByIconv(std::string_view bytes) {
    const iconv_t cd = iconv_open("UTF-8", "CP932");
    DecodeResult result;
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    while (inLeft > 0) {
        char buffer[64];
        char* out = buffer;
        std::size_t room = sizeof buffer;
        const std::size_t rc = iconv(cd, &in, &inLeft, &out, &room);
        const int error = errno;
        result.text.append(buffer, static_cast<std::size_t>(out - buffer));
        if (rc == static_cast<std::size_t>(-1) && error != E2BIG) {
            result.text += '?';
            ++result.invalid;
            ++in;
            --inLeft;
        }
    }
    iconv_close(cd);
    return result;
}

// Decoding goes by character, not through iconv a text at a time: every
// byte and pair, and texts of bytes of every kind, decode as iconv decodes.
TEST(Cp932, DecodesAsIconvDoes) {
    std::vector<std::string> texts;
    for (int first = 0; first < 256; ++first) {
        texts.emplace_back(1, static_cast<char>(first));
        for (int second = 0; second < 256; ++second) texts.push_back({static_cast<char>(first), static_cast<char>(second)});
    }
    std::mt19937 random(20240601);
    const std::string kinds[] = {"A\\~\n", "\x81\x82\x88\x9F\xE0\xEA\xFC", "\x40\x7E\x7F\x80\xA0\xB1\xDF\xFD\xFF"};
    for (int t = 0; t < 20000; ++t) {
        std::string text;
        for (std::size_t n = random() % 12; n > 0; --n) {
            const std::string& kind = kinds[random() % 3];
            text += kind[random() % kind.size()];
        }
        texts.push_back(text + "\x8A\xBF\x8E\x9A");  // 漢字
    }
    for (const std::string& text : texts) {
        const DecodeResult expected = DecodeByIconv(text);
        const DecodeResult decoded = FromCp932(text);
        ASSERT_EQ(decoded.text, expected.text) << ::testing::PrintToString(text);
        ASSERT_EQ(decoded.invalid, expected.invalid) << ::testing::PrintToString(text);
    }
}

TEST(Cp932, MapsBothWays) {
    for (const Mapping& m : kMappings) {
        SCOPED_TRACE(m.utf8);
        const EncodeResult encoded = ToCp932(m.utf8);
        EXPECT_EQ(encoded.bytes, m.cp932);
        EXPECT_EQ(encoded.unmappable, 0u);
        const DecodeResult decoded = FromCp932(m.cp932);
        EXPECT_EQ(decoded.text, m.utf8);
        EXPECT_EQ(decoded.invalid, 0u);
    }
}

TEST(Cp932, EveryDecodableCharacterRoundTrips) {
    // Some characters have two CP932 codes, so the round trip that must hold
    // is text -> bytes -> text.
    std::size_t decodable = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            const std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
            const DecodeResult decoded = FromCp932(bytes);
            if (decoded.invalid != 0) {
                continue;
            }
            ++decodable;
            const EncodeResult encoded = ToCp932(decoded.text);
            ASSERT_EQ(encoded.unmappable, 0u) << std::hex << lead << ' ' << trail;
            ASSERT_EQ(FromCp932(encoded.bytes).text, decoded.text) << std::hex << lead << ' ' << trail;
        }
    }
    EXPECT_GT(decodable, 7000u);
}

struct Substitution {
    std::string input;
    std::string output;
    std::size_t count;
};

TEST(Cp932, UnmappableAndInvalidUtf8BecomeCountedQuestionMarks) {
    const Substitution cases[] = {
        {"a😀b", "a?b", 1},
        {"한글", "??", 2},
        {"～한x", "\x81\x60?x", 1},
        {"a\xFF" "b", "a?b", 1},
        {"\xE3\x81", "??", 2},              // truncated at the end
        {"\xE3\x81" "A", "??A", 2},         // truncated before ASCII
        {"\xC0\xAF", "??", 2},              // overlong '/'
        {"\xED\xA0\x80", "???", 3},         // UTF-16 surrogate
        {"漢\x80字", "\x8A\xBF?\x8E\x9A", 1},
        // long ASCII runs, read eight bytes at a time, around the bad bytes
        {"abcdefghij\xFFklmnopqrstu漢", "abcdefghij?klmnopqrstu\x8A\xBF", 1},
        {"12345678\x80" "abcdefgh\xE3\x81", "12345678?abcdefgh??", 3},
        // ASCII runs long enough to be kept from iconv, between characters it converts or refuses
        {"한" + std::string(40, 'a') + "😀" + std::string(32, 'b') + "漢" + std::string(31, 'c') + "\xFF～",
         "?" + std::string(40, 'a') + "?" + std::string(32, 'b') + "\x8A\xBF" + std::string(31, 'c') + "?\x81\x60", 3},
    };
    for (const Substitution& c : cases) {
        SCOPED_TRACE(c.input);
        const EncodeResult encoded = ToCp932(c.input);
        EXPECT_EQ(encoded.bytes, c.output);
        EXPECT_EQ(encoded.unmappable, c.count);
    }
}

TEST(Cp932, InvalidBytesBecomeCountedQuestionMarks) {
    const Substitution cases[] = {
        {"A\x81", "A?", 1},                       // lead byte alone at the end
        {"\xFF", "?", 1},
        {"\x80\xA0\xFD\xFE", "????", 4},
        {"\x81 x", "? x", 1},                     // lead byte without a trail byte
        {"\x81\x60\xFF\x81\x60", "～?～", 1},
        {"\xB1\x81", "ｱ?", 1},
        {"\x81 abcdefghijklmnop\xFF\x81\x60" "abcdefgh", "? abcdefghijklmnop?～abcdefgh", 2},
    };
    for (const Substitution& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.input));
        const DecodeResult decoded = FromCp932(c.input);
        EXPECT_EQ(decoded.text, c.output);
        EXPECT_EQ(decoded.invalid, c.count);
    }
}

TEST(Cp932, EmptyAndAsciiPassThrough) {
    EXPECT_EQ(ToCp932("").bytes, "");
    EXPECT_EQ(FromCp932("").text, "");
    const std::string ascii("line 1\t\\~\r\n\0end", 15);
    EXPECT_EQ(ToCp932(ascii).bytes, ascii);
    EXPECT_EQ(FromCp932(ascii).text, ascii);
}

TEST(Cp932, LengthCountsBytesWithSubstitutionsAsOne) {
    EXPECT_EQ(Cp932Length(""), 0u);
    EXPECT_EQ(Cp932Length("ｱ～a😀"), 5u);
    EXPECT_EQ(Cp932Length("\xFF漢"), 3u);
}

TEST(Cp932, CharBytesFromLeadByte) {
    const std::pair<unsigned char, std::size_t> cases[] = {
        {0x41, 1}, {0x80, 1}, {0x81, 2}, {0x9F, 2}, {0xA0, 1},
        {0xB1, 1}, {0xDF, 1}, {0xE0, 2}, {0xFC, 2}, {0xFD, 1},
    };
    for (const auto& [lead, bytes] : cases) {
        EXPECT_EQ(Cp932CharBytes(lead), bytes) << std::hex << int{lead};
    }
}

TEST(Cp932, ConvertsConcurrently) {
    const std::string text = "受注～①㈱ｱ－\\";
    const std::string bytes = ToCp932(text).bytes;
    std::vector<std::thread> threads;
    std::vector<int> failures(8, 0);
    for (std::size_t t = 0; t < failures.size(); ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 2000; ++i) {
                if (ToCp932(text).bytes != bytes || FromCp932(bytes).text != text) {
                    ++failures[t];
                }
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    for (int f : failures) {
        EXPECT_EQ(f, 0);
    }
}

}  // namespace
}  // namespace platform
