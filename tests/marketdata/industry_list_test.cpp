#include "marketdata/industry_list.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/files/key_layout.h"
#include "marketdata/company_list.h"
#include "platform/date.h"
#include "tests/marketdata/code_master_fixture.h"

namespace {

using marketdata::IndustryRec;

IndustryRec Entry(const std::string& market, const std::string& category, const std::string& code,
                  const std::string& name, const std::string& flag = "1") {
    IndustryRec rec;
    marketdata::InitIndustryRec(market, "", category, "", rec);
    rec.Key.CorpCode = platform::PadRightChars(code, 20);
    rec.Key.Flag1 = flag;
    rec.Text[22] = name;
    return rec;
}

std::string LineOf(IndustryRec rec) {
    std::string line;
    marketdata::IndustryRecToLine(rec, line);
    return line;
}

std::vector<std::string> CodesOf(const std::vector<IndustryRec>& entries) {
    std::vector<std::string> codes;
    for (const IndustryRec& rec : entries)
        codes.push_back(rec.Key.Market + rec.Key.Category + platform::TrimBlanks(rec.Key.CorpCode));
    return codes;
}

class IndustryList : public marketdata_test::CodeMasterTest {
protected:
    void WriteLines(long fileNumber, const std::vector<std::string>& lines, const std::string& namePart = "",
                    const std::string& extension = ".txt") {
        testsupport::WriteBytes(common::BuildDataFilePath(fileNumber, 0, 0, namePart, extension, env),
                                marketdata_test::Cp932File(lines));
    }
    std::vector<IndustryRec> Load(long fileNumber, const std::string& market = "", const std::string& category = "",
                                  const std::string& flag = "") {
        marketdata::IndustryLoadReq req;
        req.FNameIdx = fileNumber;
        req.MarketFilter = market;
        req.CategoryFilter = category;
        req.FlagFilter = flag;
        std::vector<IndustryRec> entries;
        marketdata::LoadIndustryList(req, env, entries);
        return entries;
    }
};

TEST_F(IndustryList, LineRoundTripWithJapaneseNamesStampsAndFitsFixedFields) {
    IndustryRec rec = Entry("JPN", "0050", "5001", "電気機器");
    rec.Key.IndCode0050 = "5001";
    rec.Fixed1 = "K";
    rec.Fixed4 = "東証";
    rec.Fixed6 = "abcdefgh";
    rec.Text[1] = "";
    rec.Text[11] = "東証プライム\t市場";
    rec.Text[17] = "電気機器業";
    rec.Text[33] = "最終テキスト";

    const platform::DateTime before = platform::Now();
    std::string line;
    marketdata::IndustryRecToLine(rec, line);
    EXPECT_EQ(rec.Key.UpdateDate, platform::DateText(before.date)) << "the entry itself is stamped";
    EXPECT_EQ(rec.Key.UpdateTime.size(), 8u);

    const auto fields = marketdata::SplitTabs(line);
    ASSERT_EQ(fields.size(), 52u);
    EXPECT_EQ(fields[14], rec.Key.UpdateDate);
    EXPECT_EQ(fields[16], "K");
    EXPECT_EQ(fields[17], "東証  ");
    EXPECT_EQ(fields[18], "abcdef");
    EXPECT_EQ(fields[19], "");
    EXPECT_EQ(fields[29], "東証プライム 市場") << "a TAB inside a text would shift every later field";
    EXPECT_EQ(fields[35], "電気機器業");
    EXPECT_EQ(fields[40], "電気機器");
    EXPECT_EQ(fields[51], "最終テキスト");

    IndustryRec back;
    ASSERT_TRUE(marketdata::ParseIndustryLine(line, back));
    EXPECT_EQ(back.Key.CorpCode, rec.Key.CorpCode);
    EXPECT_EQ(back.Fixed4, "東証  ");
    EXPECT_EQ(back.Text[22], "電気機器");
    EXPECT_EQ(back.Text[33], "最終テキスト");

    back.Fixed1 = "KEEP";
    for (const std::string& bad : {line.substr(0, line.rfind('\t')), line + "\t", std::string()}) {
        EXPECT_FALSE(marketdata::ParseIndustryLine(bad, back));
        EXPECT_EQ(back.Fixed1, "KEEP");
    }
}

TEST_F(IndustryList, LoadSkipsBlankAndBrokenLinesAndFilters) {
    WriteLines(marketdata::kIndustryListFileNumber,
               {LineOf(Entry("JPN", "0050", "5001", "電気機器")), "  \t  ",
                LineOf(Entry("JPN", "0050", "5002", "機械", "2")), "JPN\t\t0050\tbroken",
                LineOf(Entry("JPN", "0030", "3001", "製造業")), LineOf(Entry("CHN", "0050", "5001", "电子")), ""});
    const struct {
        const char* market;
        const char* category;
        const char* flag;
        std::vector<std::string> codes;
    } cases[] = {
        {"", "", "", {"JPN00505001", "JPN00505002", "JPN00303001", "CHN00505001"}},
        {"JPN", "0050", "1", {"JPN00505001"}},
        {"CHN", "", "", {"CHN00505001"}},
        {"", "0030", "", {"JPN00303001"}},
        {"", "", "2", {"JPN00505002"}},
        {"USA", "", "", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CodesOf(Load(marketdata::kIndustryListFileNumber, c.market, c.category, c.flag)), c.codes)
            << c.market << "/" << c.category << "/" << c.flag;
    }
    EXPECT_NE(ErrorLog().find(DataPath(marketdata::kIndustryListFileNumber, ".txt") + "　4行目　項目数=4"),
              std::string::npos)
        << ErrorLog();

    EXPECT_TRUE(Load(marketdata::kJapanIndustryFileNumber).empty()) << "a missing file gives no entry";
}

TEST_F(IndustryList, MergeFoldsTheFourSourcesIntoTheListByKey) {
    const long list = marketdata::kIndustryListFileNumber;
    WriteLines(list,
               {LineOf(Entry("JPN", "0050", "5001", "旧名称")), LineOf(Entry("USA", "0060", "6001", "残る業種"))});
    std::vector<IndustryRec> chn{Entry("CHN", "0050", "5001", "电子")};
    std::vector<IndustryRec> jpn{Entry("JPN", "0050", "5001", "電気機器"), Entry("JPN", "0020", "2001", "製造業")};
    std::vector<IndustryRec> usaSector{Entry("USA", "0020", "2001", "Technology")};
    std::vector<IndustryRec> usa{Entry("USA", "0030", "3001", "Software")};
    marketdata::BuildIndustryLines(marketdata::kChinaIndustryFileNumber, 0, 0, "", "", env, chn);
    marketdata::BuildIndustryLines(marketdata::kJapanIndustryFileNumber, 0, 0, "", "", env, jpn);
    marketdata::BuildIndustryLines(marketdata::kUsaIndustryFileNumber, 0, 0, "Sector", "", env, usaSector);
    marketdata::BuildIndustryLines(marketdata::kUsaIndustryFileNumber, 0, 0, "", "", env, usa);

    common::MSGRec msg;
    marketdata::CFIDXI0M(env, msg);

    const std::vector<IndustryRec> merged = Load(list);
    EXPECT_EQ(CodesOf(merged), (std::vector<std::string>{"CHN00505001", "JPN00202001", "JPN00505001", "USA00202001",
                                                         "USA00303001", "USA00606001"}));
    ASSERT_EQ(merged.size(), 6u);
    EXPECT_EQ(merged[2].Text[22], "電気機器") << "a source entry replaces the list's entry of the same key";
    EXPECT_EQ(merged[5].Text[22], "残る業種") << "an entry only in the list stays";
    EXPECT_FALSE(std::filesystem::exists(DataPath(list, ".tmp")));
}

TEST_F(IndustryList, MergeWithoutSourcesLeavesTheList) {
    const long list = marketdata::kIndustryListFileNumber;
    WriteLines(list, {LineOf(Entry("JPN", "0050", "5001", "電気機器"))});
    WriteLines(marketdata::kJapanIndustryFileNumber, {"   "});
    const std::string old = testsupport::ReadBytes(DataPath(list, ".txt"));
    common::MSGRec msg;
    marketdata::CFIDXI0M(env, msg);
    EXPECT_EQ(testsupport::ReadBytes(DataPath(list, ".txt")), old);
    EXPECT_FALSE(std::filesystem::exists(DataPath(list, ".tmp")));
}

TEST_F(IndustryList, CommitKeepsTheWorkFileWhenTheRecoveryRefusesToMerge) {
    const long list = marketdata::kIndustryListFileNumber;
    WriteLines(list, {LineOf(Entry("JPN", "0050", "5001", "電気機器"))});
    const std::string old = testsupport::ReadBytes(DataPath(list, ".txt"));
    std::vector<IndustryRec> work{Entry("JPN", "0020", "2001", "製造業")};
    marketdata::BuildIndustryLines(list, 0, 0, "", ".tmp", env, work);
    WriteLines(list, {LineOf(work[0]), LineOf(work[0])}, "", ".rcv");

    common::MSGRec msg;
    marketdata::CommitIndustryList(list, 0, 0, "", ".tmp", ".txt", env, msg);
    EXPECT_EQ(testsupport::ReadBytes(DataPath(list, ".txt")), old);
    EXPECT_TRUE(std::filesystem::exists(DataPath(list, ".tmp"))) << "its lines are not in the list yet";
}

TEST_F(IndustryList, AUtf8SourceFromAnEditorIsReadAndKeptInCp932) {
    std::vector<IndustryRec> rows{Entry("JPN", "0050", "3050", "食料品"), Entry("JPN", "0050", "3650", "電気機器")};
    std::string utf8;
    std::string cp932;
    for (const IndustryRec& row : rows) {
        const std::string line = LineOf(row);
        utf8 += line + "\n";
        cp932 += platform::ToCp932(line + "\r\n").bytes;
    }
    const std::string path = DataPath(marketdata::kJapanIndustryFileNumber, ".txt");
    testsupport::WriteBytes(path, utf8);

    const std::vector<IndustryRec> loaded = Load(marketdata::kJapanIndustryFileNumber, "JPN", "0050", "1");
    ASSERT_EQ(loaded.size(), 2u);
    EXPECT_EQ(loaded[0].Text[22], "食料品");
    EXPECT_EQ(loaded[1].Text[22], "電気機器");
    // Kept in the code page of the program's own rewrites of the file.
    EXPECT_EQ(testsupport::ReadBytes(path), cp932);
}

// The example industry files that the README points to, read with the filters
// of the collectors that take them: each yields the rows the README promises.
TEST_F(IndustryList, TheExampleFilesYieldTheirRows) {
    const struct {
        const char* file;
        long fileNumber;
        const char* namePart;
        const char* market;
        const char* country;
        std::vector<std::string> codes;
        std::vector<std::string> names;
        const char* firstAddress;
        const char* firstExpected;
    } examples[] = {
        {"IndustryJpn.txt", marketdata::kJapanIndustryFileNumber, "", "JPN", "日本", {"3050", "3650", "7050"},
         {"食料品", "電気機器", "銀行業"}, "http://portal.example/jp/3050/p", "000082"},
        {"IndustryUsa.txt", marketdata::kUsaIndustryFileNumber, "", "USA", "米国", {"6010", "6020", "6030"},
         {"Software", "Banks", "Semiconductors"}, "http://quote.example/us/6010.html", "000000"},
        {"IndustryChnMarket.txt", marketdata::kChinaIndustryFileNumber, "Market", "", "中国", {"0101", "0102", "0103"},
         {"銀行", "不動産", "自動車"}, "http://cnstock.example/cn/0101.html", "000000"},
    };
    for (const auto& example : examples) {
        const std::string bytes = testsupport::ReadBytes(std::string(MIR_SOURCE_DIR) + "/examples/" + example.file);
        EXPECT_FALSE(platform::IsValidUtf8(bytes)) << example.file << " is CP932";
        EXPECT_EQ(bytes.find('\n'), bytes.find("\r\n") + 1) << example.file << " ends its lines with CR LF";
        const std::string path = common::BuildDataFilePath(example.fileNumber, 0, 0, example.namePart, ".txt", env);
        testsupport::WriteBytes(path, bytes);

        marketdata::IndustryLoadReq req;
        req.FNameIdx = example.fileNumber;
        req.Concati = example.namePart;
        req.MarketFilter = example.market;
        req.CategoryFilter = *example.market == '\0' ? "" : "0050";
        req.FlagFilter = "1";
        common::SetKeyLayout3(req.SortKeys);
        std::vector<IndustryRec> rows;
        ASSERT_TRUE(marketdata::LoadIndustryList(req, env, rows)) << example.file;
        ASSERT_EQ(rows.size(), example.codes.size()) << example.file;
        for (std::size_t n = 0; n < rows.size(); ++n) {
            const IndustryRec& row = rows[n];
            EXPECT_EQ(row.Key.Category, "0050") << example.file;
            EXPECT_EQ(platform::TrimBlanks(row.Key.CorpCode), example.codes[n]) << example.file;
            EXPECT_EQ(row.Key.IndCode0050, example.codes[n]) << example.file;
            EXPECT_EQ(row.Text[13], example.country) << example.file;
            EXPECT_EQ(row.Text[17], example.names[n]) << example.file;
            EXPECT_EQ(row.Text[22], example.names[n]) << example.file;
        }
        EXPECT_EQ(rows[0].Text[23], example.firstAddress) << example.file;
        EXPECT_EQ(rows[0].Fixed4, "0000") << example.file;
        EXPECT_EQ(rows[0].Fixed6, example.firstExpected) << example.file;
        EXPECT_EQ(testsupport::ReadBytes(path), bytes) << example.file << " is read as it is";
    }
    EXPECT_EQ(ErrorLog(), "");
    EXPECT_TRUE(ui.presenter->boxes.empty());
}

TEST(FindIndustryCode, ComparesAsTextAndTakesTheFirstMatch) {
    std::vector<IndustryRec> entries{Entry("JPN", "0040", "4001", "エレクトロニクス"),
                                     Entry("JPN", "0050", "5001", "エレクトロニクス　"),
                                     Entry("JPN", "0050", "5002", " エレクトロニクス "), Entry("", "", "9999", "")};
    long index = -1;
    EXPECT_EQ(marketdata::FindIndustryCode("jpn", "0050", "ｴﾚｸﾄﾛﾆｸｽ", index, entries),
              platform::PadRightChars("5002", 20));
    EXPECT_EQ(index, 3) << "the ideographic blank is not trimmed, so the second entry differs";
    EXPECT_EQ(marketdata::FindIndustryCode("JPN", "0060", "エレクトロニクス", index, entries), "");
    EXPECT_EQ(index, 0);
    index = -1;
    EXPECT_EQ(marketdata::FindIndustryCode("", "", "", index, entries), "") << "an empty name is never looked up";
    EXPECT_EQ(index, 0);
}

class FillIndustryLevels : public ::testing::Test {
protected:
    FillIndustryLevels() {
        IndustryRec chn0050 = Entry("CHN", "0050", "5101", "半导体");
        chn0050.Key.IndCode0040 = "4101";
        chn0050.Text[16] = "电子";
        IndustryRec jpn0030 = Entry("JPN", "0030", "3001", "電気機器");
        jpn0030.Key.IndCode0020 = "2001";
        jpn0030.Text[14] = "製造業";
        entries = {chn0050,
                   jpn0030,
                   Entry("JPN", "0020", "2009", "旧製造業"),
                   Entry("JPN", "0060", "6001", "半導体"),
                   Entry("USA", "0060", "6201", "Semiconductors"),
                   Entry("USA", "0050", "5201", "Technology")};
    }

