#pragma once
#include <QImage>
#include <map>
#include <optional>
#include <tuple>

#include "charts/drawing_list.h"

namespace chart_ui_test {

// The colour a painting of `list` must show at pixel (x, y) of the list: the
// last item that surely covers it, white where none does; nothing where a
// text, a dotted or slanted line or a line's end may cover it.
std::optional<charts::Rgb> ExpectedColour(const charts::DrawingList& list, int x, int y);

// What a comparison of an image with its list found: how many points of
// each colour matched, and the first points that did not.
struct PixelCheck {
    std::map<std::tuple<int, int, int>, int> matched;
    int mismatches = 0;
    std::string firstMismatches;

    int Count(const charts::Rgb& colour) const;
};

// Compares `image`, a view of the list from x = `offset` on, with the list at
// the points worth checking in view: the middle of every filled box, the
// middle of every box's left edge, and points along every level solid line.
PixelCheck CheckPixels(const QImage& image, const charts::DrawingList& list, int offset);

}  // namespace chart_ui_test
