#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace charts {

// A colour of the charts' palette.
struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

enum class LineStyle : std::uint8_t { Solid, Dotted };

// One thing drawn, in pixels of its surface (x to the right, y down, origin
// top-left). Lines run from (x1, y1) to (x2, y2); boxes span the rectangle
// between the two corners, edges included; a text has its top-left corner at
// (x1, y1). Lines and outlines are one pixel wide. A long chart has about
// eight items a bar, so the item is kept small and plain: a text's
// characters stand in its list (DrawingList::TextOf).
struct DrawItem {
    enum class Kind : std::uint8_t { Line, Box, FilledBox, Text };
    double x1 = 0;
    double y1 = 0;
    double x2 = 0;
    double y2 = 0;
    Kind kind = Kind::Line;
    Rgb colour;
    LineStyle style = LineStyle::Solid;
    std::int16_t fontSize = 0;  // texts only, in points
    std::uint32_t textStart = 0;
    std::uint32_t textSize = 0;
};

// What one picture shows: its size and what is drawn on it, in drawing order.
struct DrawingList {
    double width = 0;
    double height = 0;
    std::vector<DrawItem> items;
    std::string texts;  // the UTF-8 texts of the text items, one after another

    void Line(double x1, double y1, double x2, double y2, Rgb colour, LineStyle style = LineStyle::Solid);
    void Box(double x1, double y1, double x2, double y2, Rgb colour);
    void FilledBox(double x1, double y1, double x2, double y2, Rgb colour);
    void Text(double x, double y, std::string_view text, Rgb colour, int fontSize);

    // The text of a text item of this list (empty for the other kinds).
    std::string_view TextOf(const DrawItem& item) const {
        return std::string_view(texts).substr(item.textStart, item.textSize);
    }
};

// A drawn chart: the scrolling surface of the bars (the chart window's Pict2),
// the price scale beside it (Picture2), the title, and how far the surface
// scrolls inside the visible frame (0 and hidden when it fits).
struct ChartScene {
    DrawingList surface;
    DrawingList scale;
    std::string title;
    long scrollMaximum = 0;
    bool scrollVisible = false;
};

// The visible frame the surface is drawn for (the chart window's Pict1), and
// the width of the price scale beside it. A frame not yet shown has a width
// of 0 or less, which the layout takes as 1.
struct ChartFrame {
    double width = 0;
    double height = 0;
    double scaleWidth = 0;
};

}  // namespace charts
