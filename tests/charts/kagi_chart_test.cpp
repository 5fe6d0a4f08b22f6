#include "charts/kagi_chart.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/chart_line_file.h"
#include "charts/colour_palette.h"
#include "charts/kagi_label.h"
#include "charts/price_to_y.h"
#include "common/files/file_registry.h"
#include "common/logs/logs.h"
#include "common/run_state.h"
#include "tests/charts/chart_fixture.h"
#include "tests/support/judgement_market.h"

namespace {

using analysis::KagiLineRec;
using charts::DrawItem;
using charts::GetColourPair;

constexpr charts::ChartFrame kFrame{500, 420, 120};  // Kagi price pane: top 52, height 297 (without quantity)
constexpr double kBody = 14;

struct Line {
    platform::Date date;
    long first;
    long second;
    const char* direction;
    const char* turn = " ";       // "1" on a turn line
    const char* turnState = " ";  // the direction after it
    long turnPrice = 0;
};

KagiLineRec Rec(const Line& line) {
    KagiLineRec rec;
    rec.KagiDate = platform::ToDaySerial(line.date);
    rec.Low = platform::Currency(line.first);
    rec.High = platform::Currency(line.second);
    rec.Direction = line.direction;
    rec.Marked = " ";
    rec.RuleHit = " ";
    rec.SignalMark = line.turn;
    rec.TurnState = line.turnState;
    rec.SignalPrice = platform::Currency(line.turnPrice);
    return rec;
}

class KagiChart : public charts_test::ChartTest {
protected:
    KagiChart() {
        SetChartSetting("GrahSize", "3");
        SetChartSetting("GrahLog", "0");
        SetChartSetting("Grahmidl", "0");
        SetChartSetting("GrahConv", "1");
        SetChartSetting("GrahPeriod", "0");
        common::WriteSetting(common::SettingKeyPath("Kesen", "EnvKhn"), "11111111111100000000");
        common::WriteSetting(common::SettingKeyPath("Kesen", "EnvHsk"), std::string(50, '1'));
        common::WriteSetting(common::SettingKeyPath("Kesen", "EnvChange"), "0");
        target.company = testsupport::MarketCompany(testsupport::MarketCompanyCode(0));
        target.key = target.company.Key;
    }

    std::string ChartLinePath(const char* suffix, const std::string& extension) {
        return marketdata::CFKSN54M(env, target.key, marketdata::kChartLineFileNumber, suffix, extension);
    }

    void WriteLines(const std::vector<KagiLineRec>& recs) {
        const std::string extension = common::CFFIL03M(marketdata::kChartLineFileNumber);
        analysis::CFKSN52M(env, target.key, marketdata::kChartLineFileNumber, "", extension, recs);
        analysis::CFKSN52M(env, target.key, marketdata::kChartLineFileNumber, marketdata::kChartLineTempSuffix, extension,
                           recs);
    }

    void WriteLines(const std::vector<Line>& lines) {
        std::vector<KagiLineRec> recs;
        for (const Line& line : lines) recs.push_back(Rec(line));
        WriteLines(recs);
    }

    std::vector<charts::Rgb> BarColours() const {
        std::vector<charts::Rgb> colours;
        for (const DrawItem& item : scene.surface.items) {
            if (item.kind == DrawItem::Kind::Box && item.x2 - item.x1 == kBody - 1) colours.push_back(item.colour);
        }
        return colours;
    }

