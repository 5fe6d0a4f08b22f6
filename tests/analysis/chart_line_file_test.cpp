#include "analysis/chart_line_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "common/startup/run_env.h"
#include "marketdata/key.h"
#include "platform/numeric_text.h"
#include "platform/utf8_text.h"
#include "tests/support/stock_key.h"
#include "tests/support/file_bytes.h"
#include "tests/support/program_folder.h"
#include "tests/support/trapped.h"

namespace {

namespace fs = std::filesystem;
using analysis::KagiLineRec;
using platform::Currency;

Currency Money(const char* text) { return *platform::ParseCurrency(text); }

using testsupport::StockKey;

// A different value in every field, the working fields included.
KagiLineRec DistinctRecord() {
    KagiLineRec r;
    r.KagiDate = 45000;  // 2023/03/15
    r.KagiDate2 = 2;     // 1900/01/01
    r.Price = Money("1234.5678");
    r.Low = Money("1200.25");
    r.High = Money("1250.75");
    r.Volume = Money("30000");
    r.VolumeSum = Money("150000");
    r.Tick = Money("0.5");
    r.Width = Money("25");
    r.Move = Money("33.3");
    r.BreakPrice = Money("1199");
    r.Direction = "D";
    r.Marked = "M";
    r.RuleHit = "H";
    r.SignalMark = "S";
    r.TurnState = "T";
    r.SignalLine = 0x01020304;
    r.PairLine = 7;
    r.PrevSignalLine = 5;
    r.RuleDate = 45001.25;  // 2023/03/16 06:00
    r.SignalExtraA = Money("1.1");
    r.SignalExtraB = Money("2.2");
    r.SignalPrice = Money("1199.5");
    r.SignalGain = Money("-12.5");
    r.SignalGainPct = Money("-1.0421");
    r.RuleCount = 3;
    r.SignalExtraC = Money("3.3");
    r.Features = 8192 | 2048 | 64 | 1;
    for (int i = 0; i < 8; ++i) r.FeatureExtra[i] = Currency(10 + i);
    r.HoleLines = 4;
    r.HolePriceA = Money("1180");
    r.HolePriceB = Money("1210");
    r.HoleRatio = Money("0.9752");
    r.HoleExtra = {21, 22};
    for (int i = 0; i < 6; ++i) r.LineExtra[i] = Currency(30 + i) + Money("0.5");
    r.LineLength = Money("50.5");
    r.RuleBits = {1, 0x800 | 0x100, 512 | 32, 256, 512 | 256 | 128 | 64 | 32 | 16, 128};
    r.OpenCopy = Money("9");
    r.PriceCopy = Money("8");
    r.LengthWork = Money("7");
    return r;
}

std::vector<std::string> Columns(const std::string& line) {
    const std::vector<std::string_view> pieces = platform::SplitAt(line, '\t');
    return {pieces.begin(), pieces.end()};
}

std::string Repeat(const std::string& column, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += column + "\t";
    return text;
}

class ChartLineFile : public ::testing::Test {
protected:
    ChartLineFile() : folder_(true) {
        common::CCENV00M(env_);
        common::SetTaskWorkPaths(0, 0, env_);
    }

    fs::path Keisen(const std::string& name) const { return folder_.data() / "Keisen" / name; }

