#pragma once
#include <QFont>

namespace chart_ui {

// The font of every chart text: a Gothic face whose half-width digits and
// blanks are all one width, so that the blank-padded scale labels line up,
// and which holds the Japanese labels.
QFont ChartFont(int points);

}  // namespace chart_ui
