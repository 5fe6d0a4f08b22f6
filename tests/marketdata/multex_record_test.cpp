#include "marketdata/multex_record.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/marketdata/code_master_fixture.h"

namespace {

using marketdata::MultexRec;

MultexRec Company(const std::string& market, const std::string& category, const std::string& code,
                  const std::string& flag) {
    MultexRec rec;
    marketdata::InitKey(market, "", category, "", rec.Key);
    rec.Key.CorpCode = marketdata::FitField(code, 20, "CorpCode");
    rec.Key.Flag1 = flag;
    rec.Text[1] = "銘柄" + code;
    return rec;
}

std::string LineOf(const MultexRec& rec) {
    std::string line;
    marketdata::MultexRecToLine(rec, line);
    return line;
}

TEST(MultexLine, GroupsInterleaveByElementAndRoundTrip) {
    MultexRec rec = Company("JPN", "1000", "7203", "1");
    rec.Key.UpdateDate = "2024/03/01";
    rec.Key.UpdateTime = "09:15:00";
    for (std::size_t n = 1; n <= 14; ++n) rec.Text[n] = "業種" + std::to_string(n);
    for (std::size_t k = 1; k <= 5; ++k) {
        rec.A1[k] = "A1-" + std::to_string(k);
        rec.A2[k] = "A2-" + std::to_string(k);
    }
    for (std::size_t k = 1; k <= 3; ++k) {
        rec.B1[k] = "B1-" + std::to_string(k);
        rec.B2[k] = "B2-" + std::to_string(k);
        rec.B3[k] = "B3-" + std::to_string(k);
    }
    for (std::size_t k = 1; k <= 7; ++k) {
        for (auto* group : {&rec.C1, &rec.C2, &rec.C3, &rec.C4, &rec.C5}) (*group)[k] = "評価" + std::to_string(k);
    }
    rec.C5[7] = "強気買い";
    rec.A1[0] = "never written";

    const std::string line = LineOf(rec);
    const auto fields = marketdata::SplitTabs(line);
    ASSERT_EQ(fields.size(), 84u);
    EXPECT_EQ(fields[14], "2024/03/01");  // the stamp stays as it was
    EXPECT_EQ(fields[16], "業種1");
    EXPECT_EQ(fields[29], "業種14");
    EXPECT_EQ(fields[30], "A1-1");
    EXPECT_EQ(fields[31], "A2-1");
    EXPECT_EQ(fields[39], "A2-5");
    EXPECT_EQ(fields[40], "B1-1");
    EXPECT_EQ(fields[42], "B3-1");
    EXPECT_EQ(fields[48], "B3-3");
    EXPECT_EQ(fields[83], "強気買い");

    MultexRec back;
    ASSERT_TRUE(marketdata::ParseMultexLine(line, back));
    EXPECT_EQ(back.Key.CorpCode, rec.Key.CorpCode);
    EXPECT_EQ(back.B2[2], "B2-2");
    EXPECT_EQ(back.C5[7], "強気買い");
    EXPECT_EQ(back.A1[0], "");
    EXPECT_EQ(LineOf(back), line);
}

TEST(MultexLine, EmptyRecordStillHas84FieldsAndOtherCountsAreRefused) {
    const std::string line = LineOf(MultexRec{});
    EXPECT_EQ(marketdata::SplitTabs(line).size(), 84u);

    MultexRec rec = Company("JPN", "1000", "7203", "1");
    for (const std::string& bad : {line.substr(0, line.rfind('\t')), line + "\t", std::string("JPN")}) {
        EXPECT_FALSE(marketdata::ParseMultexLine(bad, rec));
        EXPECT_EQ(rec.Text[1], "銘柄7203");
    }
}

class MultexLoad : public marketdata_test::CodeMasterTest {
protected:
    void WriteFile(const std::vector<std::string>& lines) {
        testsupport::WriteBytes(DataPath(marketdata::kMultexFileNumber, ".txt"), marketdata_test::Cp932File(lines));
    }
    std::vector<std::string> Codes(const marketdata::MultexLoadReq& req, bool expected) {
        std::vector<MultexRec> recs{MultexRec{}};
        EXPECT_EQ(marketdata::CFMLT10M(req, env, recs), expected);
        std::vector<std::string> codes;
        for (const MultexRec& rec : recs) codes.push_back(platform::TrimBlanks(rec.Key.CorpCode));
        return codes;
    }
};

TEST_F(MultexLoad, FiltersSkipBlankAndBrokenLines) {
    const std::string broken = LineOf(Company("JPN", "1000", "9999", "1")) + "\tshifted";
    WriteFile({LineOf(Company("JPN", "1000", "7203", "1")), "   ", LineOf(Company("USA", "1000", "IBM", "1")),
               broken, "", LineOf(Company("JPN", "0010", "N225", "2")), LineOf(Company("JPN", "1000", "6758", "2"))});

    const struct {
        std::string market, category, flag;
        std::vector<std::string> codes;
    } cases[] = {
        {"", "", "", {"7203", "IBM", "N225", "6758"}},
        {"JPN", "", "", {"7203", "N225", "6758"}},
        {"JPN", "1000", "", {"7203", "6758"}},
        {"", "", "2", {"N225", "6758"}},
        {"JPN", "1000", "2", {"6758"}},
    };
    for (const auto& c : cases) {
        marketdata::MultexLoadReq req;
        req.MarketFilter = c.market;
        req.CategoryFilter = c.category;
        req.FlagFilter = c.flag;
        EXPECT_EQ(Codes(req, true), c.codes) << c.market << "/" << c.category << "/" << c.flag;
    }
    marketdata::MultexLoadReq sorted;
    sorted.SortKeys.KeyCount = 1;
    sorted.SortKeys.KeyStart[1] = 55;  // CorpCode
    sorted.SortKeys.KeyLength[1] = 20;
    EXPECT_EQ(Codes(sorted, true), (std::vector<std::string>{"6758", "7203", "IBM", "N225"}));
    // The broken line is named by its line in the file, also after sorting.
    const std::string log = ErrorLog();
    const std::string named = DataPath(marketdata::kMultexFileNumber, ".txt") + "　4行目　項目数=85";
    ASSERT_NE(log.find(named), std::string::npos) << log;
    EXPECT_EQ(log.find("行目", log.rfind(named) + named.size()), std::string::npos) << log;

    marketdata::MultexLoadReq none;
    none.MarketFilter = "CHN";
    EXPECT_TRUE(Codes(none, false).empty());
}

TEST_F(MultexLoad, MissingFileGivesFalseAndNoRecord) {
    EXPECT_TRUE(Codes(marketdata::MultexLoadReq{}, false).empty());
}

}  // namespace
