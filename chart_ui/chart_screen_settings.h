#pragma once
#include <string>

class QComboBox;

namespace chart_ui {

struct ChartControls;

// The fixed lists of the chart window's combo boxes; each filler clears the
// list, adds the items in order and selects the first.
void FillBarSizeCombo(QComboBox& combo);
void FillChartPeriodCombo(QComboBox& combo);

// The KsnGrh setting behind check box `index` (1 to 6), or "" for any other box.
std::string ChartBoxSettingPath(int index);

// Puts the controls back from the KsnGrh settings. Writes only a range that
// no option stands for, as the option it selects.
void RestoreChartScreen(const ChartControls& controls);

// The stores of the controls' changes, written at once.
void StoreChartBox(int index, bool checked);
void StoreChartRange(int index);
void StoreChartSize(int position);
void StoreChartPeriod(int position);

}  // namespace chart_ui
