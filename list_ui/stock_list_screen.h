#pragma once
#include <QWidget>
#include <array>
#include <vector>

#include "list_ui/sort_options.h"
#include "lists/column_catalogue.h"
#include "lists/screening.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace chart_ui {
class ChartWindow;
}

namespace list_ui {

class ListView;

// The stock-analysis screen `frmGetList`: up to five code conditions and five
// range conditions over the analysis information, the screening run, the
// list of the stocks that pass (`ListView1`) with the catalogue's shown
// columns, a row's Kagi chart in `chart`, the column chooser and the
// stored-conditions sample. Arrays keep the control-array index: element
// k - 1 is row k.
class StockListScreen : public QWidget {
    Q_OBJECT
public:
    // `catalogue` is the program's loaded column catalogue; the chooser saves
    // into it. The condition rows and the sort mode are put back from the
    // settings (KsnMng) before their changes start being stored.
    StockListScreen(lists::ColumnCatalogue& catalogue, chart_ui::ChartWindow& chart, QWidget* parent = nullptr);

    // Fills the kind combos from the catalogue and puts the condition rows
    // back from the settings, writing nothing; for a changed catalogue.
    void LoadConditions();

    // The checks when the user leaves the screen: the From bounds of rows
    // 1 to 5, then the To bounds; a passing text is stored. False, after the
    // warning and with the focus back in the box, at the first refusal.
    bool CheckOnLeave();

    QGroupBox* Frame2 = nullptr;
    std::array<QComboBox*, lists::kConditionRows> Combo02{};
    std::array<QListWidget*, lists::kConditionRows> ListBox01{};
    QPushButton* Command2 = nullptr;
    QGroupBox* Frame5 = nullptr;
    std::array<QComboBox*, lists::kConditionRows> Combo03{};
    std::array<QLabel*, lists::kConditionRows> Label3{};
    std::array<QLineEdit*, lists::kConditionRows> TextFrom01{};
    std::array<QLabel*, lists::kConditionRows> Label4{};
    std::array<QLineEdit*, lists::kConditionRows> TextTo01{};
    QPushButton* Command4 = nullptr;
    QPushButton* Command1 = nullptr;
    ListView* ListView1 = nullptr;
    SortOptions OptSort;
    QPushButton* Command3 = nullptr;
    QPushButton* Command7 = nullptr;
    QPushButton* Command6 = nullptr;

    // The stocks listed, row i of the list naming element i - 1.
    const std::vector<lists::ListedStock>& listedRows() const { return rows_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildConditionAreas();
    void LayoutScreen();
    void ConnectHandlers();
    void Combo02_Click(std::size_t k);
    void Combo03_Click(std::size_t k);
    void FillChoices(std::size_t k);
    bool CheckBound(QLineEdit& box);
    // A bound box of row k and the setting that keeps it.
    struct BoundBox {
        QLineEdit* box;
        const char* key;
        std::size_t k;
    };
    // In the order the screen checks them when it is left.
    std::vector<BoundBox> BoundBoxes() const;
    bool CheckAndStoreBound(const BoundBox& bound);
    void Command1_Click();
    void Command2_Click();
    void Command4_Click();
    void Command3_Click();
    void ShowStoredConditions();
    void ListView1_DblClick();
    // The screening run into the list; the box of a refused bound, else nullptr.
    QLineEdit* ScreenAnalysisInfo();
    lists::ScreeningConditions Conditions() const;

    lists::ColumnCatalogue& catalogue_;
    chart_ui::ChartWindow& chart_;
    std::vector<lists::ListedStock> rows_;
    // Set while a bound box's check shows its warning: the box loses the
    // focus to the box, and that must not check it again.
    bool checkingBound_ = false;
};

}  // namespace list_ui
