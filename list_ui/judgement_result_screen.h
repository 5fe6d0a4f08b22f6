#pragma once
#include <QWidget>

#include "list_ui/sort_options.h"
#include "lists/result_lists.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace chart_ui {
class ChartWindow;
}

namespace list_ui {

class ListView;

// The judgement-result screen `frmKsnList`: the summary list of a country,
// level and rule group (`ListView1`), the judgement results behind one of
// its rows (`ListView2`), and a detail row's Kagi chart in `chart`.
class JudgementResultScreen : public QWidget {
    Q_OBJECT
public:
    // Puts the choices and sort modes back from the settings (KsnSum) and only
    // then starts storing their changes.
    explicit JudgementResultScreen(chart_ui::ChartWindow& chart, QWidget* parent = nullptr);

    QGroupBox* Frame1 = nullptr;
    QLabel* LabelCountry = nullptr;
    QComboBox* ComboCountry = nullptr;
    QLabel* LabelSummary = nullptr;
    QComboBox* ComboSummary = nullptr;
    QLabel* LabelKagiRule = nullptr;
    QComboBox* ComboKagiRule = nullptr;
    QPushButton* Command3 = nullptr;
    QLabel* Label4 = nullptr;
    ListView* ListView1 = nullptr;
    SortOptions OptSort1;
    QLabel* Label3 = nullptr;
    ListView* ListView2 = nullptr;
    SortOptions OptSort2;

private:
    void Command3_Click();
    void ListView1_DblClick();
    void ListView2_DblClick();
    void BuildSummaryList();
    void BuildDetailList();
    void OpenChartFromDetail();
    lists::SummarySelection CurrentSelection() const;
    void RestoreChoices();
    void ConnectStores();

    chart_ui::ChartWindow& chart_;
    // The choices the summary list on the screen was built with: its rows
    // name records of that country's file, whatever the combos show now.
    lists::SummarySelection built_;
};

}  // namespace list_ui
