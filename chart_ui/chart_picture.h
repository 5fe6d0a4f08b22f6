#pragma once
#include <QWidget>

#include "chart_ui/drawing_painter.h"

namespace chart_ui {

// A picture box that shows a drawing list on white: the chart's scrolling
// surface, or the fixed price scale beside it. The list may be far wider than
// the widget; the widget shows the part from the scroll offset on, painting
// only what is in view.
class ChartPicture : public QWidget {
    Q_OBJECT
public:
    explicit ChartPicture(const QString& name, QWidget* parent = nullptr);

    void SetDrawing(charts::DrawingList list);
    void Clear();
    const charts::DrawingList& drawing() const { return painter_.list(); }

    // The list's x shown at the widget's left edge.
    void SetScrollOffset(int offset);
    int scrollOffset() const { return offset_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    DrawingPainter painter_;
    int offset_ = 0;
};

}  // namespace chart_ui
