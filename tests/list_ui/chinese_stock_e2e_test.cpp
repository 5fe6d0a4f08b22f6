// Chinese stocks as the report collector leaves them in the code master (the
// currency stored as the quote page names it, "人民元"), judged by a real run
// with Korvane as its child copies, then charted from the result list and
// screened by their currency.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "analysis/analysis_parts.h"
#include "analysis/batch_runner.h"
#include "chart_ui/chart_controls.h"
#include "chart_ui/chart_picture.h"
#include "chart_ui/chart_window.h"
#include "common/settings/settings.h"
#include "common/startup/batch_request.h"
#include "common/startup/program_parts.h"
#include "list_ui/judgement_result_screen.h"
#include "list_ui/list_view.h"
#include "list_ui/stock_list_screen.h"
#include "lists/column_catalogue.h"
#include "lists/list_chart_target.h"
#include "platform/numeric_text.h"
#include "platform/utf8_text.h"
#include "tests/analysis/judgement_run_fixture.h"
#include "tests/list_ui/list_screen_fixture.h"
#include "tests/support/judgement_market.h"
#include "tests/support/scoped_env.h"

namespace {

namespace Lists = list_ui_test;
using platform::Currency;

constexpr long kCompanies = 3;
constexpr long kRows = 500;
constexpr long kChinaJudgement = 22;  // process 2 of country 2
constexpr charts::Rgb kBlue{0, 0, 255};
constexpr charts::Rgb kRed{255, 0, 0};

std::string ChineseCode(long n) { return std::to_string(600000 + n); }

// The generated walk in yuan: a hundredth of its prices, two decimals.
std::vector<marketdata::PriceRec> YuanSeries(long n) {
    std::vector<marketdata::PriceRec> rows = testsupport::MarketCompanySeries(n, kRows);
    for (marketdata::PriceRec& row : rows) {
        for (const std::size_t column : {1, 2, 3, 4, 6}) {
            row.Text[column] = (*platform::ParseCurrency(row.Text[column]) / 100).ToText();
        }
    }
    return rows;
}

// A Korvane installation with Chinese stocks whose code master stores the
// currency as the Chinese quote collector does, and the judgement of China
// requested.
class ChineseMarket : public analysis_test::JudgementRunSetup {
public:
    ChineseMarket() {
        std::filesystem::copy_file(KORVANE_EXE, folder.program() / "Korvane");
        common::State().ExeName = "Korvane";
        common::InstallProgramParts(analysis::AnalysisProgramParts());
        testsupport::WriteJudgementMarket(env, 0, 0);  // the settings and the price bands
        marketdata::CdmTbl master(1);
        marketdata::InitCdmRec(master[0], 1);
        marketdata::InitKey("CHN", "", "0020", "", master[0].Key);
        master[0].Key.CorpCode = marketdata::FitField("0001", 20, "CorpCode");
        for (long n = 0; n < kCompanies; ++n) {
            marketdata::CdmRec rec = testsupport::MarketCompany("");
            marketdata::InitKey("CHN", "", "1000", "", rec.Key);
            rec.Key.CorpCode = marketdata::FitField(ChineseCode(n), 20, "CorpCode");
            rec.Key.Flag1 = "1";
            rec.RptText[6] = "人民元";
            rec.InfoText[38] = "上海試験" + std::to_string(n);
            master.push_back(rec);
            marketdata::CFHPJ50M(env, marketdata::kPriceSeriesFileNumber,
                                 marketdata::PriceFileNamePart(rec.Key, "D"), ".txt", YuanSeries(n));
        }
        marketdata::WriteCodeMaster(marketdata::kCodeMasterFileNumber, 0, 0, "", "", kCompanies + 1, env, master);
        common::WriteSetting("MirControl\\Common\\MultiTaskKsn", "2");
        common::BatchRequestTable table;
        table.cell(3, 6) = 1;
        common::WriteSetting("MirControl\\Common\\Batch", common::EncodeBatchRequest(table));
    }
    ~ChineseMarket() { common::InstallProgramParts({}); }

private:
    testsupport::ScopedEnv offscreen_{"QT_QPA_PLATFORM", "offscreen"};
};

// The texts of `colour` on a picture, trimmed.
std::vector<std::string> TextsIn(const charts::DrawingList& drawing, charts::Rgb colour) {
    std::vector<std::string> texts;
    for (const charts::DrawItem& item : drawing.items) {
        if (item.kind == charts::DrawItem::Kind::Text && item.colour == colour) {
            texts.push_back(platform::TrimBlanks(drawing.TextOf(item)));
        }
    }
    return texts;
}

TEST(ChineseStockEndToEnd, IsJudgedChartedAndScreenedInYuan) {
    ChineseMarket market;
    analysis::RunBatch();
    ASSERT_EQ(market.Ctr(kChinaJudgement).Status, "Z");
    ASSERT_TRUE(market.ui.presenter->boxes.empty()) << market.ui.presenter->boxes[0].text;

    chart_ui::ChartWindow chart;
    chart.resize(1000, 640);
    list_ui::JudgementResultScreen results(chart);
    Lists::ListFirstDetails(results, "CHN");
    const list_ui::ListView& detail = *results.ListView2;
    ASSERT_FALSE(detail.list().rows.empty());

    // A stock whose judgement found a turn draws its Kagi lines.
    ui::DoubleClickRow(*results.ListView2, 0);
    const auto& c = chart.controls();
    EXPECT_TRUE(market.ui.presenter->boxes.empty()) << market.ui.presenter->boxes[0].text;
    const std::string code =
        detail.list().rows[0].cells[static_cast<std::size_t>(Lists::HeaderOf(detail, "企業コード"))].text;
    EXPECT_EQ(platform::TrimBlanks(chart.chartTarget().key.CorpCode), code);
    EXPECT_EQ(chart.chartTarget().currencyCode, "CNY");
    const auto bodies = std::count_if(c.Pict2->drawing().items.begin(), c.Pict2->drawing().items.end(),
                                      [](const charts::DrawItem& item) { return item.kind == charts::DrawItem::Kind::FilledBox; });
    EXPECT_GT(bodies, 10);
    chart.show();
    Lists::SaveScreenshot(chart, "chinese_kagi.png");

    // The candlestick scale marks the lowest and the highest price in yuan.
    c.Command1->click();
    EXPECT_TRUE(market.ui.presenter->boxes.empty());
    const std::vector<marketdata::PriceRec> series = YuanSeries(std::stol(code) - 600000);
    Currency lowest = *platform::ParseCurrency(series[0].Text[3]);
    Currency highest = *platform::ParseCurrency(series[0].Text[2]);
    for (const marketdata::PriceRec& row : series) {
        lowest = std::min(lowest, *platform::ParseCurrency(row.Text[3]));
        highest = std::max(highest, *platform::ParseCurrency(row.Text[2]));
    }
    const charts::DrawingList& scale = c.Picture2->drawing();
    for (const auto& [colour, price] : {std::pair{kBlue, lowest}, std::pair{kRed, highest}}) {
        const std::vector<std::string> marks = TextsIn(scale, colour);
        ASSERT_EQ(marks.size(), 1u);
        EXPECT_EQ(platform::ParseCurrency(marks[0]), price) << marks[0];
    }
    Lists::SaveScreenshot(chart, "chinese_candlestick.png");

    // Screening by the currency finds every Chinese stock, and the market's
    // index, whose blank currency is its market's.
    lists::ColumnCatalogue catalogue;
    lists::CFMCT10M(market.env, "", catalogue);
    list_ui::StockListScreen stocks(catalogue, chart);
    stocks.ListBox01[0]->setCurrentRow(
        stocks.ListBox01[0]->row(stocks.ListBox01[0]->findItems(QStringLiteral("CHN"), Qt::MatchExactly).value(0)));
    stocks.Combo02[1]->setCurrentIndex(stocks.Combo02[1]->findText(QStringLiteral("取引通貨")));
    stocks.ListBox01[1]->setCurrentRow(stocks.ListBox01[1]->row(
        stocks.ListBox01[1]->findItems(QStringLiteral("CNY:人民元"), Qt::MatchExactly).value(0)));
    stocks.Command1->click();
    EXPECT_TRUE(market.ui.presenter->boxes.empty()) << market.ui.presenter->boxes[0].text;
    const list_ui::ListView& list = *stocks.ListView1;
    std::vector<std::string> listed;
    for (const std::string& cell : Lists::Column(list, static_cast<std::size_t>(Lists::HeaderOf(list, "企業ｺｰﾄﾞ")))) {
        listed.push_back(lists::TextBeforeColon(cell));
    }
    std::sort(listed.begin(), listed.end());
    std::vector<std::string> expected{"0001"};
    for (long n = 0; n < kCompanies; ++n) expected.push_back(ChineseCode(n));
    EXPECT_EQ(listed, expected);
    Lists::SaveScreenshot(stocks, "frmGetList_chinese_currency.png");
}

}  // namespace