    marketdata::CdmRec Stock(const std::string& market, const std::vector<std::string>& names) {
        marketdata::CdmRec rec;
        marketdata::InitCdmRec(rec, 0);
        marketdata::InitKey(market, "", "1000", "", rec.Key);
        for (std::size_t i = 0; i < names.size(); ++i) rec.InfoText[47 + i] = names[i];
        return rec;
    }

    std::vector<IndustryRec> entries;
};

TEST_F(FillIndustryLevels, ChineseLevel0040ComesFromTheLevel0050Entry) {
    marketdata::CdmRec rec = Stock("CHN", {"", "", "不明", "半导体", ""});
    marketdata::FillIndustryLevels(0, rec, entries);
    EXPECT_EQ(rec.Key.IndCode0050, "5101");
    EXPECT_EQ(rec.Key.IndCode0040, "4101");
    EXPECT_EQ(rec.InfoText[49], "电子");
}

TEST_F(FillIndustryLevels, UnitedStatesStocksGetNoLevel0060) {
    marketdata::CdmRec rec = Stock("USA", {"", "", "", "Technology", "Semiconductors"});
    marketdata::FillIndustryLevels(1, rec, entries);
    EXPECT_EQ(rec.Key.IndCode0050, "5201");
    EXPECT_EQ(rec.Key.IndCode0060, "    ");
}

TEST_F(FillIndustryLevels, Level0030SetsLevel0020AndOnlyBlankCodesAreRefilledUnlessAsked) {
    marketdata::CdmRec rec = Stock("JPN", {"旧製造業", "電気機器", "", "", "半導体"});
    rec.Key.IndCode0060 = "OLD ";
    marketdata::FillIndustryLevels(0, rec, entries);
    EXPECT_EQ(rec.Key.IndCode0020, "2001") << "the level-0030 entry overrides the level-0020 find";
    EXPECT_EQ(rec.InfoText[47], "製造業");
    EXPECT_EQ(rec.Key.IndCode0030, "3001");
    EXPECT_EQ(rec.Key.IndCode0060, "OLD ");

    rec.Key.IndCode0040 = "STAY";
    rec.InfoText[48] = "不明";
    marketdata::FillIndustryLevels(1, rec, entries);
    EXPECT_EQ(rec.Key.IndCode0060, "6001");
    EXPECT_EQ(rec.Key.IndCode0030, "    ") << "a name not found stores blanks";
    EXPECT_EQ(rec.Key.IndCode0040, "    ");
    EXPECT_EQ(rec.Key.IndCode0020, "    ") << "refilled from the level-0020 name, now 製造業, which no entry has";
}

TEST(CopyListRec, TakesTheKeyTheCodeAndTheLevelTexts) {
    IndustryRec industry = Entry("JPN", "0050", "5001", "電気機器");
    industry.Key.IndCode0050 = "5001";
    industry.Fixed4 = "AB  ";
    for (std::size_t n = 1; n <= 33; ++n) industry.Text[n] = "業種" + std::to_string(n);
    marketdata::ListRec rec;
    rec.ListFlag = "9";
    rec.ListText[7] = "会社";
    rec.ListText[19] = "会社";

    marketdata::CopyListRec(industry, rec);
    std::string industryKey;
    std::string listKey;
    marketdata::KeyToLine(industry.Key, industryKey);
    marketdata::KeyToLine(rec.Key, listKey);
    EXPECT_EQ(listKey, industryKey);
    EXPECT_EQ(rec.ListCode, "AB  ");
    EXPECT_EQ(rec.ListFlag, "9");
    EXPECT_EQ(rec.ListText[7], "会社");
    EXPECT_EQ(rec.ListText[8], "業種11");
    EXPECT_EQ(rec.ListText[18], "業種21");
    EXPECT_EQ(rec.ListText[19], "会社");
}

}  // namespace