    testsupport::ProgramFolder folder_;
    common::EnvRec env_;
    marketdata::Key key_ = StockKey("JPN", "1000", "7203");
};

TEST_F(ChartLineFile, RecordRoundTripIsByteExact) {
    const KagiLineRec rec = DistinctRecord();
    analysis::CFKSN52M(env_, key_, marketdata::kChartLineFileNumber, "", ".dat", {&rec, 1});

    const std::string bytes = testsupport::ReadBytes(Keisen("Keisen-JPN-1000-7203.dat"));
    ASSERT_EQ(bytes.size(), analysis::kKagiLineRecSize);
    const struct {
        std::size_t offset;
        std::string bytes;
    } expected[] = {
        {0, std::string("\x00\x00\x00\x00\x00\xF9\xE5\x40", 8)},   // KagiDate 45000.0
        {16, std::string("\x4E\x61\xBC\x00\x00\x00\x00\x00", 8)},  // Price 1234.5678
        {88, "DMHST"},
        {93, std::string("\x04\x03\x02\x01\x07\x00\x00\x00\x05\x00\x00\x00", 12)},  // SignalLine, PairLine, Prev
        {137, std::string("\xB8\x17\xFE\xFF\xFF\xFF\xFF\xFF", 8)},                  // SignalGain -12.5
        {153, std::string("\x03\x00\x00\x00", 4)},                                  // RuleCount
        {165, std::string("\x41\x28\x00\x00", 4)},                                  // Features 0x2841
        {233, std::string("\x04\x00\x00\x00", 4)},                                  // HoleLines
        {325, std::string("\x01\x00\x00\x00\x00\x09\x00\x00", 8)},                  // RuleBits 0 and 1
        {345, std::string("\x80\x00\x00\x00", 4)},                                  // RuleBits 5
    };
    for (const auto& e : expected) {
        EXPECT_EQ(bytes.substr(e.offset, e.bytes.size()), e.bytes) << "offset " << e.offset;
    }

    std::vector<KagiLineRec> back;
    ASSERT_TRUE(analysis::CFKSN10M(env_, key_, "", ".dat", back));
    ASSERT_EQ(back.size(), 1u);
    KagiLineRec stored = rec;
    stored.OpenCopy = stored.PriceCopy = stored.LengthWork = Currency();
    EXPECT_EQ(back[0], stored);

    analysis::CFKSN52M(env_, key_, marketdata::kChartLineFileNumber, "", ".dat", back);
    EXPECT_EQ(testsupport::ReadBytes(Keisen("Keisen-JPN-1000-7203.dat")), bytes);
}

TEST_F(ChartLineFile, ExportOfAnAllZeroRecord) {
    std::vector<std::string> lines;
    analysis::CFKSN501(std::vector<KagiLineRec>(1), lines);
    ASSERT_EQ(lines.size(), 1u);
    const std::string zeroDate = "1899/12/30";
    const std::string expected = Repeat(zeroDate, 2) + Repeat("0", 9) + Repeat(" ", 5) + Repeat("0", 3) +
                                 Repeat(zeroDate, 1) + Repeat("0", 7) + Repeat("0", 1 + 14) + Repeat("", 6) +
                                 Repeat("0", 21) + Repeat("", 5) + Repeat("0", 4) + Repeat("", 2) + Repeat("0", 17) +
                                 Repeat("", 2);
    EXPECT_EQ(lines[0], expected);
    EXPECT_EQ(Columns(lines[0]).size(), analysis::kChartLineExportColumns);
}

TEST_F(ChartLineFile, ExportPutsEachFieldInItsColumn) {
    std::vector<std::string> lines;
    analysis::CFKSN501(std::vector<KagiLineRec>{DistinctRecord()}, lines);
    const std::vector<std::string> columns = Columns(lines.at(0));
    ASSERT_EQ(columns.size(), analysis::kChartLineExportColumns);
    const struct {
        std::size_t column;
        const char* text;
    } expected[] = {
        {1, "2023/03/15"}, {2, "1900/01/01"}, {3, "1234.5678"}, {6, "30000"},  {11, "1199"},  {12, "D"},
        {16, "T"},         {17, "5"},         {18, "16909060"}, {19, "7"},     {20, "2023/03/16"},
        {21, "1.1"},       {22, "2.2"},       {23, "1199.5"},   {24, "-12.5"}, {25, "-1.0421"},
        {26, "3"},         {27, "3.3"},       {28, "10305"},    {29, "1"},     {30, "0"},     {31, "1"},
        {36, "1"},         {37, "0"},         {42, "1"},        {43, ""},      {48, ""},      {49, "10"},
        {56, "17"},        {57, "4"},         {58, "1180"},     {59, "1210"},  {60, "0.9752"}, {61, "21"},
        {62, "22"},        {63, "30.5"},      {68, "35.5"},     {69, "50.5"},  {70, ""},      {74, ""},
        {75, "1"},         {76, "0"},         {77, "0"},        {78, "1"},     {79, ""},      {80, ""},
        {81, "1"},         {82, "0"},         {85, "1"},        {86, "0"},     {87, "1"},     {88, "0"},
        {89, "1"},         {94, "1"},         {95, "0"},        {96, "0"},     {97, "1"},     {98, ""},
        {100, ""},
    };
    for (const auto& e : expected) {
        EXPECT_EQ(columns[e.column - 1], e.text) << "column " << e.column;
    }

    KagiLineRec broken;
    broken.RuleDate = std::nan("");
    EXPECT_EQ(testsupport::ErrorNumberOf([&] { analysis::CFKSN501(std::vector<KagiLineRec>{broken}, lines); }), 6);
}

// A damaged record read back with a TAB or a line break in its one-character
// fields exports them as blanks: one line of 100 columns.
TEST_F(ChartLineFile, DamagedFlagsExportAsBlanks) {
    const KagiLineRec rec = DistinctRecord();
    analysis::CFKSN52M(env_, key_, marketdata::kChartLineFileNumber, "", ".dat", {&rec, 1});
    std::string bytes = testsupport::ReadBytes(Keisen("Keisen-JPN-1000-7203.dat"));
    bytes.replace(88, 5, "\t\r\n\t1");
    testsupport::WriteBytes(Keisen("Keisen-JPN-1000-7203.dat"), bytes);

    std::vector<KagiLineRec> back;
    ASSERT_TRUE(analysis::CFKSN10M(env_, key_, "", ".dat", back));
    ASSERT_EQ(back.size(), 1u);
    analysis::CFKSN50M(env_, key_, marketdata::kChartLineFileNumber, "", back);

    const std::string text = testsupport::ReadBytes(Keisen("Keisen-JPN-1000-7203.txt"));
    ASSERT_TRUE(text.ends_with("\r\n"));
    const std::string line = text.substr(0, text.size() - 2);
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos);
    const std::vector<std::string> columns = Columns(line);
    ASSERT_EQ(columns.size(), analysis::kChartLineExportColumns);
    const char* const flags[] = {" ", " ", " ", " ", "1"};
    for (std::size_t f = 0; f < std::size(flags); ++f) EXPECT_EQ(columns[11 + f], flags[f]) << "column " << 12 + f;
    EXPECT_EQ(columns[16], "5");  // PrevSignalLine, in its place
}

