// From a market report to the code master: the mapping, the currency
// conversion of the figures and the day's quote in the price series.
#include "collect/company_pages/report_to_code_master.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "collect/prices/price_row_files.h"
#include "common/files/data_file.h"
#include "common/startup/run_env.h"
#include "marketdata/price_series.h"
#include "tests/support/file_bytes.h"
#include "tests/support/program_folder.h"

namespace {

using marketdata::CdmRec;
using marketdata::RpiRec;
using platform::Currency;

CdmRec Stock(const std::string& market) {
    CdmRec cdm;
    marketdata::InitCdmRec(cdm, 1);
    marketdata::InitKey(market, "", "1000", "", cdm.Key);
    cdm.Key.CorpCode = marketdata::FitField("7203", 20, "CorpCode");
    return cdm;
}

RpiRec Report() {
    RpiRec rpi;
    rpi.Key.UpdateDate = "2024/03/01";
    rpi.Key.UpdateTime = "15:10:00";
    for (std::size_t n = 1; n <= 150; ++n) rpi.Text[n] = "f" + std::to_string(n);
    const std::pair<std::size_t, const char*> numbers[] = {
        {4, "2024/02/29"}, {5, "09:00:00"}, {6, "JPY"}, {7, "1"},  {8, "100"},   {9, "2024/03/01"},
        {10, "1100"},      {13, "0.5"},     {14, "1000"}, {15, "12.5"}, {16, "M"}, {18, "1.2"},
        {19, "B"},         {20, "1010"},    {21, "1120"}, {22, "990"},  {32, "5000"}, {35, "3000"},
        {36, "500"},       {40, "30"},      {42, "セント"}, {47, "81.2"}, {48, ""},  {50, "1000000"},
        {53, " 1.2 "},     {55, "1000.5"},  {56, ""},     {70, "202403"}};
    for (const auto& [n, text] : numbers) rpi.Text[n] = text;
    return rpi;
}

TEST(ReportToCodeMaster, MapsTheReportIntoTheRecord) {
    testsupport::ProgramFolder folder;
    CdmRec cdm = Stock("JPN");
    cdm.InfoText[8] = "kept";
    collect::ReportToCdmRec(cdm, Report(), false);
    EXPECT_EQ(cdm.RptText[1], "1");
    EXPECT_EQ(cdm.RptText[2], "2024/03/01");
    EXPECT_EQ(cdm.RptText[3], "15:10:00");
    EXPECT_EQ(cdm.RptText[4], "2024/02/29");
    EXPECT_EQ(cdm.RptText[6], "JPY");
    EXPECT_EQ(cdm.RptText[7], "1");
    EXPECT_EQ(cdm.RptText[8], "2024/03/01");
    EXPECT_EQ(cdm.RptText[9], "1100");
    EXPECT_EQ(cdm.RptText[10], "12500000");
    EXPECT_EQ(cdm.RptText[11], "1010");
    EXPECT_EQ(cdm.RptText[13], "990");
    EXPECT_EQ(cdm.RptText[18], "1000");
    // Derived: change, ratio, minimum purchase amount (price x rate x unit),
    // yield.
    EXPECT_EQ(cdm.RptText[16], "100");
    EXPECT_EQ(cdm.RptText[17], "0.1");
    EXPECT_EQ(cdm.RptText[14], "110000");
    EXPECT_EQ(cdm.ProcMark[6].MarkFlag, "1");
    EXPECT_EQ(cdm.ProcMark[6].MarkDate, "2024/03/01");
    EXPECT_EQ(cdm.ProcMark[6].MarkTime, "15:10:00");
    EXPECT_EQ(cdm.InfoText[3], "202403");
    EXPECT_EQ(cdm.InfoText[6], "100");
    EXPECT_EQ(cdm.InfoText[7], "5000");
    EXPECT_EQ(cdm.InfoText[8], "kept");
    EXPECT_EQ(cdm.InfoText[12], "0.3");
    EXPECT_EQ(cdm.InfoText[13], "0.0273");  // 0.3 / 1100 x 100
    EXPECT_EQ(cdm.InfoText[15], "81.2");
    EXPECT_EQ(cdm.InfoText[16], "1000.5");
    EXPECT_EQ(cdm.InfoText[18], "1200000000");
    EXPECT_EQ(cdm.InfoText[19], "B");
    EXPECT_EQ(cdm.InfoText[61], "1.2");

    CdmRec china = Stock("CHN");
    collect::ReportToCdmRec(china, Report(), true);
    EXPECT_EQ(china.InfoText[7], "5000000000");
    EXPECT_EQ(china.InfoText[8], "3000000000");
    EXPECT_EQ(china.InfoText[9], "500000000");
}

TEST(ReportToCodeMaster, ConvertsTheFiguresByTheRate) {
    testsupport::ProgramFolder folder;
    CdmRec cdm = Stock("USA");
    cdm.RptText[6] = "USD";
    cdm.RptText[7] = "2";
    cdm.RptText[9] = "10.25";
    cdm.RptText[11] = "-";
    cdm.RptText[12] = "";
    cdm.InfoText[18] = "5000000000";
    collect::ConvertReportFigures(cdm);
    EXPECT_EQ(cdm.InfoText[22], "20");  // 20.5, whole: half to even
    EXPECT_EQ(cdm.InfoText[23], "");
    EXPECT_EQ(cdm.InfoText[24], "");
    EXPECT_EQ(cdm.InfoText[37], "10000.00");

    CdmRec noRate = cdm;
    noRate.RptText[7] = " ";
    collect::ConvertReportFigures(noRate);
    EXPECT_EQ(noRate.InfoText[22], "20");  // as it was
    noRate.RptText[7] = "0";
    collect::ConvertReportFigures(noRate);
    EXPECT_EQ(noRate.InfoText[22], "");
    EXPECT_EQ(noRate.InfoText[37], "");

    // Beyond the fixed-point range: the failure text, not a wrapped number.
    cdm.RptText[9] = "900000000000";
    cdm.RptText[7] = "5000";
    collect::ConvertReportFigures(cdm);
    EXPECT_EQ(cdm.InfoText[22], "0");

    std::string target = "old";
    collect::ConvertFigure(Currency(3), Currency(1), "1,000", target);
    EXPECT_EQ(target, "3000");
}

TEST(ReportToCodeMaster, TheDaysQuoteJoinsTheSeries) {
    testsupport::ProgramFolder folder;
    common::EnvRec env;
    common::CCENV00M(env);
    CdmRec cdm = Stock("CHN");
    const std::string namePart = marketdata::PriceFileNamePart(cdm.Key, "D");
    std::vector<marketdata::PriceRec> held(2);
    held[0].Text = {"2024/02/28", "9", "10", "8", "9.5", "1000", "9.5"};
    held[1].Text = {"2024/03/01", "9", "10", "8", "9.6", "1000", "9.6"};
    for (auto& row : held) marketdata::PriceRecToValues(row);
    collect::CFHPC50M(env, marketdata::kPriceSeriesFileNumber, held, namePart, ".txt");

    RpiRec rpi = Report();
    rpi.Text[7] = "19.5";
    marketdata::PriceRec row;
    ASSERT_TRUE(collect::PriceRowFromReport(cdm, rpi, true, row));
    EXPECT_EQ(row.Text[5], "12500000");
    EXPECT_EQ(row.Text[7], "*");
    rpi.Text[16] = "";
    ASSERT_TRUE(collect::PriceRowFromReport(cdm, rpi, true, row));
    EXPECT_EQ(row.Text[5], "12500");
    RpiRec noVolume = rpi;
    noVolume.Text[15] = "0";
    EXPECT_FALSE(collect::PriceRowFromReport(cdm, noVolume, true, row));
    RpiRec noDay = rpi;
    noDay.Text[9] = "1900/01/01";
    EXPECT_FALSE(collect::UpdatePriceFromReport(env, cdm, noDay, true));

    collect::ReportToCdmRec(cdm, rpi, true);
    ASSERT_TRUE(collect::UpdatePriceFromReport(env, cdm, rpi, true));
    std::vector<marketdata::PriceRec> rows;
    ASSERT_TRUE(marketdata::LoadPriceSeriesByNumber(env, marketdata::kPriceSeriesFileNumber, namePart, ".txt", rows));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].Text[0], "2024/03/01");  // the report's row replaced the day's
    EXPECT_EQ(rows[1].Text[4], "1100");
    EXPECT_EQ(rows[1].Text[7], "*");
    EXPECT_EQ(cdm.Term[1].FirstDate, "2024/02/28");
    EXPECT_EQ(cdm.Term[1].LastDate, "2024/03/01");
    EXPECT_EQ(cdm.ProcMark[1].MarkFlag, "1");
    // The market values stay marked as the report's, not the series'.
    EXPECT_EQ(cdm.RptText[1], "1");
    EXPECT_EQ(cdm.RptText[2], "2024/03/01");
    EXPECT_EQ(cdm.RptText[3], "15:10:00");
    EXPECT_EQ(cdm.RptText[9], "1100");
    EXPECT_EQ(cdm.RptText[18], "9.5");
    EXPECT_EQ(cdm.InfoText[22], "21450");  // 1100 x 19.5
    EXPECT_FALSE(std::filesystem::exists(
        common::BuildDataFilePath(marketdata::kPriceSeriesFileNumber, 0, 0, namePart, ".tmp", env)));
}

