#include "marketdata/code_master.h"

#include <gtest/gtest.h>

#include "tests/support/file_size_limit.h"

#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "common/files/key_layout.h"
#include "common/settings/settings.h"
#include "tests/marketdata/code_master_fixture.h"
#include "tests/support/trapped.h"

namespace {

using marketdata::CdmRec;
using marketdata::CdmTbl;
using marketdata_test::CodeMasterTest;
using marketdata_test::Fields;
using marketdata_test::FullFields;
using marketdata_test::Join;

CdmRec Parsed(const std::string& line) {
    CdmRec rec;
    std::string problem;
    EXPECT_TRUE(marketdata::LineToCdmRec(line, rec, problem)) << problem;
    return rec;
}

TEST(CodeMasterLine, FieldCountsTheReaderTakesAndRefuses) {
    const Fields full = FullFields("JPN", "1000", "7203");
    const struct {
        std::size_t count;
        bool read;
        bool optionalRead;
    } cases[] = {
        {188, true, false}, {189, true, false}, {190, true, false}, {198, true, true},
        {187, false, false}, {191, false, false}, {197, false, false},
    };
    for (const auto& c : cases) {
        CdmRec rec;
        marketdata::InitCdmRec(rec, 0);
        rec.InfoText[65] = "left from an earlier line";
        std::string problem;
        const bool read = marketdata::LineToCdmRec(Join(full, c.count), rec, problem);
        ASSERT_EQ(read, c.read) << c.count << " fields: " << problem;
        if (!read) {
            EXPECT_NE(problem.find("項目数=" + std::to_string(c.count)), std::string::npos) << problem;
            continue;
        }
        EXPECT_EQ(rec.InfoText[55], full[187]) << c.count;  // position 188
        for (std::size_t position = 189; position <= 198; ++position) {
            EXPECT_EQ(rec.InfoText[position - 133], c.optionalRead ? full[position - 1] : "")
                << c.count << " fields, position " << position;
        }
    }

    // An address holding a TAB gives 199 fields, every one after it shifted.
    Fields shifted = full;
    shifted[192 - 1] = "東京都\t千代田区";
    CdmRec rec;
    std::string problem;
    EXPECT_FALSE(marketdata::LineToCdmRec(Join(shifted), rec, problem));
    EXPECT_NE(problem.find("項目数=199"), std::string::npos) << problem;
}

TEST(CodeMasterLine, TypedFieldsAreReadInTheirPositions) {
    CdmRec rec;
    marketdata::InitCdmRec(rec, 77);
    std::string problem;
    ASSERT_TRUE(marketdata::LineToCdmRec(Join(FullFields("JPN", "1000", "7203")), rec, problem)) << problem;
    EXPECT_EQ(rec.Key.CorpCode, "7203" + std::string(16, ' '));
    EXPECT_EQ(rec.Attr3, "東証プライム市場区分");
    EXPECT_EQ(rec.ProcMark[10].MarkTime, "テキスト53");
    EXPECT_EQ(rec.Term[3].LastDate, "テキスト59");
    EXPECT_EQ(rec.RptText[34], "テキスト93");
    EXPECT_EQ(rec.Num[1], -7);
    EXPECT_EQ(rec.Num[3], 2147483647);
    EXPECT_EQ(rec.Num[6], 42);
    EXPECT_EQ(rec.ValueDate, (platform::Date{2024, 2, 29}));
    EXPECT_EQ(rec.Amount[2], platform::Currency(-3));
    EXPECT_EQ(rec.Amount[4], platform::Currency::FromRaw(1));
    EXPECT_EQ(rec.Amount[6], platform::Currency(1000000));
    EXPECT_EQ(rec.NumGroup[3].Nums[2], 3);
    EXPECT_EQ(rec.NumGroup[3].Amounts[4], platform::Currency(100));
    EXPECT_EQ(rec.InfoText[38], "トヨタ自動車株式会社");
    EXPECT_EQ(rec.SeqNo, 77) << "the sequence number is not on the line";
}

TEST(CodeMasterLine, WholeNumberAmountsRoundHalvesToEven) {
    const struct {
        std::size_t position;
        const char* text;
        platform::Currency expected;
    } cases[] = {
        {103, "12.5", platform::Currency(12)},
        {103, "13.5", platform::Currency(14)},
        {104, "12.5", platform::Currency(12)},
        {104, "-13.5", platform::Currency(-14)},
        {109, "13.5", platform::Currency(14)},
        {109, "1,234.4", platform::Currency(1234)},
        {105, "12.5", platform::Currency::FromRaw(125000)},  // Amount3 keeps its decimals
    };
    for (const auto& c : cases) {
        Fields fields = FullFields("JPN", "1000", "7203");
        fields[c.position - 1] = c.text;
        const CdmRec rec = Parsed(Join(fields));
        const std::size_t amount = c.position == 109 ? 6 : c.position - 102;
        EXPECT_EQ(rec.Amount[amount], c.expected) << c.position << " " << c.text;
    }
}

TEST(CodeMasterLine, NumberFieldsThatDoNotConvertRefuseTheLine) {
    const struct {
        std::size_t position;
        const char* text;
    } cases[] = {
        {97, "abc"}, {101, ""}, {102, "2024/13/01"}, {103, "12円"}, {105, "1.2.3"},
        {108, "99999999999"}, {110, "x"}, {133, "--1"},
    };
    for (const auto& c : cases) {
        Fields fields = FullFields("JPN", "1000", "7203");
        fields[c.position - 1] = c.text;
        CdmRec rec;
        std::string problem;
        EXPECT_FALSE(marketdata::LineToCdmRec(Join(fields), rec, problem)) << c.position << " " << c.text;
        EXPECT_FALSE(problem.empty()) << c.position;
    }
}

TEST(CodeMasterLine, WriteStampsTheRecordAndRecomputesSeqText) {
    CdmRec rec = Parsed(Join(FullFields("JPN", "1000", "7203")));
    rec.SeqText = "0042";
    std::string line;
    marketdata::CdmRecToLine(rec, line);
    EXPECT_EQ(rec.SeqText, "0000");
    EXPECT_NE(rec.Key.UpdateDate, "2024/03/01");
    EXPECT_EQ(rec.Key.UpdateDate.size(), 10u);
    EXPECT_EQ(rec.Key.UpdateTime.size(), 8u);
    rec.SeqNo = 1234567;
    marketdata::CdmRecToLine(rec, line);
    EXPECT_EQ(rec.SeqText, "4567");
    EXPECT_EQ(marketdata::SplitTabs(line)[19], "4567");
}

TEST_F(CodeMasterTest, WriteThenReadGivesTheSameFileByteForByte) {
    const std::vector<std::string> fixture{Join(FullFields("JPN", "1000", "7203")),
                                           Join(FullFields("USA", "1000", "^DJI"))};
    WriteMaster(fixture);
    CdmTbl tbl;
    ASSERT_TRUE(marketdata::CFCDM10M(1, 0, 0, "", "", "", "", env, {}, tbl));
    ASSERT_EQ(tbl.size(), 2u);
    ASSERT_TRUE(marketdata::WriteCodeMaster(1, 0, 0, "", "", 2, env, tbl));

    // The writer stamps every line with the time of the write; the rest is unchanged.
    std::vector<std::string> expected;
    for (std::size_t i = 0; i < fixture.size(); ++i) {
        Fields fields = FullFields(i == 0 ? "JPN" : "USA", "1000", i == 0 ? "7203" : "^DJI");
        fields[14] = tbl[i].Key.UpdateDate;
        fields[15] = tbl[i].Key.UpdateTime;
        expected.push_back(Join(fields));
    }
    EXPECT_EQ(testsupport::ReadBytes(MasterPath()), marketdata_test::Cp932File(expected));
}

TEST_F(CodeMasterTest, WriterSortsOnMarketCategoryAndCode) {
    std::vector<std::string> lines;
    for (const auto& [market, category, code] : {std::tuple{"USA", "1000", "AAPL"}, std::tuple{"JPN", "1000", "9984"},
                                                 std::tuple{"JPN", "0010", "N225"}, std::tuple{"JPN", "1000", "7203"}}) {
        lines.push_back(Join(FullFields(market, category, code)));
    }
    WriteMaster(lines);
    CdmTbl tbl;
    ASSERT_TRUE(marketdata::CFCDM10M(1, 0, 0, "", "", "", "", env, {}, tbl));
    ASSERT_TRUE(marketdata::WriteCodeMaster(1, 0, 0, "", "", 4, env, tbl));
    ASSERT_TRUE(marketdata::CFCDM10M(1, 0, 0, "", "", "", "", env, {}, tbl));
    std::vector<std::string> order;
    for (const CdmRec& rec : tbl) order.push_back(platform::TrimBlanks(rec.Key.CorpCode));
    EXPECT_EQ(order, (std::vector<std::string>{"N225", "7203", "9984", "AAPL"}));
}

TEST_F(CodeMasterTest, WritingNoRecordWritesNothing) {
    CdmTbl tbl(1);
    EXPECT_FALSE(marketdata::WriteCodeMaster(1, 0, 0, "", "", 0, env, tbl));
    EXPECT_FALSE(std::filesystem::exists(MasterPath()));
    EXPECT_EQ(testsupport::ErrorNumberOf([&] { marketdata::WriteCodeMaster(1, 0, 0, "", "", 2, env, tbl); }), 9);
}


TEST_F(CodeMasterTest, FailedWriteKeepsTheOldMaster) {
    WriteMaster({Join(FullFields("JPN", "1000", "7203"))});
    const std::string old = testsupport::ReadBytes(MasterPath());
    CdmTbl tbl;
    ASSERT_TRUE(marketdata::CFCDM10M(1, 0, 0, "", "", "", "", env, {}, tbl));
    tbl.push_back(tbl.front());
    tbl.back().Key.CorpCode = "9984";
    long error = 0;
    {
        testsupport::FileSizeLimit limit(old.size());
        error = testsupport::ErrorNumberOf([&] { marketdata::WriteCodeMaster(1, 0, 0, "", "", 2, env, tbl); });
    }
    EXPECT_EQ(error, platform::error_number::kDiskFull);
    EXPECT_EQ(testsupport::ReadBytes(MasterPath()), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(std::filesystem::path(MasterPath()).parent_path()),
                            std::filesystem::directory_iterator{}),
              1)
        << "no partial file is left beside the master";
}

