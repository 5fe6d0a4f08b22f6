#include "list_ui/stock_list_screen.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include "analysis/analysis_info_record.h"
#include "lists/column_catalogue.h"
#include "common/files/data_file.h"
#include "common/run_state.h"
#include "common/settings/settings.h"
#include "list_ui/column_chooser_dialog.h"
#include "marketdata/market_report.h"
#include "platform/date.h"
#include "tests/list_ui/list_screen_fixture.h"
#include "tests/support/focus_taking_presenter.h"
#include "tests/support/file_bytes.h"
#include "tests/support/keyboard_user.h"
#include "ui/box_answer.h"
#include "ui/qt_message_presenter.h"

namespace {

using common::AnalysisRec;
using list_ui::ColumnChooserDialog;
using list_ui::StockListScreen;
using list_ui_test::ClickHeader;
using list_ui_test::Column;
using ui::DoubleClickRow;
using list_ui_test::HeaderOf;
using list_ui_test::SaveScreenshot;

// An analysis row of a stock: country, category, company code and price (取引値).
AnalysisRec Stock(const char* country, const std::string& code, const char* price) {
    AnalysisRec rec;
    rec.Field[1] = country;
    rec.Field[2] = "1000";
    rec.Field[8] = code;
    rec.Field[19] = price;
    return rec;
}

class StockListScreenTest : public list_ui_test::ListScreenTest {
protected:
    StockListScreenTest() {
        lists::CFMCT10M(env, "", catalogue);
        // The information as the start-up has read it.
        common::State().analysisTable = {Stock("JPN", "1000", "150"), Stock("JPN", "1001", "90"),
                                         Stock("USA", "IBM", "300"), Stock("JPN", "1002", "1,200"),
                                         Stock("JPN", "1003", "")};
    }

    std::string CatalogueBytes() {
        return testsupport::ReadBytes(common::BuildDataFilePath(lists::kCatalogueFileNumber, 0, 0, "", "", env));
    }

    lists::ColumnCatalogue catalogue;
};

TEST_F(StockListScreenTest, ScreeningListsTheStocksTheConditionsKeepAndChartsTheRowsOwnStock) {
    StockListScreen screen(catalogue, chart);
    // The defaults: country JPN in the first row.
    ASSERT_EQ(screen.Combo02[0]->currentText(), QStringLiteral("国"));
    ASSERT_EQ(screen.ListBox01[0]->selectedItems().size(), 1);
    screen.Combo03[0]->setCurrentIndex(screen.Combo03[0]->findText(QStringLiteral("取引値")));
    screen.TextFrom01[0]->setText(QStringLiteral("100"));
    screen.Command1->click();
    list_ui::ListView& list = *screen.ListView1;
    const auto code = static_cast<std::size_t>(HeaderOf(list, "企業ｺｰﾄﾞ"));
    EXPECT_EQ(Column(list, code), (std::vector<std::string>{"1000", "1002"}));
    EXPECT_EQ(list.model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("№"));
    EXPECT_TRUE(list.isColumnHidden(list.model()->columnCount() - 1));
    EXPECT_EQ(common::ReadSetting("MirControl\\KsnMng\\MngSel201"), "取引値");
    EXPECT_TRUE(Boxes().empty());

    screen.OptSort.buttons[1]->click();
    ClickHeader(list, HeaderOf(list, "取引値"));
    ASSERT_EQ(Column(list, code), (std::vector<std::string>{"1002", "1000"}));
    DoubleClickRow(list, 1);
    EXPECT_EQ(chart.chartTarget().key.CorpCode, marketdata::FitField("1000", 20, "CorpCode"));
    EXPECT_FALSE(chart.controls().Label1->text().isEmpty());
    SaveScreenshot(screen, "frmGetList.png");

    // A second row of the same kind is refused and returned to blank.
    screen.Combo02[1]->setCurrentIndex(screen.Combo02[1]->findText(QStringLiteral("国")));
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, "同じ値を重複して選択する事は出来ません。");
    EXPECT_EQ(screen.Combo02[1]->currentIndex(), 0);
    EXPECT_EQ(screen.ListBox01[1]->count(), 0);
    EXPECT_EQ(common::ReadSetting("MirControl\\KsnMng\\MngSel102"), "");
    EXPECT_TRUE(Boxes().size() == 1u);
}