// The report adds or replaces its own day only: stored lines that the
// loader passes over (a price 0, a stock's quantity 0, a cell that is no
// number, a blank in the date) stay in the file as they are.
TEST(ReportToCodeMaster, TheDaysQuoteKeepsEveryStoredLine) {
    testsupport::ProgramFolder folder;
    common::EnvRec env;
    common::CCENV00M(env);
    CdmRec cdm = Stock("JPN");
    const std::filesystem::path series = common::BuildDataFilePath(
        marketdata::kPriceSeriesFileNumber, 0, 0, marketdata::PriceFileNamePart(cdm.Key, "D"), ".txt", env);
    const std::string held =
        "2024/02/26\t9\t10\t8\t9.5\t0\t9.5\r\n"
        "2024/02/27\t0\t0\t0\t0\t1000\t0\r\n"
        "2024/02/28\t9\tn/a\t8\t9.5\t1000\t9.5\r\n"
        "2024/02/29 \t9\t10\t8\t9.5\t1000\t9.5\r\n"
        "2024/03/04\t9\t10\t8\t9.7\t1000\t9.7\r\n";
    testsupport::WriteBytes(series, held);
    RpiRec rpi = Report();
    rpi.Text[15] = "12500";
    const std::string added = "2024/03/01\t1010\t1120\t990\t1100\t12500\t1100\t*\r\n";

    ASSERT_TRUE(collect::UpdatePriceFromReport(env, cdm, rpi, false));
    std::string expected = held;
    expected.insert(expected.find("2024/03/04"), added);
    EXPECT_EQ(testsupport::ReadBytes(series), expected);

    // A later report of the same day takes its row's place.
    rpi.Text[10] = "1105";
    ASSERT_TRUE(collect::UpdatePriceFromReport(env, cdm, rpi, false));
    std::string replaced = expected;
    replaced.replace(replaced.find(added), added.size(), "2024/03/01\t1010\t1120\t990\t1105\t12500\t1105\t*\r\n");
    EXPECT_EQ(testsupport::ReadBytes(series), replaced);
}

}  // namespace