TEST_F(CodeMasterTest, BadLinesAreLoggedAndSkippedWhileTheOthersLoad) {
    Fields notNumeric = FullFields("JPN", "1000", "6758");
    notNumeric[96] = "abc";
    WriteMaster({Join(FullFields("JPN", "1000", "7203")), Join(FullFields("JPN", "1000", "9984"), 187), "   ",
                 Join(notNumeric), Join(FullFields("JPN", "1000", "8306"))});
    common::SortKeyRec sorted;
    common::SetKeyLayout3(sorted);
    for (const common::SortKeyRec& layout : {common::SortKeyRec{}, sorted}) {
        std::filesystem::remove(common::State().errorLogPath);
        CdmTbl tbl;
        ASSERT_TRUE(marketdata::CFCDM10M(1, 0, 0, "", "", "", "", env, layout, tbl));
        ASSERT_EQ(tbl.size(), 2u);
        EXPECT_EQ(tbl[1].Key.CorpCode.substr(0, 4), "8306");
        // Sorted or not, a refused line is named by its line in the file.
        const std::string log = ErrorLog();
        EXPECT_NE(log.find(MasterPath() + "　2行目　項目数が不正です（項目数=187）"), std::string::npos) << log;
        EXPECT_NE(log.find(MasterPath() + "　4行目　数値項目が不正です（項目97=abc）"), std::string::npos) << log;
        EXPECT_EQ(log.find("3行目"), std::string::npos) << "a blank line is skipped without a word";
    }
}