    charts::ChartTarget target;
    charts::ChartScene scene;
};

const charts::Rgb kRed = GetColourPair(charts::kColourRed).strong;
const charts::Rgb kBlue = GetColourPair(charts::kColourBlue).strong;
const charts::Rgb kGrey = GetColourPair(charts::kColourGrey).strong;

TEST_F(KagiChart, ColoursByDirectionWithoutTurnColouring) {
    SetChartSetting("GrahConv", "0");
    WriteLines({{{2005, 1, 5}, 100, 120, "1"}, {{2005, 1, 12}, 120, 105, "2"}, {{2005, 1, 19}, 105, 130, "1"}});
    ASSERT_TRUE(charts::AGKSN00M(env, kFrame, target, scene));
    EXPECT_EQ(BarColours(), (std::vector<charts::Rgb>{kRed, kBlue, kRed}));
    EXPECT_DOUBLE_EQ(scene.surface.height, 420);
}

TEST_F(KagiChart, TurnColouringSplitsTheTurnLineAtItsTurnPrice) {
    // Falling end prices draw as rising ones; a turn price beyond the line is held at its end.
    WriteLines({{{2005, 1, 5}, 100, 140, "1"},
                {{2005, 1, 12}, 140, 100, "2", "1", "2", 120},
                {{2005, 1, 19}, 100, 130, "1"},
                {{2005, 1, 26}, 130, 110, "2", "1", "1", 200}});
    ASSERT_TRUE(charts::AGKSN00M(env, kFrame, target, scene));
    EXPECT_EQ(BarColours(), (std::vector<charts::Rgb>{kGrey, kGrey, kBlue, kBlue, kBlue, kRed}));

    const auto y = [](double price) { return charts::PriceToY(price - 100, 40, 297, 52); };
    std::vector<DrawItem> boxes;
    for (const DrawItem& item : scene.surface.items) {
        if (item.kind == DrawItem::Kind::Box && item.x2 - item.x1 == kBody - 1) boxes.push_back(item);
    }
    ASSERT_EQ(boxes.size(), 6u);
    // The turn to down: the previous colour from the turn price up, blue below it.
    EXPECT_DOUBLE_EQ(boxes[1].y1, y(120));
    EXPECT_DOUBLE_EQ(boxes[1].y2, y(140));
    EXPECT_DOUBLE_EQ(boxes[2].y1, y(100));
    EXPECT_DOUBLE_EQ(boxes[2].y2, y(120));
    // The turn to up at 200, held at the high end 130: all of the line below it in blue.
    EXPECT_DOUBLE_EQ(boxes[4].y1, y(110));
    EXPECT_DOUBLE_EQ(boxes[4].y2, y(130));
    EXPECT_DOUBLE_EQ(boxes[5].y1, y(130));
    EXPECT_DOUBLE_EQ(boxes[5].y2, y(130));
}

TEST_F(KagiChart, PeriodStartingAfterATurnTakesItsColour) {
    SetChartSetting("GrahPeriod", "3");  // one year
    WriteLines(
        {{{2003, 6, 2}, 100, 120, "1", "1", "1", 110}, {{2004, 8, 2}, 120, 105, "2"}, {{2005, 1, 5}, 105, 130, "1"}});
    ASSERT_TRUE(charts::AGKSN00M(env, kFrame, target, scene));
    EXPECT_EQ(BarColours(), (std::vector<charts::Rgb>{kRed, kRed}));

    WriteLines({{{2003, 6, 2}, 100, 120, "1"}, {{2004, 8, 2}, 120, 105, "2"}, {{2005, 1, 5}, 105, 130, "1"}});
    ASSERT_TRUE(charts::AGKSN00M(env, kFrame, target, scene));
    EXPECT_EQ(BarColours(), (std::vector<charts::Rgb>{kGrey, kGrey}));
}

TEST_F(KagiChart, LabelTextsFollowTheSwitches) {
    analysis::KesenParamSet params;
    params.Khn.fill(1);
    params.Hsk.fill(1);
    KagiLineRec line;
    line.Features = 8192 | 64 | 4;
    line.HoleLines = 7;
    line.RuleBits[analysis::kRuleBitsRosa] = 512 | 32;
    line.RuleBits[analysis::kRuleBitsRoa] = 128;
    EXPECT_EQ(charts::KagiFeatureText(params, line), "・はらみ・穴7・下下げ新");
    EXPECT_EQ(charts::KagiRuleText(params, line), "・ろさ一・ろさ五・ろあ三");
    EXPECT_EQ(charts::KagiRuleGroupText(params, line), "・ろさ・ろあ");

    params.Khn[8] = 0;   // 穴
    params.Hsk[1] = 0;   // ろさ一
    params.Hsk[33] = 0;  // ろあ三
    EXPECT_EQ(charts::KagiFeatureText(params, line), "・はらみ・下下げ新");
    EXPECT_EQ(charts::KagiRuleText(params, line), "・ろさ五");
    EXPECT_EQ(charts::KagiRuleGroupText(params, line), "・ろさ");
}

TEST_F(KagiChart, LabelsStandBelowUpLinesAndAboveDownLines) {
    common::WriteSetting(common::SettingKeyPath("Kesen", "EnvChange"), "1");
    std::vector<KagiLineRec> recs{Rec({{2005, 1, 5}, 100, 140, "1"}), Rec({{2005, 1, 12}, 140, 100, "2"})};
    recs[0].Features = 2048;                          // ・空間
    recs[1].RuleBits[analysis::kRuleBitsRoku] = 256;  // ・ろく (groups only)
    WriteLines(recs);
    ASSERT_TRUE(charts::AGKSN00M(env, kFrame, target, scene));

    const std::vector<DrawItem> up = charts_test::ItemsOf(scene.surface, DrawItem::Kind::Text, kRed);
    ASSERT_EQ(up.size(), 2u);
    EXPECT_EQ(scene.surface.TextOf(up[0]), "空");
    EXPECT_EQ(scene.surface.TextOf(up[1]), "間");
    EXPECT_EQ(up[0].fontSize, 8);
    const double bottom = 52 + 297;  // the low end of the first line
    EXPECT_DOUBLE_EQ(up[0].y1, bottom + 10);
    EXPECT_DOUBLE_EQ(up[1].y1, bottom + 20);
    EXPECT_DOUBLE_EQ(up[0].x1, 2 + 6 - 3);  // 13 ÷ 2 rounds half to even

    const std::vector<DrawItem> down = charts_test::ItemsOf(scene.surface, DrawItem::Kind::Text, kBlue);
    ASSERT_EQ(down.size(), 2u);
    EXPECT_EQ(std::string(scene.surface.TextOf(down[0])) + std::string(scene.surface.TextOf(down[1])), "ろく");
    EXPECT_DOUBLE_EQ(down[0].y1, 52 - 3 * 10 - 10 + 10);
    EXPECT_DOUBLE_EQ(down[1].x1, 17 + 6 - 3);
}

TEST_F(KagiChart, LabelFontSizeByPitch) {
    EXPECT_EQ(charts::KagiLabelFontSize(5), 6);
    EXPECT_EQ(charts::KagiLabelFontSize(9), 6);
    EXPECT_EQ(charts::KagiLabelFontSize(15), 8);
    EXPECT_EQ(charts::KagiLabelFontSize(0.3), 6);
}

TEST_F(KagiChart, FilesAreDeletedOnceRead) {
    WriteLines({{{2005, 1, 5}, 100, 120, "1"}, {{2005, 1, 12}, 120, 105, "2"}});
    for (const char* suffix : {"", marketdata::kChartLineTempSuffix})
        ASSERT_TRUE(std::filesystem::exists(ChartLinePath(suffix, ".txt")));
    ASSERT_TRUE(charts::AGKSN00M(env, kFrame, target, scene));
    for (const char* suffix : {"", marketdata::kChartLineTempSuffix}) {
        EXPECT_FALSE(std::filesystem::exists(ChartLinePath(suffix, common::CFFIL03M(marketdata::kChartLineFileNumber))));
        EXPECT_FALSE(std::filesystem::exists(ChartLinePath(suffix, ".txt")));
    }
    EXPECT_TRUE(Warnings().empty());
}

TEST_F(KagiChart, MissingFileAndSingleLineAreTold) {
    common::LoadLogSwitches(env);
    common::State().runLogPath = (folder.root() / "run.log").string();
    EXPECT_FALSE(charts::AGKSN00M(env, kFrame, target, scene));
    std::ifstream log(common::State().runLogPath);
    std::stringstream text;
    text << log.rdbuf();
    EXPECT_NE(text.str().find("AGKSN00M,E0:ErrApl ,00,"), std::string::npos) << text.str();

    WriteLines({{{2005, 1, 5}, 100, 120, "1"}});
    EXPECT_FALSE(charts::AGKSN00M(env, kFrame, target, scene));
    EXPECT_EQ(Warnings(),
              (std::vector<std::string>{"株価時系列データが存在しません。　", "引き線する鉤足がありません。 "}));
    EXPECT_FALSE(std::filesystem::exists(ChartLinePath("", ".txt")));
}

TEST_F(KagiChart, DrawsAStockFromItsSeriesWhateverFilesLieAround) {
    testsupport::WriteJudgementMarket(env, 1, 200);
    SetChartSetting("GrahSize", "3");
    // A stale line file of the stock must not be what is drawn.
    WriteLines({{{2005, 1, 5}, 1, 2, "1"}, {{2005, 1, 12}, 2, 1, "2"}});
    ASSERT_TRUE(charts::DrawStockKagiChart(env, kFrame, target, scene));
    EXPECT_GT(BarColours().size(), 2u);
    EXPECT_FALSE(std::filesystem::exists(ChartLinePath("", common::CFFIL03M(marketdata::kChartLineFileNumber))));
    EXPECT_TRUE(Warnings().empty());
}

}  // namespace
