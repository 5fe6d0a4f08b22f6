#include "charts/drawing_list.h"

namespace charts {

void DrawingList::Line(double x1, double y1, double x2, double y2, Rgb colour, LineStyle style) {
    items.push_back({x1, y1, x2, y2, DrawItem::Kind::Line, colour, style, 0, 0, 0});
}

void DrawingList::Box(double x1, double y1, double x2, double y2, Rgb colour) {
    items.push_back({x1, y1, x2, y2, DrawItem::Kind::Box, colour, LineStyle::Solid, 0, 0, 0});
}

void DrawingList::FilledBox(double x1, double y1, double x2, double y2, Rgb colour) {
    items.push_back({x1, y1, x2, y2, DrawItem::Kind::FilledBox, colour, LineStyle::Solid, 0, 0, 0});
}

void DrawingList::Text(double x, double y, std::string_view text, Rgb colour, int fontSize) {
    items.push_back({x, y, x, y, DrawItem::Kind::Text, colour, LineStyle::Solid, static_cast<std::int16_t>(fontSize),
                     static_cast<std::uint32_t>(texts.size()), static_cast<std::uint32_t>(text.size())});
    texts += text;
}

}  // namespace charts