// The analysis information of two stocks from their code-master records, one
// with a market report and one whose prices were never collected: the second
// lists no ratio, as it lists no price.
TEST_F(StockListScreenTest, AStockWithoutPricesListsNoRatio) {
    common::State().analysisTable.clear();
    for (const char* code : {"1000", "1001"}) {
        marketdata::CdmRec cdm;
        marketdata::InitCdmRec(cdm, 1);
        marketdata::InitKey("JPN", "", "1000", "", cdm.Key);
        cdm.Key.CorpCode = marketdata::FitField(code, 20, "CorpCode");
        if (code == std::string("1000")) {
            cdm.RptText[9] = "1015";
            cdm.RptText[18] = "1000";
            marketdata::CalcReportDerived(cdm);
        }
        analysis::AnalysisInfoRec info;
        analysis::BuildAnalysisInfoRecord(cdm, info);
        analysis::FlattenAnalysisRecord(info, common::State().analysisTable.emplace_back());
    }
    StockListScreen screen(catalogue, chart);
    screen.Command1->click();
    const list_ui::ListView& list = *screen.ListView1;
    const auto code = static_cast<std::size_t>(HeaderOf(list, "企業ｺｰﾄﾞ"));
    ASSERT_EQ(Column(list, code), (std::vector<std::string>{"1000", "1001"}));
    EXPECT_EQ(Column(list, static_cast<std::size_t>(HeaderOf(list, "前日比率"))), (std::vector<std::string>{"+1.50%", " "}));
    EXPECT_EQ(Column(list, static_cast<std::size_t>(HeaderOf(list, "取引値"))), (std::vector<std::string>{"1,015.000", " "}));
    SaveScreenshot(screen, "frmGetList_without_prices.png");
}

TEST_F(StockListScreenTest, ARefusedBoundIsToldOnceAndListsNothing) {
    StockListScreen screen(catalogue, chart);
    screen.Combo03[1]->setCurrentIndex(screen.Combo03[1]->findText(QStringLiteral("取引値")));
    screen.TextTo01[1]->setText(QStringLiteral("12a"));
    screen.Command1->click();
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, "数値を入力してください。　");
    EXPECT_TRUE(screen.ListView1->list().rows.empty());
    EXPECT_EQ(common::ReadSetting("MirControl\\KsnMng\\MngSel2To02"), "");
}

using testsupport::FocusTakingPresenter;

TEST_F(StockListScreenTest, LeavingABoundWithTextIsRefusedOnceAndKeepsTheFocus) {
    StockListScreen screen(catalogue, chart);
    screen.show();
    screen.activateWindow();
    QApplication::processEvents();
    auto presenter = std::make_shared<FocusTakingPresenter>(*screen.TextTo01[0]);
    common::InstallUi({presenter, nullptr, ui.pump, nullptr, nullptr});
    screen.Combo03[0]->setCurrentIndex(screen.Combo03[0]->findText(QStringLiteral("取引値")));
    QLineEdit& from = *screen.TextFrom01[0];
    from.setFocus();
    from.setText(QStringLiteral("-1,5x"));
    screen.TextTo01[2]->setFocus();
    ASSERT_EQ(presenter->boxes.size(), 1u);
    EXPECT_EQ(presenter->boxes[0].text, "数値を入力してください。　");
    EXPECT_TRUE(from.hasFocus());
    EXPECT_EQ(common::ReadSetting("MirControl\\KsnMng\\MngSel2Fm01"), "");

    // Screening with the refused text is told once and goes back to its box.
    screen.Command1->click();
    ASSERT_EQ(presenter->boxes.size(), 2u);
    EXPECT_EQ(presenter->boxes[1].text, "数値を入力してください。　");
    EXPECT_TRUE(from.hasFocus());

    from.setText(QStringLiteral("-1,500"));
    screen.TextTo01[2]->setFocus();
    EXPECT_EQ(presenter->boxes.size(), 2u);
    EXPECT_EQ(common::ReadSetting("MirControl\\KsnMng\\MngSel2Fm01"), "-1,500");
}