// Records of several markets, categories and flags; keys are their codes.
class CodeMasterFilterTest : public CodeMasterTest {
protected:
    CodeMasterFilterTest() {
        std::vector<std::string> lines;
        for (const auto& [market, category, code, flag, level60] :
             {std::tuple{"JPN", "2000", "F1", "1", "x"}, std::tuple{"JPN", "1000", "S1", " ", "x"},
              std::tuple{"JPN", "0010", "I1", "1", "x"}, std::tuple{"JPN", "0020", "L2", "1", "x"},
              std::tuple{"JPN", "0060", "L6", "1", "卸売業"}, std::tuple{"JPN", "0060", "L6B", "1", "  "},
              std::tuple{"USA", "1000", "S2", "1", "x"}}) {
            Fields fields = FullFields(market, category, code);
            fields[12] = flag;
            fields[183] = level60;
            lines.push_back(Join(fields));
        }
        WriteMaster(lines);
    }

    std::vector<std::string> Kept(const CdmTbl& tbl) {
        std::vector<std::string> codes;
        for (const CdmRec& rec : tbl) codes.push_back(platform::TrimBlanks(rec.Key.CorpCode));
        return codes;
    }
};

TEST_F(CodeMasterFilterTest, BothLoadersKeepTheRecordsThatPassEveryFilter) {
    const struct {
        const char* market;
        const char* category;
        const char* flag;
        std::vector<std::string> kept;
    } cases[] = {
        {"", "", "", {"F1", "S1", "I1", "L2", "L6", "L6B", "S2"}},
        {"", "2000", "", {"F1", "S1", "I1", "S2"}},
        {"", "1000", "", {"S1", "S2"}},
        {"", "0060", "", {"L6"}},
        {"JPN", "2000", "1", {"F1", "I1"}},
        {"USA", "", "", {"S2"}},
        {"", "", "1", {"F1", "I1", "L2", "L6", "L6B", "S2"}},
        {"CHN", "", "", {}},
    };
    for (const auto& c : cases) {
        CdmTbl withoutProgress(3);
        CdmTbl withProgress(3);
        common::MSGRec msg;
        const bool any = !c.kept.empty();
        EXPECT_EQ(marketdata::CFCDM10M(1, 0, 0, "", c.market, c.category, c.flag, env, {}, withoutProgress), any);
        EXPECT_EQ(marketdata::CFCDM11M(msg, 1, 0, 0, "", c.market, c.category, c.flag, env, {}, withProgress), any);
        EXPECT_EQ(Kept(withoutProgress), c.kept) << c.market << "/" << c.category << "/" << c.flag;
        EXPECT_EQ(Kept(withProgress), c.kept) << c.market << "/" << c.category << "/" << c.flag;
    }
}

