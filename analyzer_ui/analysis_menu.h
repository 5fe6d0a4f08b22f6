#pragma once
#include <QWidget>
#include <functional>

namespace chart_ui {
class ChartWindow;
}
namespace list_ui {
class JudgementResultScreen;
class StockListScreen;
}
namespace ui {
class EnvironmentScreen;
class OtherFunctionsScreen;
}

namespace analyzer_ui {

class JudgementConditionsScreen;

// The menu form `frmGetKMenu` on the left of the analysis program's main
// window.
class AnalysisMenuScreen : public QWidget {
    Q_OBJECT
public:
    explicit AnalysisMenuScreen(QWidget* parent = nullptr);
};

// The screens the menu brings forward.
struct AnalysisScreens {
    list_ui::StockListScreen* stocks = nullptr;
    JudgementConditionsScreen* conditions = nullptr;
    list_ui::JudgementResultScreen* results = nullptr;
    chart_ui::ChartWindow* chart = nullptr;
    ui::EnvironmentScreen* environment = nullptr;
    ui::OtherFunctionsScreen* other = nullptr;
};

// Each button brings its screen to the front, one at a time, the system
// state file kept current on the way; "終　　了" keeps the settings and ends
// the program, running `beforeEnd` just before the end.
void ConnectAnalysisMenu(AnalysisMenuScreen& menu, const AnalysisScreens& screens, std::function<void()> beforeEnd);

}  // namespace analyzer_ui
