#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include "chart_ui/chart_picture.h"
#include "chart_ui/chart_window.h"
#include "common/settings/settings.h"
#include "tests/chart_ui/chart_window_fixture.h"
#include "tests/chart_ui/drawn_pixels.h"
#include "tests/support/file_bytes.h"
#include "tests/support/scoped_env.h"

namespace {

using chart_ui::ChartWindow;
using chart_ui_test::ChartWindowTest;
using chart_ui_test::CheckPixels;
using chart_ui_test::PixelCheck;

constexpr charts::Rgb kLightRed{255, 191, 191};
constexpr charts::Rgb kLightBlue{191, 191, 255};
constexpr charts::Rgb kLightGreen{191, 255, 191};
constexpr charts::Rgb kLightGrey{200, 200, 200};
constexpr charts::Rgb kRed{255, 0, 0};
constexpr charts::Rgb kBlue{0, 0, 255};

std::string Grh(const char* key) { return common::ReadSetting(common::SettingKeyPath("KsnGrh", key)); }
void SetGrh(const char* key, const std::string& value) {
    common::WriteSetting(common::SettingKeyPath("KsnGrh", key), value);
}

// The surface shown from the scroll bar's position on matches its list.
PixelCheck CheckSurface(const ChartWindow& window) {
    const auto& c = window.controls();
    EXPECT_EQ(c.Pict2->scrollOffset(), c.HScroll1->value());
    const PixelCheck check = CheckPixels(c.Pict2->grab().toImage(), c.Pict2->drawing(), c.HScroll1->value());
    EXPECT_EQ(check.mismatches, 0) << check.firstMismatches;
    return check;
}

TEST_F(ChartWindowTest, CandlestickButtonPaintsBodiesTicksAndVolumeWhereverScrolled) {
    SetGrh("GrahSize", "2");
    ChartWindow window;
    Show(window);
    const auto& c = window.controls();
    c.Command1->click();

    EXPECT_TRUE(Boxes().empty());
    EXPECT_TRUE(c.Label1->text().startsWith("企業名：試験電機工業"));
    const charts::DrawingList& surface = c.Pict2->drawing();
    ASSERT_FALSE(surface.items.empty());
    // The chart was laid out for the frame it shows in: 400 bars at the
    // medium pitch overflow it, and the bar scrolls over the excess.
    EXPECT_EQ(surface.height, c.Pict1->height());
    EXPECT_TRUE(c.HScroll1->isVisible());
    EXPECT_EQ(c.HScroll1->maximum(), static_cast<int>(surface.width) - c.Pict1->width());
    EXPECT_GT(c.HScroll1->maximum(), 0);

    for (const int position : {0, c.HScroll1->maximum() / 2, c.HScroll1->maximum()}) {
        c.HScroll1->setValue(position);
        const PixelCheck check = CheckSurface(window);
        EXPECT_GT(check.Count(kLightRed), 5) << position;
        EXPECT_GT(check.Count(kLightBlue), 5) << position;
        EXPECT_GT(check.Count(kRed) + check.Count(kBlue), 5) << position;
        EXPECT_GT(check.Count(kLightGreen), 5) << position;
        EXPECT_GT(check.Count(kLightGrey), 5) << position;
    }
    const PixelCheck scale = CheckPixels(c.Picture2->grab().toImage(), c.Picture2->drawing(), 0);
    EXPECT_EQ(scale.mismatches, 0) << scale.firstMismatches;
    SaveScreenshot(window, "candlestick.png");

    // A narrower window scrolls further, to the same last bar.
    const int wide = c.Pict1->width();
    window.resize(900, 720);
    QApplication::processEvents();
    ASSERT_LT(c.Pict1->width(), wide);
    EXPECT_EQ(c.HScroll1->maximum(), static_cast<int>(surface.width) - c.Pict1->width());
    c.HScroll1->setValue(c.HScroll1->maximum());
    CheckSurface(window);
}

TEST_F(ChartWindowTest, KagiButtonJudgesTheStockAndPaintsItsBarsAgainOnEveryPress) {
    // Bars coloured by their direction: the series has lines both ways.
    SetGrh("GrahConv", "0");
    ChartWindow window;
    Show(window);
    const auto& c = window.controls();
    for (int press = 1; press <= 2; ++press) {
        c.Command4->click();
        EXPECT_TRUE(Boxes().empty()) << (Boxes().empty() ? "" : Boxes()[0].text);
        ASSERT_FALSE(c.Pict2->drawing().items.empty()) << press;
        EXPECT_TRUE(c.Label1->text().startsWith("企業名：試験電機工業"));
        const PixelCheck check = CheckSurface(window);
        EXPECT_GT(check.Count(kLightRed), 2) << press;
        EXPECT_GT(check.Count(kLightBlue), 2) << press;
        EXPECT_GT(check.Count(kRed) + check.Count(kBlue), 2) << press;
    }
    EXPECT_FALSE(common::State().busy);
    SaveScreenshot(window, "kagi.png");
}

struct RestoreCase {
    const char* name;
    const char* range;
    const char* size;
    const char* period;
    int option;    // the OptRange index selected
    int sizeShown;
    int periodShown;
};

// A saved value beyond a list selects what the drawing makes of it; a range
// beyond the options selects the nearest, which is then stored.
const RestoreCase kRestoreCases[] = {
    {"Saved", "2", "1", "5", 2, 1, 5},
    {"RangeZeroIsDaily", "0", "0", "0", 1, 0, 0},
    {"EmptyIsFirst", "", "", "", 1, 0, 0},
    {"BeyondTheLists", "7", "9", "9", 3, 3, 0},
    {"NegativeSizeIsLargest", "3", "-1", "-2", 3, 3, 0},
};

TEST_F(ChartWindowTest, FillingPutsBackEverySavedChoiceAndStoresOnlyARangeOfNoOption) {
    const char* keys[] = {"GrahWide", "GrahLog", "GrahConv", "Grahmidl", "GrahLwhi", "GrahSplt",
                          "GrahSize", "GrahRange", "GrahPeriod"};
    for (const RestoreCase& test : kRestoreCases) {
        SCOPED_TRACE(test.name);
        const char* boxes[] = {"0", "1", "0", "1", "0", "1"};
        for (int i = 0; i < 6; ++i) SetGrh(keys[i], boxes[i]);
        SetGrh("GrahRange", test.range);
        SetGrh("GrahSize", test.size);
        SetGrh("GrahPeriod", test.period);
        std::vector<std::string> before;
        for (const char* key : keys) before.push_back(Grh(key));

        ChartWindow window;
        const auto& c = window.controls();
        for (int i = 0; i < 6; ++i) EXPECT_EQ(c.CkBoxChart[i]->isChecked(), i % 2 == 1) << i;
        EXPECT_EQ(c.rangeGroup->checkedId(), test.option);
        EXPECT_EQ(c.ComboChartSize->currentIndex(), test.sizeShown);
        EXPECT_EQ(c.ComboChartPeriod->currentIndex(), test.periodShown);
        std::vector<std::string> after;
        for (const char* key : keys) after.push_back(Grh(key));
        before[7] = std::to_string(test.option);
        EXPECT_EQ(after, before);
    }
}

// GrahRange "0" shows 日足, and 日足 is what the next drawing makes: as many
// candles as the series has days, as with a saved "1".
TEST_F(ChartWindowTest, ARangeOfNoOptionDrawsTheRowsTheScreenShows) {
    std::vector<double> widths;
    for (const char* range : {"1", "0"}) {
        SetGrh("GrahRange", range);
        SetGrh("GrahSize", "1");
        ChartWindow window;
        Show(window);
        ASSERT_TRUE(window.controls().OptRange[0]->isChecked());
        window.controls().Command1->click();
        widths.push_back(window.controls().Pict2->drawing().width);
    }
    EXPECT_EQ(widths[1], widths[0]);
    EXPECT_EQ(Grh("GrahRange"), "1");
}

TEST_F(ChartWindowTest, EveryControlStoresItsChoiceAtOnceAndTheNextPressUsesIt) {
    ChartWindow window;
    Show(window);
    const auto& c = window.controls();
    EXPECT_EQ(c.ComboChartSize->count(), 4);
    EXPECT_EQ(c.ComboChartSize->itemText(3), "大");
    EXPECT_EQ(c.ComboChartSize->toolTip(), "棒足をグラフ表示する時の太さ");
    EXPECT_EQ(c.ComboChartPeriod->count(), 6);
    EXPECT_EQ(c.ComboChartPeriod->itemText(5), "直近5年");
    c.Command1->click();
    const charts::DrawingList daily = c.Pict2->drawing();

    const char* keys[] = {"GrahWide", "GrahLog", "GrahConv", "Grahmidl", "GrahLwhi", "GrahSplt"};
    for (int i = 0; i < 6; ++i) {
        const bool was = c.CkBoxChart[i]->isChecked();
        c.CkBoxChart[i]->click();
        EXPECT_EQ(Grh(keys[i]), was ? "0" : "1") << keys[i];
    }
    c.OptRange[2]->click();
    EXPECT_EQ(Grh("GrahRange"), "3");
    c.OptRange[1]->click();
    EXPECT_EQ(Grh("GrahRange"), "2");
    c.ComboChartSize->setCurrentIndex(3);
    EXPECT_EQ(Grh("GrahSize"), "3");
    c.ComboChartPeriod->setCurrentIndex(4);
    EXPECT_EQ(Grh("GrahPeriod"), "4");

    // Nothing redraws by itself; the next press draws the weekly rows.
    EXPECT_EQ(c.Pict2->drawing().items.size(), daily.items.size());
    c.Command1->click();
    EXPECT_NE(c.Pict2->drawing().width, daily.width);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(ChartWindowTest, ClearEmptiesThePicturesAndScrollingAfterwardsKeepsThemEmpty) {
    SetGrh("GrahSize", "3");
    ChartWindow window;
    Show(window);
    const auto& c = window.controls();
    c.Command1->click();
    c.HScroll1->setValue(c.HScroll1->maximum());
    ASSERT_GT(c.HScroll1->value(), 0);

    c.Command6->click();
    EXPECT_TRUE(c.Pict2->drawing().items.empty());
    EXPECT_TRUE(c.Picture2->drawing().items.empty());
    EXPECT_EQ(c.Label1->text(), "");
    EXPECT_EQ(c.HScroll1->maximum(), 0);
    EXPECT_FALSE(c.HScroll1->isVisible());
    c.HScroll1->setValue(200);
    EXPECT_EQ(c.Pict2->scrollOffset(), 0);
    for (QWidget* picture : {static_cast<QWidget*>(c.Pict2), static_cast<QWidget*>(c.Picture2)}) {
        const QImage image = picture->grab().toImage();
        int coloured = 0;
        for (int y = 0; y < image.height(); y += 3) {
            for (int x = 0; x < image.width(); x += 3) coloured += image.pixelColor(x, y) != Qt::white;
        }
        EXPECT_EQ(coloured, 0) << picture->objectName().toStdString();
    }
    EXPECT_FALSE(common::State().busy);
}

TEST_F(ChartWindowTest, PressesWhileAnotherHandlerIsBusyAreIgnored) {
    ChartWindow window;
    Show(window);
    const auto& c = window.controls();
    c.Command1->click();
    const std::size_t drawn = c.Pict2->drawing().items.size();

    common::State().busy = true;
    c.Command6->click();
    c.Command4->click();
    EXPECT_EQ(c.Pict2->drawing().items.size(), drawn);
    window.SetChartTarget(Target("9999"));
    c.Command1->click();
    EXPECT_TRUE(Boxes().empty());
    // The flag belongs to the handler that holds it.
    EXPECT_TRUE(common::State().busy);
}

// What the window shows while a box is up.
class WindowWatchingPresenter : public testsupport::RecordingPresenter {
public:
    explicit WindowWatchingPresenter(const ChartWindow& window) : window_(window) {}
    int Show(const std::string& text, int style, const std::string& caption) override {
        const auto& c = window_.controls();
        shown.push_back({c.Label1->text().toStdString(), c.Pict2->drawing().items.size(),
                         c.Picture2->drawing().items.size()});
        return RecordingPresenter::Show(text, style, caption);
    }
    struct Shown {
        std::string title;
        std::size_t surfaceItems;
        std::size_t scaleItems;
    };
    std::vector<Shown> shown;

private:
    const ChartWindow& window_;
};

// A stock that cannot be drawn (no series; a single Kagi line) is told with
// nothing of the chart before it in the window, neither behind the warning
// nor after it.
TEST_F(ChartWindowTest, AStockThatCannotBeDrawnWarnsOverAnEmptyWindow) {
    SetGrh("GrahSize", "3");
    ChartWindow window;
    auto presenter = std::make_shared<WindowWatchingPresenter>(window);
    common::InstallUi({presenter, nullptr, ui.pump, nullptr, std::make_shared<testsupport::ThrowingProgramEnd>()});
    Show(window);
    const auto& c = window.controls();
    // One row draws a candle but not a Kagi chart of two lines.
    marketdata::CdmRec single = testsupport::MarketCompany("1999");
    marketdata::CFHPJ50M(env, marketdata::kPriceSeriesFileNumber, marketdata::PriceFileNamePart(single.Key, "D"),
                         ".txt", testsupport::MarketCompanySeries(1, 1));
    struct Case {
        std::string code;
        QPushButton* button;
        const char* warning;
    };
    const Case cases[] = {{"9999", c.Command1, "株価時系列データが存在しません。　"},
                          {"9999", c.Command4, "株価時系列データが存在しません。　"},
                          {"1999", c.Command4, "引き線する鉤足がありません。 "}};
    for (const Case& test : cases) {
        SCOPED_TRACE(test.code + " " + test.button->text().toStdString());
        window.SetChartTarget(Target());
        c.Command1->click();
        ASSERT_FALSE(c.Pict2->drawing().items.empty());
        ASSERT_TRUE(c.HScroll1->isVisible());
        const std::size_t boxes = presenter->boxes.size();

        window.SetChartTarget(Target(test.code));
        test.button->click();
        ASSERT_EQ(presenter->boxes.size(), boxes + 1);
        EXPECT_EQ(presenter->boxes.back().text, test.warning);
        const WindowWatchingPresenter::Shown& behind = presenter->shown.back();
        EXPECT_EQ(behind.title, "");
        EXPECT_EQ(behind.surfaceItems, 0u);
        EXPECT_EQ(behind.scaleItems, 0u);
        EXPECT_EQ(c.Label1->text(), "");
        EXPECT_TRUE(c.Pict2->drawing().items.empty());
        EXPECT_TRUE(c.Picture2->drawing().items.empty());
        EXPECT_FALSE(c.HScroll1->isVisible());
        EXPECT_FALSE(common::State().busy);
    }
    SaveScreenshot(window, "cannot_be_drawn.png");
}

TEST_F(ChartWindowTest, AnErrorInAHandlerIsLoggedAndShownAndTheWindowGoesOn) {
    ChartWindow window;
    Show(window);
    const auto& c = window.controls();
    {
        // A settings store that cannot be opened: its folder's parent is a file.
        testsupport::WriteBytes(folder.root() / "not_a_folder", "");
        testsupport::ScopedEnv broken("XDG_CONFIG_HOME", (folder.root() / "not_a_folder" / "config").string());
        c.CkBoxChart[1]->click();
    }
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_NE(Boxes()[0].text.find("ＶＢエラーを検出しました。　"), std::string::npos);
    EXPECT_NE(testsupport::ReadBytes(common::State().errorLogPath).find("frmGetChart_CkBoxChart_Click"),
              std::string::npos);

    c.Command1->click();
    EXPECT_FALSE(c.Pict2->drawing().items.empty());
    EXPECT_EQ(Boxes().size(), 1u);
}

}  // namespace
