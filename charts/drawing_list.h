#pragma once
#include <string>
#include <vector>

namespace charts {

// A colour of the charts' palette.
struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

enum class LineStyle { Solid, Dotted };

// One thing drawn, in pixels of its surface (x to the right, y down, origin
// top-left). Lines run from (x1, y1) to (x2, y2); boxes span the rectangle
// between the two corners, edges included; a text has its top-left corner at
// (x1, y1). Lines and outlines are one pixel wide.
struct DrawItem {
    enum class Kind { Line, Box, FilledBox, Text };
    Kind kind = Kind::Line;
    double x1 = 0;
    double y1 = 0;
    double x2 = 0;
    double y2 = 0;
    Rgb colour;
    LineStyle style = LineStyle::Solid;
    int fontSize = 0;  // texts only, in points
    std::string text;  // UTF-8
};

// What one picture shows: its size and what is drawn on it, in drawing order.
struct DrawingList {
    double width = 0;
    double height = 0;
    std::vector<DrawItem> items;

    void Line(double x1, double y1, double x2, double y2, Rgb colour, LineStyle style = LineStyle::Solid);
    void Box(double x1, double y1, double x2, double y2, Rgb colour);
    void FilledBox(double x1, double y1, double x2, double y2, Rgb colour);
    void Text(double x, double y, const std::string& text, Rgb colour, int fontSize);
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
