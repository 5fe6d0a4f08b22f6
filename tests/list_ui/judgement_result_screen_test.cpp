#include "list_ui/judgement_result_screen.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "analysis/judge_result_file.h"
#include "analysis/kagi_line_rec.h"
#include "analysis/summary_file.h"
#include "chart_ui/chart_controls.h"
#include "chart_ui/chart_picture.h"
#include "common/files/data_file.h"
#include "common/run_state.h"
#include "common/settings/settings.h"
#include "common/screens/ui_seam.h"
#include "platform/cp932.h"
#include "platform/trapped_error.h"
#include "tests/support/file_bytes.h"
#include "tests/analysis/judge_test_records.h"
#include "tests/list_ui/list_screen_fixture.h"

namespace {

using analysis::KagiSummaryRec;
using list_ui::JudgementResultScreen;
using list_ui_test::ClickHeader;
using list_ui_test::Column;
using ui::DoubleClickRow;
using list_ui_test::HeaderOf;
using list_ui_test::SaveScreenshot;

// A summary record of `level` aggregating judgement records first..last.
KagiSummaryRec SummaryRecord(const char* level, std::int32_t row, std::int32_t first, std::int32_t last) {
    KagiSummaryRec r;
    r.MarketCode = "JPN";
    r.LevelDigit = level;
    r.DirectionMark = "1";
    r.TurnStateMark = "1";
    r.YearKey = "2021";
    r.RowNumber = row;
    const auto slot = static_cast<std::size_t>(level[0] - '0');
    r.FirstRecord[slot] = first;
    r.LastRecord[slot] = last;
    r.Rules[analysis::kRuleBitsFamilies] = analysis::kFamilyRosa;
    r.RecordCount = platform::Currency(4);
    return r;
}

class JudgementResultScreenTest : public list_ui_test::ListScreenTest {
protected:
    JudgementResultScreenTest() {
        common::MSGRec msg;
        analysis::CFKRS52M(msg, env, analysis::kJudgeSummaryFileNumber, "JPN", "", 1, ".dat",
                           std::vector<KagiSummaryRec>{SummaryRecord("3", 1, 1, 4), SummaryRecord("4", 2, 1, 4)});
        // Three stocks of the market and one the name index does not hold.
        std::vector<analysis::KagiJudgeRec> results;
        for (const char* code : {"1001", "9999", "1000", "1002"}) {
            results.push_back(testsupport::JudgeRecord(code, {2021, 3, 4}));
            results.back().Key = testsupport::MarketCompany(code).Key;
        }
        analysis::CFKGR52M(msg, env, analysis::kJudgeResultFileNumber, 1, "JPN", "", ".dat", results);
    }

    // Chooses the country and the level as a user does, and presses 抽出.
    static void Extract(JudgementResultScreen& screen, int country, int level) {
        screen.ComboCountry->setCurrentIndex(country);
        screen.ComboSummary->setCurrentIndex(level - 1);
        screen.Command3->click();
    }
};

TEST_F(JudgementResultScreenTest, ExtractFillsTheSummaryAndAMissingCountryKeepsItsRows) {
    JudgementResultScreen screen(chart);
    // A click while another action holds the busy flag is ignored.
    common::State().busy = true;
    Extract(screen, 1, 4);
    EXPECT_TRUE(screen.ListView1->list().rows.empty());
    common::State().busy = false;
    screen.Command3->click();
    const list_ui::ListView& summary = *screen.ListView1;
    ASSERT_EQ(summary.model()->columnCount(), 40);
    EXPECT_EQ(Column(summary, 0), std::vector<std::string>{"4:0000002"});
    EXPECT_TRUE(summary.isColumnHidden(39));
    EXPECT_FALSE(summary.isColumnHidden(38));
    EXPECT_EQ(summary.model()->headerData(16, Qt::Horizontal).toString(), QStringLiteral("法則詳細"));
    EXPECT_EQ(common::ReadSetting("MirControl\\KsnSum\\RsltSaveCntry"), "JPN");
    EXPECT_EQ(common::ReadSetting("MirControl\\KsnSum\\RsltSlctSumry"), "Level4 : 陰陽・転換出現状況・法則・法則詳細");
    EXPECT_TRUE(Boxes().empty());
    SaveScreenshot(screen, "frmKsnList_summary.png");

    DoubleClickRow(*screen.ListView1, 0);
    ASSERT_EQ(screen.ListView2->list().rows.size(), 4u);
    screen.ComboCountry->setCurrentIndex(-1);
    screen.Command3->click();
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, "「国」は選択必須項目です。　");
    EXPECT_EQ(Column(summary, 0), std::vector<std::string>{"4:0000002"});
    EXPECT_TRUE(screen.ListView2->list().rows.empty());

    // Another start puts the choices back.
    JudgementResultScreen again(chart);
    EXPECT_EQ(again.ComboSummary->currentIndex(), 3);
    // A blank saved choice shows the list's own default.
    EXPECT_EQ(again.ComboCountry->currentText(), "JPN");
}

