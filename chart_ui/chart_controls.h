#pragma once
#include <array>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QWidget;

namespace chart_ui {

class ChartPicture;

// The controls of the chart window under their own names (Qt object names
// too). Arrays keep the control-array index: element i - 1 is index i.
struct ChartControls {
    QPushButton* Command1 = nullptr;  // candlestick chart
    QPushButton* Command4 = nullptr;  // Kagi chart
    QPushButton* Command6 = nullptr;  // clear
    std::array<QCheckBox*, 6> CkBoxChart{};
    std::array<QRadioButton*, 3> OptRange{};
    QButtonGroup* rangeGroup = nullptr;  // OptRange, each button's id its index
    QComboBox* ComboChartSize = nullptr;
    QComboBox* ComboChartPeriod = nullptr;
    QLabel* Label1 = nullptr;  // chart title
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QFrame* Pict1 = nullptr;           // frame of the visible part of the surface
    ChartPicture* Pict2 = nullptr;     // the scrolling surface, filling Pict1
    ChartPicture* Picture2 = nullptr;  // the price scale, left of Pict1
    QScrollBar* HScroll1 = nullptr;
};

// Creates the controls with their captions on `window` and lays them out: the
// buttons and choices on top, the title below them, then the scale and the
// frame taking the rest, the scroll bar under the frame.
ChartControls BuildChartControls(QWidget& window);

}  // namespace chart_ui
