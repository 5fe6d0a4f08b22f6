#include "charts/drawing_list.h"

namespace charts {

void DrawingList::Line(double x1, double y1, double x2, double y2, Rgb colour, LineStyle style) {
    items.push_back({DrawItem::Kind::Line, x1, y1, x2, y2, colour, style, 0, {}});
}

void DrawingList::Box(double x1, double y1, double x2, double y2, Rgb colour) {
    items.push_back({DrawItem::Kind::Box, x1, y1, x2, y2, colour, LineStyle::Solid, 0, {}});
}

void DrawingList::FilledBox(double x1, double y1, double x2, double y2, Rgb colour) {
    items.push_back({DrawItem::Kind::FilledBox, x1, y1, x2, y2, colour, LineStyle::Solid, 0, {}});
}

void DrawingList::Text(double x, double y, const std::string& text, Rgb colour, int fontSize) {
    items.push_back({DrawItem::Kind::Text, x, y, x, y, colour, LineStyle::Solid, fontSize, text});
}

}  // namespace charts
