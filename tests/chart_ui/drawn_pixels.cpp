#include "tests/chart_ui/drawn_pixels.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace chart_ui_test {

namespace {

using Kind = charts::DrawItem::Kind;

int Pixel(double v) { return static_cast<int>(std::lround(v)); }

struct PixelRect {
    int left, top, right, bottom;
    bool Holds(int x, int y) const { return x >= left && x <= right && y >= top && y <= bottom; }
    PixelRect Grown(int by) const { return {left - by, top - by, right + by, bottom + by}; }
};

PixelRect RectOf(const charts::DrawItem& item) {
    return {Pixel(std::min(item.x1, item.x2)), Pixel(std::min(item.y1, item.y2)), Pixel(std::max(item.x1, item.x2)),
            Pixel(std::max(item.y1, item.y2))};
}

std::size_t CodePoints(std::string_view text) {
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

enum class Cover { No, Yes, Maybe };

Cover Covers(const charts::DrawingList& list, const charts::DrawItem& item, int x, int y) {
    const PixelRect r = RectOf(item);
    switch (item.kind) {
        case Kind::FilledBox: return r.Holds(x, y) ? Cover::Yes : Cover::No;
        case Kind::Box:
            if (!r.Holds(x, y)) return Cover::No;
            return x == r.left || x == r.right || y == r.top || y == r.bottom ? Cover::Yes : Cover::No;
        case Kind::Text: {
            const double em = item.fontSize * 96.0 / 72.0;
            const PixelRect box{Pixel(item.x1) - 1, Pixel(item.y1) - 1,
                                Pixel(item.x1 + em * static_cast<double>(CodePoints(list.TextOf(item)))) + 1,
                                Pixel(item.y1 + 2 * em) + 1};
            return box.Holds(x, y) ? Cover::Maybe : Cover::No;
        }
        case Kind::Line: {
            const bool level = r.top == r.bottom;
            const bool upright = r.left == r.right;
            if (item.style == charts::LineStyle::Dotted || level == upright) {
                return r.Grown(1).Holds(x, y) ? Cover::Maybe : Cover::No;
            }
            // The ends are left open: whether the last pixel is set is the
            // painting engine's business.
            if (level) {
                if (y != r.top || x < r.left - 1 || x > r.right + 1) return Cover::No;
                return x > r.left && x < r.right ? Cover::Yes : Cover::Maybe;
            }
            if (x != r.left || y < r.top - 1 || y > r.bottom + 1) return Cover::No;
            return y > r.top && y < r.bottom ? Cover::Yes : Cover::Maybe;
        }
    }
    return Cover::No;
}

std::vector<std::pair<int, int>> PointsWorthChecking(const charts::DrawingList& list, int left, int right) {
    std::vector<std::pair<int, int>> points;
    for (const charts::DrawItem& item : list.items) {
        const PixelRect r = RectOf(item);
        if (r.right < left || r.left > right) continue;
        if (item.kind == Kind::FilledBox) points.emplace_back((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        if (item.kind == Kind::Box && r.bottom - r.top >= 2) points.emplace_back(r.left, (r.top + r.bottom) / 2);
        if (item.kind == Kind::Line && item.style == charts::LineStyle::Solid && r.top == r.bottom) {
            for (int x = std::max(left, r.left + 1); x < std::min(right, r.right); x += 29) points.emplace_back(x, r.top);
        }
    }
    return points;
}

}  // namespace

std::optional<charts::Rgb> ExpectedColour(const charts::DrawingList& list, int x, int y) {
    for (auto item = list.items.rbegin(); item != list.items.rend(); ++item) {
        switch (Covers(list, *item, x, y)) {
            case Cover::Yes: return item->colour;
            case Cover::Maybe: return std::nullopt;
            case Cover::No: break;
        }
    }
    return charts::Rgb{255, 255, 255};
}

int PixelCheck::Count(const charts::Rgb& colour) const {
    const auto found = matched.find({colour.red, colour.green, colour.blue});
    return found == matched.end() ? 0 : found->second;
}

PixelCheck CheckPixels(const QImage& image, const charts::DrawingList& list, int offset) {
    PixelCheck check;
    for (const auto& [x, y] : PointsWorthChecking(list, offset, offset + image.width() - 1)) {
        if (x < offset || x >= offset + image.width() || y < 0 || y >= image.height()) continue;
        const std::optional<charts::Rgb> expected = ExpectedColour(list, x, y);
        if (!expected) continue;
        const QColor shown = image.pixelColor(x - offset, y);
        if (shown == QColor(expected->red, expected->green, expected->blue)) {
            ++check.matched[{expected->red, expected->green, expected->blue}];
        } else if (++check.mismatches <= 5) {
            check.firstMismatches += "(" + std::to_string(x) + "," + std::to_string(y) + ") shows " +
                                     shown.name().toStdString() + ", expected " +
                                     QColor(expected->red, expected->green, expected->blue).name().toStdString() + "\n";
        }
    }
    return check;
}

}  // namespace chart_ui_test