TEST_F(CodeMasterFilterTest, SortLayoutOrdersTheKeptRecords) {
    common::SortKeyRec layout;
    common::SetKeyLayout3(layout);
    CdmTbl tbl;
    ASSERT_TRUE(marketdata::CFCDM10M(1, 0, 0, "", "JPN", "", "", env, layout, tbl));
    EXPECT_EQ(Kept(tbl), (std::vector<std::string>{"I1", "L2", "L6", "L6B", "S1", "F1"}));
}

TEST_F(CodeMasterFilterTest, MissingFileLeavesTheTableUntouched) {
    std::filesystem::remove(MasterPath());
    CdmTbl tbl(2);
    common::MSGRec msg;
    EXPECT_FALSE(marketdata::CFCDM10M(1, 0, 0, "", "", "", "", env, {}, tbl));
    EXPECT_FALSE(marketdata::CFCDM11M(msg, 1, 0, 0, "", "", "", "", env, {}, tbl));
    EXPECT_EQ(tbl.size(), 2u);
}

TEST_F(CodeMasterTest, ProgressLoaderCountsTheLinesReadOnlyWithoutFilters) {
    const std::string counter = common::SettingKeyPath("Counter", "CntTrlCdm");
    std::vector<std::string> lines(1234, "");
    for (std::size_t i = 0; i < lines.size(); i += 2) {
        lines[i] = Join(FullFields("JPN", "1000", std::to_string(1000 + i)), i % 4 == 0 ? 198 : 100);
    }
    WriteMaster(lines);
    common::MSGRec msg;
    CdmTbl tbl;
    ASSERT_TRUE(marketdata::CFCDM11M(msg, 1, 0, 0, "", "", "", "", env, {}, tbl));
    EXPECT_EQ(tbl.size(), 309u);
    EXPECT_EQ(common::ReadSetting(counter), "1234");
    EXPECT_EQ(msg.StageCount, 3);
    EXPECT_EQ(msg.StagesDone, 3);

    common::WriteSetting(counter, "7");
    common::MSGRec filtered;
    ASSERT_TRUE(marketdata::CFCDM11M(filtered, 1, 0, 0, "", "JPN", "", "", env, {}, tbl));
    EXPECT_EQ(common::ReadSetting(counter), "7");
}

TEST_F(CodeMasterTest, RecoveryCompletesAPendingRewriteAndCountsTheMaster) {
    const std::string count = common::SettingKeyPath("Counter", "CntTrlCdm");
    const std::string date = common::SettingKeyPath("Counter", "DateTrlCdm");
    Fields renamed = FullFields("JPN", "1000", "7203");
    renamed[170] = "トヨタ";
    WriteMaster({Join(FullFields("JPN", "1000", "7203")), Join(FullFields("JPN", "1000", "9984"))});
    WriteMaster({Join(renamed), Join(FullFields("JPN", "1000", "6758"))}, ".tmp");
    common::MSGRec msg;
    std::vector<std::string> lines;
    marketdata::CFCDMR0M(1, 0, 0, "", env, msg, lines);
    EXPECT_EQ(lines.size(), 3u);
    EXPECT_FALSE(std::filesystem::exists(MasterPath(".tmp")));
    CdmTbl tbl;
    ASSERT_TRUE(marketdata::CFCDM10M(1, 0, 0, "", "", "", "", env, {}, tbl));
    ASSERT_EQ(tbl.size(), 3u);
    EXPECT_EQ(tbl[1].InfoText[38], "トヨタ") << "the work file wins on equal keys";
    EXPECT_EQ(common::ReadSetting(count), "3");
    EXPECT_EQ(common::ReadSetting(date).size(), 14u);

    // Nothing pending: the master and its counters stay as they are.
    common::WriteSetting(count, "99");
    marketdata::RefreshCodeMaster(1, 0, 0, "", env, msg);
    EXPECT_EQ(common::ReadSetting(count), "99");
}

}  // namespace
