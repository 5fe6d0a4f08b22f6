#include "marketdata/name_index.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/run_state.h"
#include "common/startup/run_env.h"
#include "platform/cp932.h"
#include "platform/utf8_text.h"
#include "tests/support/fake_ui.h"
#include "tests/support/file_bytes.h"
#include "tests/support/program_folder.h"

namespace {

namespace fs = std::filesystem;

std::string Repeat(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += text;
    return out;
}

// CP932 bytes of `text` followed by blanks up to `width`.
std::string Field(const std::string& text, std::size_t width) {
    std::string bytes = platform::ToCp932(text).bytes;
    return bytes + std::string(width - bytes.size(), ' ');
}

std::string Identity(const std::string& marketCategory, const std::string& code) {
    return marketCategory + platform::PadRightChars(code, 20);
}

class NameIndex : public ::testing::Test {
protected:
    void SetUp() override {
        common::CCENV00M(env_);
        common::SetTaskWorkPaths(0, 0, env_);
        ctrl_ = env_.folder(common::Folder::Ctrl);
    }

    static marketdata::CdmRec Company(const std::string& market, const std::string& category, const std::string& code,
                                      const std::string& name) {
        marketdata::CdmRec rec;
        marketdata::InitCdmRec(rec, 1);
        rec.Key.Market = marketdata::FitField(market, 3, "Market");
        rec.Key.Category = marketdata::FitField(category, 4, "Category");
        rec.Key.CorpCode = marketdata::FitField(code, 20, "CorpCode");
        rec.InfoText[38] = name;
        return rec;
    }

    static std::vector<std::string> Lines(marketdata::CdmTbl tbl) {
        std::vector<std::string> lines(tbl.size());
        for (std::size_t i = 0; i < tbl.size(); ++i) marketdata::CdmRecToLine(tbl[i], lines[i]);
        return lines;
    }

    fs::path File(const std::string& name) const { return ctrl_ / name; }

    std::string Name(const std::string& identity) {
        marketdata::NameIndexRec rec;
        if (!marketdata::FindCompanyListRecord(env_, identity, rec)) return "(none)";
        return platform::TrimRight(rec.Name);
    }

