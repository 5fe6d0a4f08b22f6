#include "chart_ui/chart_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>

#include "chart_ui/chart_picture.h"
#include "chart_ui/chart_screen_settings.h"
#include "ui/handler_report.h"
#include "charts/candlestick_chart.h"
#include "charts/kagi_chart.h"
#include "common/startup/run_env.h"
#include "ui/qt_text.h"
#include "ui/screen_guard.h"

namespace chart_ui {

ChartWindow::ChartWindow(QWidget* parent) : QWidget(parent), c_(BuildChartControls(*this)) {
    setObjectName(QStringLiteral("frmGetChart"));
    setWindowTitle(QStringLiteral("チャート"));
    resize(1180, 720);
    FillBarSizeCombo(*c_.ComboChartSize);
    FillChartPeriodCombo(*c_.ComboChartPeriod);
    ui::RunHandler("RestoreChartScreen", [this] { RestoreChartScreen(c_); });
    ConnectStores();

    connect(c_.Command1, &QPushButton::clicked, this, &ChartWindow::Command1_Click);
    connect(c_.Command4, &QPushButton::clicked, this, &ChartWindow::Command4_Click);
    connect(c_.Command6, &QPushButton::clicked, this, &ChartWindow::Command6_Click);
    connect(c_.HScroll1, &QScrollBar::valueChanged, this, &ChartWindow::HScroll1_Change);
}

void ChartWindow::ConnectStores() {
    for (std::size_t i = 0; i < c_.CkBoxChart.size(); ++i) {
        const int index = static_cast<int>(i + 1);
        connect(c_.CkBoxChart[i], &QCheckBox::toggled, this, [index](bool checked) {
            ui::RunHandler("frmGetChart_CkBoxChart_Click", [&] { StoreChartBox(index, checked); });
        });
    }
    connect(c_.rangeGroup, &QButtonGroup::idToggled, this, [](int index, bool checked) {
        if (checked) ui::RunHandler("frmGetChart_OptRange_Click", [&] { StoreChartRange(index); });
    });
    connect(c_.ComboChartSize, &QComboBox::currentIndexChanged, this, [](int position) {
        ui::RunHandler("frmGetChart_ComboChartSize_Click", [&] { StoreChartSize(position); });
    });
    connect(c_.ComboChartPeriod, &QComboBox::currentIndexChanged, this, [](int position) {
        ui::RunHandler("frmGetChart_ComboChartPeriod_Change", [&] { StoreChartPeriod(position); });
    });
}

void ChartWindow::SetChartTarget(const charts::ChartTarget& target) { target_ = target; }

charts::ChartFrame ChartWindow::frame() const {
    return {static_cast<double>(c_.Pict1->width()), static_cast<double>(c_.Pict1->height()),
            static_cast<double>(c_.Picture2->width())};
}

bool ChartWindow::DrawChart(DrawRoutine routine) {
    // Nothing of the chart before, perhaps another stock's, stands behind
    // this drawing's warnings or stays when it fails. The scroll bar keeps
    // its place for the redrawing.
    ClearPictures();
    common::EnvRec env;
    common::CCENV00M(env);
    charts::ChartScene scene;
    if (!routine(env, frame(), target_, scene)) {
        ClearChart();
        return false;
    }
    ShowScene(std::move(scene));
    return true;
}

bool ChartWindow::DrawCandlestickChart() { return DrawChart(&charts::DrawStockCandlestickChart); }

bool ChartWindow::DrawKagiChart() { return DrawChart(&charts::DrawStockKagiChart); }

void ChartWindow::ShowScene(charts::ChartScene scene) {
    c_.Label1->setText(ui::ToQt(scene.title));
    c_.Pict2->SetDrawing(std::move(scene.surface));
    c_.Picture2->SetDrawing(std::move(scene.scale));
    c_.HScroll1->setMaximum(static_cast<int>(std::max(0L, scene.scrollMaximum)));
    c_.HScroll1->setPageStep(std::max(1, c_.Pict1->width()));
    c_.HScroll1->setSingleStep(15);
    c_.HScroll1->setVisible(scene.scrollVisible);
    c_.Pict2->SetScrollOffset(c_.HScroll1->value());
}

// The frame follows the window (its layout has placed it by now); the bar
// scrolls over what the surface exceeds it by, and shows only while it does.
void ChartWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int excess = static_cast<int>(c_.Pict2->drawing().width) - c_.Pict1->width();
    c_.HScroll1->setMaximum(std::max(0, excess));
    c_.HScroll1->setPageStep(std::max(1, c_.Pict1->width()));
    c_.HScroll1->setVisible(excess > 0);
}

void ChartWindow::Command1_Click() {
    ui::RunGuarded("frmGetChart_Command1_Click", [this] { DrawCandlestickChart(); });
}

void ChartWindow::Command4_Click() {
    ui::RunGuarded("frmGetChart_Command4_Click", [this] { DrawKagiChart(); });
}

void ChartWindow::ClearPictures() {
    c_.Pict2->Clear();
    c_.Picture2->Clear();
    c_.Label1->clear();
}

void ChartWindow::ClearChart() {
    ClearPictures();
    c_.HScroll1->setMaximum(0);
    c_.HScroll1->hide();
}

void ChartWindow::Command6_Click() {
    ui::RunGuarded("frmGetChart_Command6_Click", [this] { ClearChart(); });
}

void ChartWindow::HScroll1_Change(int value) { c_.Pict2->SetScrollOffset(value); }

}  // namespace chart_ui