TEST_F(JudgementResultScreenTest, DetailRowsOpenTheChartOfTheirOwnStockAlsoAfterASort) {
    JudgementResultScreen screen(chart);
    Extract(screen, 1, 4);
    // The level the list was built with counts, not what the combo shows now.
    screen.ComboSummary->setCurrentIndex(2);
    DoubleClickRow(*screen.ListView1, 0);
    list_ui::ListView& detail = *screen.ListView2;
    ASSERT_EQ(detail.model()->columnCount(), 16);
    const int code = HeaderOf(detail, "企業コード");
    EXPECT_EQ(Column(detail, static_cast<std::size_t>(code)),
              (std::vector<std::string>{"1001", "9999", "1000", "1002"}));

    screen.OptSort2.buttons[1]->click();
    EXPECT_EQ(common::ReadSetting("MirControl\\KsnSum\\RsltSrtAD2"), "2");
    ClickHeader(detail, code);
    ASSERT_EQ(Column(detail, static_cast<std::size_t>(code)),
              (std::vector<std::string>{"9999", "1002", "1001", "1000"}));
    DoubleClickRow(detail, 2);
    EXPECT_EQ(chart.chartTarget().key.CorpCode, marketdata::FitField("1001", 20, "CorpCode"));
    EXPECT_TRUE(chart.isVisible());
    EXPECT_FALSE(chart.controls().Label1->text().isEmpty());
    EXPECT_TRUE(Boxes().empty());
    SaveScreenshot(screen, "frmKsnList_detail.png");

    // A stock missing from the name index is told and charts nothing else.
    DoubleClickRow(detail, 0);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, "株価時系列データが存在しません。　");
    EXPECT_EQ(chart.chartTarget().key.CorpCode, marketdata::FitField("1001", 20, "CorpCode"));
}

// A stock whose chart cannot be drawn leaves the chart window empty: the
// stock charted before stays neither behind the warning nor after it.
TEST_F(JudgementResultScreenTest, AStockThatCannotBeChartedShowsNoOtherStocksChart) {
    JudgementResultScreen screen(chart);
    Extract(screen, 1, 4);
    DoubleClickRow(*screen.ListView1, 0);
    list_ui::ListView& detail = *screen.ListView2;
    ASSERT_EQ(Column(detail, static_cast<std::size_t>(HeaderOf(detail, "企業コード")))[0], "1001");
    DoubleClickRow(detail, 0);
    ASSERT_FALSE(chart.controls().Pict2->drawing().items.empty());
    ASSERT_FALSE(chart.controls().Label1->text().isEmpty());
    std::filesystem::remove(common::BuildDataFilePath(marketdata::kPriceSeriesFileNumber, 0, 0,
                                                      marketdata::PriceFileNamePart(testsupport::MarketCompany("1002").Key, "D"),
                                                      ".txt", env));

    DoubleClickRow(detail, 3);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, "株価時系列データが存在しません。　");
    EXPECT_EQ(chart.chartTarget().key.CorpCode, marketdata::FitField("1002", 20, "CorpCode"));
    EXPECT_EQ(chart.controls().Label1->text(), "");
    EXPECT_TRUE(chart.controls().Pict2->drawing().items.empty());
    EXPECT_TRUE(chart.controls().Picture2->drawing().items.empty());
}

TEST_F(JudgementResultScreenTest, ADetailOfLevelsOneToThreeIsRefused) {
    JudgementResultScreen screen(chart);
    Extract(screen, 1, 3);
    screen.ComboSummary->setCurrentIndex(3);
    DoubleClickRow(*screen.ListView1, 0);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text.rfind("「集計単位」がLevel1～3の場合", 0), 0u);
    EXPECT_TRUE(screen.ListView2->list().rows.empty());
}

// Progress dialogs that cannot be shown: a run-time error inside a build.
class FailingForms : public common::ProgressForms {
public:
    common::ProgressView& Show(const std::string&) override {
        throw platform::TrappedError(7, "メモリが不足しています。", "FormProgress3");
    }
    void Unload(const std::string&) override {}
};

// A build that fails is reported, the screen stays usable, and the run log
// tells of the build's abnormal end.
TEST_F(JudgementResultScreenTest, AFailedBuildIsReportedAndLogsItsAbnormalEnd) {
    JudgementResultScreen screen(chart);
    Extract(screen, 1, 4);
    ASSERT_EQ(screen.ListView1->list().rows.size(), 1u);
    common::InstallUi({ui.presenter, std::make_shared<FailingForms>(), ui.pump, nullptr,
                       std::make_shared<testsupport::ThrowingProgramEnd>()});
    const std::pair<const char*, std::function<void()>> builds[] = {
        {"KsnSumMng", [&screen] { screen.Command3->click(); }},
        {"LvwDblcl", [&screen] { DoubleClickRow(*screen.ListView1, 0); }},
    };
    for (const auto& [logName, build] : builds) {
        SCOPED_TRACE(logName);
        ui.presenter->boxes.clear();
        build();
        ASSERT_EQ(Boxes().size(), 1u);
        EXPECT_EQ(Boxes()[0].text.find("ＶＢエラーを検出しました。　"), 2u);
        const std::string& path = common::State().runLogPath;
        const std::string log = platform::FromCp932(testsupport::ReadBytes(path)).text;
        EXPECT_NE(log.find(std::string(logName) + ",99:ABEND  ,00," + logName + " End(Abnormal)  : "), std::string::npos)
            << log;
        EXPECT_FALSE(common::State().busy);
        EXPECT_TRUE(screen.isEnabled());
    }
}

}  // namespace
