// Both lists filled from the files of a real judgement run, with the real
// Korvane as its child copies.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <set>

#include "analysis/batch_runner.h"
#include "chart_ui/chart_controls.h"
#include "chart_ui/chart_window.h"
#include "common/run_state.h"
#include "list_ui/judgement_result_screen.h"
#include "list_ui/list_view.h"
#include "list_ui/stock_list_screen.h"
#include "lists/column_catalogue.h"
#include "marketdata/name_index.h"
#include "platform/utf8_text.h"
#include "tests/apps/judgement_installation.h"
#include "tests/list_ui/list_screen_fixture.h"

namespace {

namespace Lists = list_ui_test;

TEST(ResultListsEndToEnd, BothListsFillFromARealJudgementRun) {
    judgement_e2e::Installation run;
    analysis::RunBatch();
    ASSERT_EQ(run.ExpectCompleteRun().size(), 2u);
    common::MSGRec msg;
    marketdata::BuildNameIndex(marketdata::kCodeMasterFileNumber, 0, 0, "JPN", "", "", "", run.env, msg);
    chart_ui::ChartWindow chart;
    chart.resize(1000, 640);

    list_ui::JudgementResultScreen results(chart);
    Lists::ListFirstDetails(results, "JPN");
    ASSERT_FALSE(results.ListView1->list().rows.empty());
    EXPECT_EQ(results.ListView1->list().columns.size(), 40u);
    const list_ui::ListView& detail = *results.ListView2;
    ASSERT_FALSE(detail.list().rows.empty());
    ui::DoubleClickRow(*results.ListView2, 0);
    const std::string code =
        detail.list().rows[0].cells[static_cast<std::size_t>(Lists::HeaderOf(detail, "企業コード"))].text;
    EXPECT_EQ(platform::TrimBlanks(chart.chartTarget().key.CorpCode), code);
    EXPECT_FALSE(chart.controls().Label1->text().isEmpty());
    Lists::SaveScreenshot(results, "frmKsnList_judgement_run.png");

    // The stocks of the run that turned to buy.
    lists::ColumnCatalogue catalogue;
    lists::CFMCT10M(run.env, "", catalogue);
    list_ui::StockListScreen stocks(catalogue, chart);
    stocks.Combo02[1]->setCurrentIndex(stocks.Combo02[1]->findText(QStringLiteral("転換方向")));
    stocks.ListBox01[1]->setCurrentRow(
        stocks.ListBox01[1]->row(stocks.ListBox01[1]->findItems(QStringLiteral("1:買"), Qt::MatchExactly).value(0)));
    stocks.Command1->click();
    std::multiset<std::string> expected;
    for (const common::AnalysisRec& rec : common::State().analysisTable) {
        if (rec.Field[1] == "JPN" && platform::TrimBlanks(rec.Field[42]) == "1")
            expected.insert(platform::TrimBlanks(rec.Field[8]));
    }
    ASSERT_FALSE(expected.empty());
    const list_ui::ListView& list = *stocks.ListView1;
    std::multiset<std::string> listed;
    for (const std::string& text : Lists::Column(list, static_cast<std::size_t>(Lists::HeaderOf(list, "企業ｺｰﾄﾞ")))) {
        listed.insert(text);
    }
    EXPECT_EQ(listed, expected);
    Lists::SaveScreenshot(stocks, "frmGetList_judgement_run.png");
    EXPECT_TRUE(run.ui.presenter->boxes.empty());
}

}  // namespace