// Any control byte a damaged file leaves in a flag exports as a blank, so
// the export line keeps its columns and carries no control character.
TEST_F(ChartLineFile, ControlBytesInFlagsExportAsBlanks) {
    KagiLineRec rec;
    rec.Direction = analysis::KagiFlag('\t');
    rec.Marked = analysis::KagiFlag('\n');
    rec.RuleHit = analysis::KagiFlag('\r');
    rec.SignalMark = analysis::KagiFlag('\x1B');
    rec.TurnState = analysis::KagiFlag('\x7F');
    std::vector<std::string> lines;
    analysis::CFKSN501(std::vector<KagiLineRec>{rec}, lines);
    ASSERT_EQ(lines.size(), 1u);
    const std::vector<std::string> columns = Columns(lines[0]);
    ASSERT_EQ(columns.size(), analysis::kChartLineExportColumns);
    for (std::size_t n = 0; n < columns.size(); ++n) {
        EXPECT_FALSE(std::ranges::any_of(columns[n], [](char c) {
            const auto byte = static_cast<unsigned char>(c);
            return byte < 0x20 || byte == 0x7F;
        })) << "column " << n + 1;
    }
    for (std::size_t f = 11; f < 16; ++f) EXPECT_EQ(columns[f], " ") << "column " << f + 1;
}

