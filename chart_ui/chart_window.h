#pragma once
#include <QWidget>
#include <functional>

#include "chart_ui/chart_controls.h"
#include "charts/chart_target.h"
#include "charts/drawing_list.h"
#include "common/files/env_rec.h"

namespace chart_ui {

// The chart window `frmGetChart`: draws the candlestick or Kagi chart of the
// chart target and keeps the chart settings (KsnGrh) as its controls change.
// The program places it in its main window; it also stands on its own.
class ChartWindow : public QWidget {
    Q_OBJECT
public:
    // Fills the combo lists, puts the controls back from the settings and
    // only then starts storing their changes, so that filling never
    // overwrites a saved choice.
    explicit ChartWindow(QWidget* parent = nullptr);

    // The stock or series the next drawing shows; set by the list screens.
    void SetChartTarget(const charts::ChartTarget& target);
    const charts::ChartTarget& chartTarget() const { return target_; }

    // Draw the target's chart now, without the busy guard: for a caller whose
    // own handler holds it. False, after the user was told, when there was
    // nothing to draw; the window is then empty, as after "クリア".
    bool DrawCandlestickChart();
    bool DrawKagiChart();

    // The visible frame the next drawing is laid out for.
    charts::ChartFrame frame() const;

    const ChartControls& controls() const { return c_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Command1_Click();
    void Command4_Click();
    void Command6_Click();
    void HScroll1_Change(int value);
    using DrawRoutine = bool (*)(common::EnvRec&, const charts::ChartFrame&, const charts::ChartTarget&,
                                 charts::ChartScene&);
    bool DrawChart(DrawRoutine routine);
    void ShowScene(charts::ChartScene scene);
    void ClearPictures();
    void ClearChart();
    void ConnectStores();

    ChartControls c_;
    charts::ChartTarget target_;
};

}  // namespace chart_ui
