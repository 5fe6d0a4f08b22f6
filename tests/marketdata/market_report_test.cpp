#include "marketdata/market_report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/date.h"
#include "tests/marketdata/code_master_fixture.h"

namespace {

using marketdata::CdmRec;
using marketdata::PriceRec;
using marketdata::RpiRec;

std::string LineOf(const RpiRec& rec) {
    std::string line;
    marketdata::RpiRecToLine(rec, line);
    return line;
}

PriceRec Row(const std::string& date, const std::string& close, const std::string& adjusted = "0") {
    PriceRec row;
    row.Text[0] = date;
    row.Text[1] = "o" + date;
    row.Text[2] = "h" + date;
    row.Text[3] = "l" + date;
    row.Text[4] = close;
    row.Text[5] = "v" + date;
    row.Text[6] = adjusted;
    return row;
}

PriceRec SplitRow(const std::string& date, std::vector<std::string> pieces) {
    PriceRec row;
    row.Text[0] = date;
    pieces.resize(5);
    for (std::size_t c = 0; c < 5; ++c) row.Text[c + 1] = pieces[c];
    return row;
}

CdmRec Master() {
    CdmRec cdm;
    marketdata::InitCdmRec(cdm, 1);
    marketdata::InitKey("JPN", "", "1000", "", cdm.Key);
    cdm.Key.CorpCode = marketdata::FitField("7203", 20, "CorpCode");
    return cdm;
}

TEST(MarketReportLine, TextsFollowTheKeyFlatAndShortLinesStillRead) {
    RpiRec rec;
    marketdata::InitKey("USA", "", "1000", "", rec.Key);
    rec.Key.UpdateDate = "2024/03/01";
    for (std::size_t n = 1; n <= 150; ++n) rec.Text[n] = "値" + std::to_string(n);

    const std::string line = LineOf(rec);
    const auto fields = marketdata::SplitTabs(line);
    ASSERT_EQ(fields.size(), 166u);
    EXPECT_EQ(fields[14], "2024/03/01");
    EXPECT_EQ(fields[16], "値1");
    EXPECT_EQ(fields[16 + 94], "値95");
    EXPECT_EQ(fields[165], "値150");

    RpiRec back;
    ASSERT_TRUE(marketdata::LineToRpiRec(line, back));
    EXPECT_EQ(back.Text[150], "値150");
    EXPECT_EQ(LineOf(back), line);
    EXPECT_FALSE(marketdata::LineToRpiRec(line + "\t", back));
    EXPECT_EQ(marketdata::SplitTabs(LineOf(RpiRec{})).size(), 166u);

    // A line of the older 110-field form: texts 1-94, the rest empty.
    std::string shortLine = line.substr(0, line.find("\t値95"));
    RpiRec old;
    old.Text[120] = "stale";
    ASSERT_TRUE(marketdata::LineToRpiRec(shortLine, old));
    EXPECT_EQ(old.Text[94], "値94");
    EXPECT_EQ(old.Text[95], "");
    EXPECT_EQ(old.Text[120], "");
    EXPECT_FALSE(marketdata::LineToRpiRec(shortLine + "\tone more", old));
    EXPECT_EQ(old.Text[94], "値94");

    RpiRec target;
    marketdata::InitKey("JPN", "", "2000", "", target.Key);
    marketdata::CopyRpiRec(target, rec);
    EXPECT_EQ(target.Key.Market, "JPN");
    EXPECT_EQ(target.Text[150], "値150");
}

class StockSplit : public marketdata_test::CodeMasterTest {};

TEST_F(StockSplit, RefreshesFromTheLatestRows) {
    std::vector<PriceRec> rows{Row("2024/02/26", "900"), Row("2024/02/27", "950", "940"),
                               Row("2024/02/28", "1000"), Row("2024/02/29", "9", "0"), Row("2024/03/01", "1500")};
    rows.back().Text[6] = "1100";
    for (std::size_t c = 8; c < 20; ++c) rows.back().Text[c] = "平均" + std::to_string(c);
    CdmRec cdm = Master();
    cdm.RptText[8] = "2024/02/29";
    cdm.RptText[7] = "1000";
    cdm.InfoText[6] = "100";
    cdm.InfoText[12] = "30";
    const std::string today = platform::DateText(platform::Now().date);

    marketdata::CheckStockSplit(cdm, rows, {});
    EXPECT_EQ(cdm.RptText[1], "2");
    EXPECT_EQ(cdm.RptText[2], today);
    EXPECT_EQ(cdm.RptText[3].size(), 8u);
    EXPECT_EQ(cdm.RptText[8], "2024/03/01");
    EXPECT_EQ(cdm.RptText[9], "1100");  // the adjusted close wins when above 0
    EXPECT_EQ(cdm.RptText[10], "v2024/03/01");
    EXPECT_EQ(cdm.RptText[11], "o2024/03/01");
    EXPECT_EQ(cdm.RptText[12], "h2024/03/01");
    EXPECT_EQ(cdm.RptText[13], "l2024/03/01");
    EXPECT_EQ(cdm.RptText[15], "2024/02/29");
    EXPECT_EQ(cdm.RptText[18], "9");
    EXPECT_EQ(cdm.RptText[19], "2024/02/28");
    EXPECT_EQ(cdm.RptText[20], "1000");
    EXPECT_EQ(cdm.RptText[21], "2024/02/27");
    EXPECT_EQ(cdm.RptText[22], "940");
    EXPECT_EQ(cdm.RptText[23], "平均8");
    EXPECT_EQ(cdm.RptText[34], "平均19");
    EXPECT_EQ(cdm.RptText[16], "1091");  // derived values follow the new price
    EXPECT_EQ(cdm.RptText[14], "110000000");
}

TEST_F(StockSplit, SingleRowKeepsThePreviousPairs) {
    CdmRec cdm = Master();
    for (std::size_t n : {15, 18, 19, 20, 21, 22}) cdm.RptText[n] = "old" + std::to_string(n);
    marketdata::CheckStockSplit(cdm, std::vector<PriceRec>{Row("2024/03/01", "1500", "0")}, {});
    EXPECT_EQ(cdm.RptText[9], "1500");
    for (std::size_t n : {15, 18, 19, 20, 21, 22}) EXPECT_EQ(cdm.RptText[n], "old" + std::to_string(n));
    EXPECT_EQ(cdm.RptText[16], "0");  // "old18" is no previous close
}

TEST_F(StockSplit, NothingChangesWithoutRowsOrWithALaterMasterDate) {
    CdmRec cdm = Master();
    cdm.RptText[8] = "2024/03/02";
    cdm.RptText[9] = "777";
    cdm.InfoText[21] = "1:5";
    const std::vector<PriceRec> split{SplitRow("2024/01/04", {"分割: 1株 -> 2株"})};
    marketdata::CheckStockSplit(cdm, std::vector<PriceRec>{Row("2024/03/01", "1500")}, split);
    marketdata::CheckStockSplit(cdm, {}, split);
    EXPECT_EQ(cdm.RptText[9], "777");
    EXPECT_EQ(cdm.RptText[1], "");
    EXPECT_EQ(cdm.InfoText[21], "1:5");
}

TEST_F(StockSplit, LatestSplitRowGivesDateAndCleanedText) {
    const struct {
        std::vector<std::string> pieces;
        std::string text;
    } cases[] = {
        {{"分割: 1株 -> 2株"}, "1:2"},
        {{"分割:", " 1株", " ->", " 2株", ""}, "1:2"},
        {{"2:1 Stock Split"}, "2:1"},
        {{"  分割: 1株 -> 1.5株  "}, "1:1.5"},
    };
    const std::vector<PriceRec> rows{Row("2024/03/01", "1500")};
    for (const auto& c : cases) {
        CdmRec cdm = Master();
        const std::vector<PriceRec> split{SplitRow("2004/05/20", {"分割: 1株 -> 5株"}), SplitRow("2006/01/04", c.pieces),
                                          SplitRow("2007/01/04", {"配当落ち"})};
        marketdata::CheckStockSplit(cdm, rows, split);
        EXPECT_EQ(cdm.InfoText[20], "2006/01/04") << c.text;
        EXPECT_EQ(cdm.InfoText[21], c.text);
    }

    CdmRec cdm = Master();
    cdm.InfoText[20] = "2000/01/01";
    cdm.InfoText[21] = "1:3";
    marketdata::CheckStockSplit(cdm, rows, std::vector<PriceRec>{SplitRow("2007/01/04", {"配当落ち"})});
    EXPECT_EQ(cdm.InfoText[20], "");
    EXPECT_EQ(cdm.InfoText[21], "");
}

class ReportDerived : public marketdata_test::CodeMasterTest {};

TEST_F(ReportDerived, ValuesFromPriceCloseSharesAndPerShareValue) {
    const struct {
        std::string price, previous, shares, unit, perShare;
        std::string change, ratio, marketValue, yield;
    } cases[] = {
        {"1100", "1000", "1000", "100", "30", "100", "0.1", "110000000", "2.7273"},
        {"1,100", "1,000", "", "100", "abc", "100", "0.1", "0", "0"},
        {"1000", "1200", "1000", "", "0", "-200", "-0.1667", "0", "0"},
        {"1100", "0", "10", "0.5", "11", "0", "0", "5500", "1"},
        {"1100", "-5", "10", "1", "", "0", "0", "11000", "0"},
        {"0", "1000", "1000", "100", "30", "-1000", "-1", "0", "0"},
        {"N/A", "1000", "1000", "100", "30", "0", "0", "0", "0"},
        // 400000 x 5000000000 leaves the Currency range before the third factor brings it back.
        {"400000", "", "5000000000", "0.0001", "", "0", "0", "200000000000", "0"},
    };
    for (const auto& c : cases) {
        CdmRec cdm = Master();
        cdm.RptText[9] = c.price;
        cdm.RptText[18] = c.previous;
        cdm.RptText[7] = c.shares;
        cdm.InfoText[6] = c.unit;
        cdm.InfoText[12] = c.perShare;
        marketdata::CalcReportDerived(cdm);
        EXPECT_EQ(cdm.RptText[16], c.change) << c.price << " " << c.previous;
        EXPECT_EQ(cdm.RptText[17], c.ratio) << c.price << " " << c.previous;
        EXPECT_EQ(cdm.RptText[14], c.marketValue) << c.price << " " << c.shares << " " << c.unit;
        EXPECT_EQ(cdm.InfoText[13], c.yield) << c.price << " " << c.perShare;
    }
    EXPECT_EQ(ErrorLog(), "");
}

TEST_F(ReportDerived, ResultsBeyondTheRangeShowZeroAndAreLogged) {
    CdmRec cdm = Master();
    cdm.RptText[9] = "900000000000";
    cdm.RptText[18] = "0.0001";
    cdm.RptText[7] = "1000000000";
    cdm.InfoText[6] = "1000";
    cdm.InfoText[12] = "5";
    marketdata::CalcReportDerived(cdm);
    EXPECT_EQ(cdm.RptText[16], "899999999999.9999");
    EXPECT_EQ(cdm.RptText[17], "0");
    EXPECT_EQ(cdm.RptText[14], "0");
    EXPECT_EQ(cdm.InfoText[13], "0");  // 5 / 900000000000 x 100 rounds to 0 within range

    const std::string log = ErrorLog();
    EXPECT_NE(log.find("計算結果が範囲を超えたため0としました。　RptText14　JPN-7203　株価=900000000000"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("RptText17"), std::string::npos) << log;

    cdm.RptText[9] = "99999999999999999999";  // a number, but none a Currency can hold
    marketdata::CalcReportDerived(cdm);
    EXPECT_EQ(cdm.RptText[16], "0");
    EXPECT_EQ(cdm.RptText[14], "0");
}

}  // namespace