// With a real warning box and the keyboard: the bound corrected after the
// refusal and left by Tab is stored.
TEST_F(StockListScreenTest, ABoundCorrectedAfterARefusalIsStored) {
    StockListScreen screen(catalogue, chart);
    screen.show();
    const auto log = folder.root() / "boxes.txt";
    common::InstallUi({std::make_shared<ui::QtMessagePresenter>(log), nullptr, ui.pump, nullptr, nullptr});
    QLineEdit& from = *screen.TextFrom01[0];
    ASSERT_TRUE(testsupport::FocusByClick(from));
    ASSERT_TRUE(ui::AnswerNextBox("OK"));
    testsupport::TypeAndTab(screen, QStringLiteral("12a"));
    EXPECT_EQ(testsupport::ReadBytes(log), "48\t数値を入力してください。　\n");
    EXPECT_TRUE(testsupport::ServeUntil([&from] { return from.hasFocus(); })) << "the focus is not back in the box";

    testsupport::TypeAndTab(screen, QStringLiteral("-1,500"));
    EXPECT_EQ(from.text(), QStringLiteral("-1,500"));
    EXPECT_EQ(common::ReadSetting("MirControl\\KsnMng\\MngSel2Fm01"), "-1,500");
}

TEST_F(StockListScreenTest, TheChooserRefusesToHideEverythingAndSavesTheColumnsShown) {
    const std::string before = CatalogueBytes();
    ColumnChooserDialog chooser(catalogue);
    ASSERT_EQ(chooser.ListView1->topLevelItemCount(), 91);
    EXPECT_EQ(chooser.ListView1->topLevelItem(0)->text(0), QStringLiteral("001"));
    SaveScreenshot(chooser, "frmGetDlog_columns.png");
    chooser.CommandVisFalse->click();
    chooser.CommandReadWrite->click();
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, "全ての項目を非表示にする事は出来ません。　\r\n");
    EXPECT_EQ(CatalogueBytes(), before);
    EXPECT_TRUE(chooser.isVisible());

    chooser.CommandVisTrue->click();
    // The first row is 国; a user clears its tick.
    chooser.ListView1->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
    chooser.close();
    EXPECT_TRUE(chooser.isVisible());
    chooser.CommandReadWrite->click();
    EXPECT_EQ(chooser.result(), QDialog::Accepted);
    EXPECT_NE(CatalogueBytes(), before);
    EXPECT_EQ(catalogue.columns[0].Hidden, 1);
    EXPECT_EQ(Boxes().back().text.rfind("表示項目を設定しました。", 0), 0u);

    // The next screening shows the chosen columns.
    StockListScreen screen(catalogue, chart);
    screen.Command1->click();
    EXPECT_EQ(screen.ListView1->list().columns[1].caption, "投資区分");
}

TEST_F(StockListScreenTest, TheStoredConditionsSampleOffersOnlyCancelAndWritesNothing) {
    const std::string before = CatalogueBytes();
    ColumnChooserDialog sample(lists::StoredConditionsSample(platform::Now().date));
    sample.show();
    EXPECT_EQ(sample.ListView1->topLevelItemCount(), 30);
    for (QPushButton* hidden :
         {sample.CommandReadWrite, sample.CommandVisTrue, sample.CommandVisFalse, sample.CommandDelete}) {
        EXPECT_FALSE(hidden->isVisible()) << hidden->objectName().toStdString();
    }
    EXPECT_TRUE(sample.CommandCancel->isVisible());
    SaveScreenshot(sample, "frmGetDlog_sample.png");
    sample.CommandCancel->click();
    EXPECT_FALSE(sample.isVisible());
    EXPECT_EQ(sample.result(), QDialog::Rejected);
    EXPECT_EQ(CatalogueBytes(), before);
}

}  // namespace
