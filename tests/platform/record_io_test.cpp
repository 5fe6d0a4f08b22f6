#include "platform/record_io.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <stdexcept>
#include <string>

namespace platform {
namespace {

// "0A ff" -> the two bytes; blanks are for reading only.
std::string Hex(std::string_view text) {
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != ' ') {
            bytes.push_back(static_cast<char>(std::stoi(std::string(text.substr(i, 2)), nullptr, 16)));
            ++i;
        }
    }
    return bytes;
}

TEST(RecordIo, WritesExactBytesAndReadsThemBack) {
    RecordWriter writer;
    writer.Int16(-2);
    writer.Int32(0x12345678);
    writer.CurrencyRaw(-12345);
    writer.Double(1.0);
    writer.FixedText("ｱ漢", 4);
    writer.VarText("～a");
    writer.Bytes(Hex("00 FF"));
    EXPECT_EQ(writer.data(), Hex("FE FF"
                                 " 78 56 34 12"
                                 " C7 CF FF FF FF FF FF FF"
                                 " 00 00 00 00 00 00 F0 3F"
                                 " B1 8A BF 20"
                                 " 03 00 81 60 61"
                                 " 00 FF"));
    EXPECT_EQ(writer.unmappable(), 0u);

    RecordReader reader(writer.data());
    EXPECT_EQ(reader.Int16(), -2);
    EXPECT_EQ(reader.Int32(), 0x12345678);
    EXPECT_EQ(reader.CurrencyRaw(), -12345);
    EXPECT_EQ(reader.Double(), 1.0);
    EXPECT_EQ(reader.FixedText(4), "ｱ漢 ");
    EXPECT_EQ(reader.VarText(), "～a");
    EXPECT_EQ(reader.position(), 31u);
    reader.Skip(2);
    EXPECT_EQ(reader.remaining(), 0u);
    EXPECT_EQ(reader.invalid(), 0u);
}

TEST(RecordIo, NumbersRoundTripAtTheirLimits) {
    using I16 = std::numeric_limits<std::int16_t>;
    using I32 = std::numeric_limits<std::int32_t>;
    using I64 = std::numeric_limits<std::int64_t>;
    const double doubles[] = {0.0, -0.0, 45292.75, -657434.0, 1e308, 5e-324,
                              std::numeric_limits<double>::infinity()};
    RecordWriter writer;
    for (std::int16_t v : {I16::min(), I16::max(), std::int16_t{0}}) writer.Int16(v);
    for (std::int32_t v : {I32::min(), I32::max(), 0}) writer.Int32(v);
    for (std::int64_t v : {I64::min(), I64::max(), std::int64_t{0}}) writer.CurrencyRaw(v);
    for (double v : doubles) writer.Double(v);

    RecordReader reader(writer.data());
    for (std::int16_t v : {I16::min(), I16::max(), std::int16_t{0}}) EXPECT_EQ(reader.Int16(), v);
    for (std::int32_t v : {I32::min(), I32::max(), 0}) EXPECT_EQ(reader.Int32(), v);
    for (std::int64_t v : {I64::min(), I64::max(), std::int64_t{0}}) EXPECT_EQ(reader.CurrencyRaw(), v);
    for (double v : doubles) {
        const double back = reader.Double();
        EXPECT_EQ(back, v);
        EXPECT_EQ(std::signbit(back), std::signbit(v));
    }
    EXPECT_EQ(reader.remaining(), 0u);
}

TEST(RecordIo, FixedTextIsCutWithoutSplittingACharacter) {
    const std::pair<std::size_t, std::string> cases[] = {
        {0, ""},
        {3, "61 62 20"},              // 漢 would straddle the end
        {5, "61 62 8A BF 20"},
        {8, "61 62 8A BF 8E 9A 20 20"},
    };
    for (const auto& [width, hex] : cases) {
        RecordWriter writer;
        writer.FixedText("ab漢字", width);
        EXPECT_EQ(writer.data(), Hex(hex)) << width;
    }
}

TEST(RecordIo, WriterSumsSubstitutionsOfAllTexts) {
    RecordWriter writer;
    writer.FixedText("😀x", 2);
    writer.VarText("한x한");
    writer.FixedText("한", 0);  // cut away, so not written
    EXPECT_EQ(writer.data(), Hex("3F 78 03 00 3F 78 3F"));
    EXPECT_EQ(writer.unmappable(), 3u);
}

TEST(RecordIo, VarTextLengthCountsCp932Bytes) {
    std::string text;
    for (int i = 0; i < 32767; ++i) text += "漢";
    RecordWriter writer;
    writer.VarText(text + "a");  // 65535 bytes
    EXPECT_EQ(writer.data().size(), 2u + 65535u);
    EXPECT_EQ(writer.data().substr(0, 2), Hex("FF FF"));
    EXPECT_EQ(RecordReader(writer.data()).VarText(), text + "a");
    EXPECT_THROW(writer.VarText(text + "漢"), std::length_error);
    EXPECT_EQ(writer.data().size(), 2u + 65535u);
}

TEST(RecordIo, FixedTextReadsNulAsBlankAndKeepsTrailingBlanks) {
    const std::string data = Hex("41 00 8A BF 00 00 20 20");
    RecordReader reader(data);
    EXPECT_EQ(reader.FixedText(8), "A 漢    ");
}

TEST(RecordIo, ReaderCountsInvalidBytes) {
    const std::string data = Hex("41 81 FF 01 00 81");
    RecordReader reader(data);
    EXPECT_EQ(reader.FixedText(3), "A??");
    EXPECT_EQ(reader.VarText(), "?");
    EXPECT_EQ(reader.invalid(), 3u);
}

struct ShortRead {
    const char* field;
    std::string tail;  // what follows a two-byte Int16 that is read first
    std::function<void(RecordReader&)> read;
    const char* where;
};

TEST(RecordIo, ReadingPastTheEndThrowsNamingFieldAndPosition) {
    const ShortRead cases[] = {
        {"Int16", "AA", [](RecordReader& r) { r.Int16(); }, "position 2"},
        {"Int32", "AA BB CC", [](RecordReader& r) { r.Int32(); }, "position 2"},
        {"Currency", "AA BB CC DD EE FF 00", [](RecordReader& r) { r.CurrencyRaw(); }, "position 2"},
        {"Double", "", [](RecordReader& r) { r.Double(); }, "position 2"},
        {"FixedText", "41", [](RecordReader& r) { r.FixedText(2); }, "position 2"},
        {"VarText length", "03", [](RecordReader& r) { r.VarText(); }, "position 2"},
        {"VarText", "03 00 41 42", [](RecordReader& r) { r.VarText(); }, "position 4"},
        {"Skip", "41", [](RecordReader& r) { r.Skip(2); }, "position 2"},
    };
    for (const ShortRead& c : cases) {
        const std::string data = Hex("01 00 ") + Hex(c.tail);
        RecordReader reader(data);
        reader.Int16();
        try {
            c.read(reader);
            ADD_FAILURE() << c.field << " read past the end";
        } catch (const std::out_of_range& e) {
            const std::string message = e.what();
            EXPECT_NE(message.find(c.field), std::string::npos) << message;
            EXPECT_NE(message.find(c.where), std::string::npos) << message;
        }
    }
}

}  // namespace
}  // namespace platform
