#include "chart_ui/chart_screen_settings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QStringList>
#include <algorithm>

#include "chart_ui/chart_controls.h"
#include "common/settings/settings.h"

namespace chart_ui {

namespace {

constexpr const char* kSection = "KsnGrh";
constexpr const char* kBoxKeys[] = {"GrahWide", "GrahLog", "GrahConv", "Grahmidl", "GrahLwhi", "GrahSplt"};

std::string KeyPath(const char* key) { return common::SettingKeyPath(kSection, key); }

void Fill(QComboBox& combo, const QStringList& items) {
    combo.clear();
    combo.addItems(items);
    combo.setCurrentIndex(0);
}

}  // namespace

void FillBarSizeCombo(QComboBox& combo) {
    Fill(combo, {QStringLiteral("全体"), QStringLiteral("小"), QStringLiteral("中"), QStringLiteral("大")});
}

void FillChartPeriodCombo(QComboBox& combo) {
    Fill(combo, {QStringLiteral("全体"), QStringLiteral("直近3ヶ月"), QStringLiteral("直近6ヶ月"),
                 QStringLiteral("直近1年"), QStringLiteral("直近2年"), QStringLiteral("直近5年")});
}

std::string ChartBoxSettingPath(int index) {
    if (index < 1 || index > static_cast<int>(std::size(kBoxKeys))) return "";
    return KeyPath(kBoxKeys[index - 1]);
}

void RestoreChartScreen(const ChartControls& controls) {
    for (std::size_t i = 0; i < controls.CkBoxChart.size(); ++i) {
        controls.CkBoxChart[i]->setChecked(common::ReadSettingLong(ChartBoxSettingPath(static_cast<int>(i + 1))) == 1);
    }
    // A value beyond the lists selects what the chart makes of it: any other
    // bar size draws as the largest, any other period as the whole series.
    const int size = common::ReadSettingLong(KeyPath("GrahSize"));
    controls.ComboChartSize->setCurrentIndex(size >= 0 && size < controls.ComboChartSize->count()
                                                 ? size
                                                 : controls.ComboChartSize->count() - 1);
    // A range no option stands for (0 or less, or beyond 月足) selects the
    // nearest option, 日足 or 月足, and stores it as that option's click does:
    // the drawings and the judgement read the range the screen shows (left as
    // it was, 0 would draw monthly rows under 日足).
    const int range = common::ReadSettingLong(KeyPath("GrahRange"));
    const int option = std::clamp(range, 1, static_cast<int>(controls.OptRange.size()));
    controls.OptRange[static_cast<std::size_t>(option - 1)]->setChecked(true);
    if (option != range) StoreChartRange(option);
    const int period = common::ReadSettingLong(KeyPath("GrahPeriod"));
    controls.ComboChartPeriod->setCurrentIndex(period >= 0 && period < controls.ComboChartPeriod->count() ? period
                                                                                                          : 0);
}

void StoreChartBox(int index, bool checked) {
    const std::string path = ChartBoxSettingPath(index);
    if (!path.empty()) common::WriteSetting(path, checked ? "1" : "0");
}

void StoreChartRange(int index) { common::WriteSetting(KeyPath("GrahRange"), std::to_string(index)); }

void StoreChartSize(int position) { common::WriteSetting(KeyPath("GrahSize"), std::to_string(position)); }

void StoreChartPeriod(int position) { common::WriteSetting(KeyPath("GrahPeriod"), std::to_string(position)); }

}  // namespace chart_ui