// The flags are kept as their stored bytes: a record read and written again
// keeps a byte CP932 reads as a character or as no character at all, and a
// NUL becomes a blank; an empty flag is stored as a blank.
TEST_F(ChartLineFile, FlagBytesRoundTripUndecoded) {
    KagiLineRec rec = DistinctRecord();
    rec.TurnState = "";
    analysis::CFKSN52M(env_, key_, marketdata::kChartLineFileNumber, "", ".dat", {&rec, 1});
    std::string bytes = testsupport::ReadBytes(Keisen("Keisen-JPN-1000-7203.dat"));
    EXPECT_EQ(bytes.substr(88, 5), "DMHS ");
    bytes.replace(88, 5, std::string("\xB1\x81\0 2", 5));
    testsupport::WriteBytes(Keisen("Keisen-JPN-1000-7203.dat"), bytes);

    std::vector<KagiLineRec> back;
    ASSERT_TRUE(analysis::CFKSN10M(env_, key_, "", ".dat", back));
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].TurnState, "2");
    analysis::CFKSN52M(env_, key_, marketdata::kChartLineFileNumber, "", ".dat", back);
    const std::string again = testsupport::ReadBytes(Keisen("Keisen-JPN-1000-7203.dat"));
    EXPECT_EQ(again.substr(88, 5), std::string("\xB1\x81  2", 5));
    EXPECT_EQ(again.substr(0, 88), bytes.substr(0, 88));
    EXPECT_EQ(again.substr(93), bytes.substr(93));

    std::vector<std::string> lines;
    analysis::CFKSN501(back, lines);
    const std::vector<std::string> columns = Columns(lines.at(0));
    ASSERT_EQ(columns.size(), analysis::kChartLineExportColumns);
    const char* const flags[] = {"ｱ", "?", " ", " ", "2"};
    for (std::size_t f = 0; f < std::size(flags); ++f) EXPECT_EQ(columns[11 + f], flags[f]) << "column " << 12 + f;
}

TEST_F(ChartLineFile, WriterAndReaderOfSeveralRecords) {
    std::vector<KagiLineRec> recs(3, DistinctRecord());
    for (std::size_t i = 0; i < recs.size(); ++i) {
        recs[i].SignalLine = static_cast<std::int32_t>(i + 1);
        recs[i].OpenCopy = recs[i].PriceCopy = recs[i].LengthWork = Currency();
    }
    analysis::CFKSN52M(env_, key_, marketdata::kChartLineFileNumber, marketdata::kChartLineTempSuffix, ".dat", recs);

    EXPECT_EQ(fs::file_size(Keisen("Keisen-Temp-JPN-1000-7203.dat")), 3 * analysis::kKagiLineRecSize);
    std::vector<std::string> lines;
    analysis::CFKSN501(recs, lines);
    EXPECT_EQ(testsupport::ReadBytes(Keisen("Keisen-Temp-JPN-1000-7203.txt")),
              lines[0] + "\r\n" + lines[1] + "\r\n" + lines[2] + "\r\n");

    std::vector<KagiLineRec> back;
    ASSERT_TRUE(analysis::CFKSN10M(env_, key_, marketdata::kChartLineTempSuffix, ".dat", back));
    EXPECT_EQ(back, recs);

    // A half-written tail is left out; the whole records still count.
    std::string bytes = testsupport::ReadBytes(Keisen("Keisen-Temp-JPN-1000-7203.dat"));
    testsupport::WriteBytes(Keisen("Keisen-Temp-JPN-1000-7203.dat"), bytes.substr(0, 2 * 349 + 100));
    ASSERT_TRUE(analysis::CFKSN10M(env_, key_, marketdata::kChartLineTempSuffix, ".dat", back));
    EXPECT_EQ(back, std::vector<KagiLineRec>(recs.begin(), recs.begin() + 2));
}

TEST_F(ChartLineFile, NoRecordsWritesNothingAndMissingOrEmptyFilesRead) {
    std::vector<KagiLineRec> recs{DistinctRecord()};
    std::vector<KagiLineRec> untouched = recs;
    EXPECT_FALSE(analysis::CFKSN10M(env_, key_, "", ".dat", recs));
    EXPECT_EQ(recs, untouched);

    testsupport::WriteBytes(Keisen("Keisen-JPN-1000-7203.dat"), "old");
    analysis::CFKSN52M(env_, key_, marketdata::kChartLineFileNumber, "", ".dat", {});
    EXPECT_EQ(testsupport::ReadBytes(Keisen("Keisen-JPN-1000-7203.dat")), "old");
    EXPECT_FALSE(fs::exists(Keisen("Keisen-JPN-1000-7203.txt")));

    testsupport::WriteBytes(Keisen("Keisen-JPN-1000-7203.dat"), "");
    EXPECT_TRUE(analysis::CFKSN10M(env_, key_, "", ".dat", recs));
    EXPECT_TRUE(recs.empty());
}

}  // namespace