    testsupport::ProgramFolder folder_;
    testsupport::FakeUi ui_;
    common::EnvRec env_;
    common::MSGRec msg_;
    fs::path ctrl_;
};

TEST_F(NameIndex, RecordLayoutCutsAtByteWidth) {
    marketdata::CdmRec rec = Company("JPN", "2000", "1301", "A" + Repeat("漢", 50));
    rec.Key.IndCode0020 = "0020";
    rec.Key.IndCode0030 = "0030";
    rec.Key.IndCode0040 = "0040";
    rec.Key.IndCode0050 = "0050";
    rec.Key.IndCode0060 = "0060";
    rec.Key.Flag1 = "1";
    rec.RptText[6] = "X";
    rec.InfoText[41] = "  日本水産  ";
    rec.InfoText[46] = "ABC";
    rec.InfoText[47] = "水産・農林業";
    rec.InfoText[48] = "水産";
    rec.InfoText[49] = "";
    rec.InfoText[50] = Repeat("業", 30);
    rec.InfoText[51] = "x" + Repeat("業", 30);
    marketdata::WriteNameIndex(env_, "JPN", 1, {rec});

    EXPECT_EQ(testsupport::ReadBytes(File("NmKeyJPN.dat")), "JPN2000" + Field("1301", 20));
    const std::string data = testsupport::ReadBytes(File("NmDatJPN.dat"));
    ASSERT_EQ(data.size(), marketdata::kNameDataRecordLength);
    // A double-byte character that would straddle the end gives way to a blank.
    const std::string expected = "JPN2000" "0020" "0030" "0040" "0050" "0060" + Field("1301", 20) + "X  " +
                                 Field("A" + Repeat("漢", 49), 100) + Field("日本水産", 100) + Field("ABC", 20) +
                                 Field("水産・農林業", 30) + Field("水産", 30) + Field("", 30) +
                                 Field(Repeat("業", 30), 60) + Field("x" + Repeat("業", 29), 60);
    EXPECT_EQ(data, expected);
    EXPECT_FALSE(fs::exists(File("NmKeyJPN.tmp")));
    EXPECT_FALSE(fs::exists(File("NmDatJPN.tmp")));

    marketdata::NameIndexRec back;
    ASSERT_TRUE(marketdata::FindCompanyListRecord(env_, Identity("JPN2000", "1301"), back));
    EXPECT_EQ(back.Key.Market, "JPN");
    EXPECT_EQ(back.Key.IndCode0040, "0040");
    EXPECT_EQ(back.Key.CorpCode, platform::PadRightChars("1301", 20));
    EXPECT_EQ(back.Key.Flag1, "");  // not held by the index
    EXPECT_EQ(back.RptText06, "X  ");
    EXPECT_EQ(back.Name, "A" + Repeat("漢", 49) + " ");
    EXPECT_EQ(back.SecondName, "日本水産" + std::string(92, ' '));
    EXPECT_EQ(back.IndName0060, "x" + Repeat("業", 29) + " ");
}

TEST_F(NameIndex, Lookups) {
    marketdata::WriteNameIndex(env_, "JPN", 5,
                               {Company("JPN", "1000", "1301", "壱"), Company("JPN", "0010", "1301", "弐"),
                                Company("JPN", "2000", "9999", "最初"), Company("USA", "2000", "1302", "他市場"),
                                Company("JPN", "2000", "9999", "二番目")});
    EXPECT_EQ(testsupport::ReadBytes(File("NmKeyJPN.dat")).size(), 4 * marketdata::kNameKeyRecordLength);

    const struct {
        std::string identity;
        std::string name;
    } cases[] = {
        {Identity("JPN1000", "1301"), "壱"},
        {Identity("jpn0010", "1301"), "弐"},
        {Identity("JPN2000", "9999"), "最初"},
        {"JPN20009999", "最初"},  // trailing blanks left off
        {Identity("JPN2000", "1301"), "(none)"},
        {Identity("JPN2000", "1302"), "(none)"},
        {Identity("USA2000", "1302"), "(none)"},
    };
    for (const auto& c : cases) EXPECT_EQ(Name(c.identity), c.name) << c.identity;
    // Looking up a market without an index creates no file.
    EXPECT_FALSE(fs::exists(File("NmKeyUSA.dat")));

    // A data file shorter than the key file gives no record instead of a blank one.
    testsupport::WriteBytes(File("NmDatJPN.dat"), std::string(marketdata::kNameDataRecordLength, ' '));
    EXPECT_EQ(Name(Identity("JPN1000", "1301")), "");
    EXPECT_EQ(Name(Identity("JPN0010", "1301")), "(none)");
}

TEST_F(NameIndex, MarketWithoutRecordsKeepsItsFiles) {
    testsupport::WriteBytes(File("NmKeyCHN.dat"), "old key");
    testsupport::WriteBytes(File("NmDatCHN.dat"), "old data");
    const std::vector<std::string> lines = Lines({Company("JPN", "2000", "1301", "日本水産")});

    marketdata::SelectByMarket("CHN", env_, msg_, lines);
    marketdata::WriteNameIndex(env_, "CHN", 1, {Company("JPN", "2000", "1301", "日本水産")});
    marketdata::WriteNameIndex(env_, "CHN", 0, {Company("CHN", "2000", "0001", "新")});

    EXPECT_EQ(testsupport::ReadBytes(File("NmKeyCHN.dat")), "old key");
    EXPECT_EQ(testsupport::ReadBytes(File("NmDatCHN.dat")), "old data");
    EXPECT_FALSE(fs::exists(File("NmKeyCHN.tmp")));
    EXPECT_FALSE(fs::exists(File("NmDatCHN.tmp")));
    EXPECT_FALSE(fs::exists(File("NmKeyJPN.dat")));
}

TEST_F(NameIndex, AllWritesEachMarketWithRecords) {
    testsupport::WriteBytes(File("NmKeyCHN.dat"), "old key");
    std::vector<std::string> lines =
        Lines({Company("JPN", "2000", "1301", "日本水産"), Company("USA", "2000", "AAPL", "Apple"),
               Company("HKG", "2000", "0005", "香港"), Company("jpn", "2000", "1332", "ニッスイ")});
    lines.insert(lines.begin() + 1, "JPN\t2000\tshort line");

    marketdata::SelectByMarket("ALL", env_, msg_, lines);

    EXPECT_EQ(testsupport::ReadBytes(File("NmKeyJPN.dat")), "JPN2000" + Field("1301", 20) + "jpn2000" + Field("1332", 20));
    EXPECT_EQ(testsupport::ReadBytes(File("NmDatJPN.dat")).size(), 2 * marketdata::kNameDataRecordLength);
    EXPECT_EQ(testsupport::ReadBytes(File("NmKeyUSA.dat")), "USA2000" + Field("AAPL", 20));
    EXPECT_EQ(testsupport::ReadBytes(File("NmKeyCHN.dat")), "old key");
    EXPECT_FALSE(fs::exists(File("NmKeyHKG.dat")));
    EXPECT_EQ(Name(Identity("JPN2000", "1332")), "ニッスイ");
    // The unreadable line is reported, not fatal.
    const std::string log = platform::FromCp932(testsupport::ReadBytes(common::State().errorLogPath)).text;
    EXPECT_NE(log.find("2行目"), std::string::npos) << log;
}

TEST_F(NameIndex, BuildFromCodeMaster) {
    marketdata::CdmTbl master{Company("JPN", "2000", "1301", "日本水産"), Company("USA", "2000", "AAPL", "Apple")};
    ASSERT_TRUE(marketdata::WriteCodeMaster(1, 0, 0, "", "", 2, env_, master));
    marketdata::BuildNameIndex(1, 0, 0, "usa", "", "", "", env_, msg_);
    EXPECT_EQ(testsupport::ReadBytes(File("NmKeyUSA.dat")), "USA2000" + Field("AAPL", 20));
    EXPECT_FALSE(fs::exists(File("NmKeyJPN.dat")));
    EXPECT_EQ(Name(Identity("USA2000", "AAPL")), "Apple");

    // A pending rewrite of the master is completed first and indexed with it.
    marketdata::CdmTbl pending{Company("USA", "2000", "MSFT", "Microsoft")};
    ASSERT_TRUE(marketdata::WriteCodeMaster(1, 0, 0, "", ".tmp", 1, env_, pending));
    marketdata::BuildNameIndex(1, 0, 0, "USA", "", "", "", env_, msg_);
    EXPECT_EQ(Name(Identity("USA2000", "AAPL")), "Apple");
    EXPECT_EQ(Name(Identity("USA2000", "MSFT")), "Microsoft");
}

}  // namespace
