#pragma once
#include <cstdint>
#include <vector>

#include <QRectF>

#include "charts/drawing_list.h"

class QPainter;

namespace chart_ui {

// Paints a drawing list one view at a time. The list of a long daily chart is
// tens of thousands of items over a surface far wider than any screen, so the
// items are indexed by vertical strips and a paint touches only the strips in
// view, never the whole list and never a picture of the whole surface.
class DrawingPainter {
public:
    void SetList(charts::DrawingList list);
    const charts::DrawingList& list() const { return list_; }

    // Paints, in drawing order, every item that meets `view` (in the list's
    // coordinates) at the painter's current transformation.
    void Paint(QPainter& painter, const QRectF& view) const;

private:
    std::vector<std::uint32_t> ItemsMeeting(double left, double right) const;

    charts::DrawingList list_;
    std::vector<std::vector<std::uint32_t>> strips_;  // indices of the items meeting each strip, ascending
};

}  // namespace chart_ui
