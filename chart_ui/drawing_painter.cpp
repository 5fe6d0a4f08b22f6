#include "chart_ui/drawing_painter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <map>

#include "chart_ui/chart_font.h"

namespace chart_ui {

namespace {

// Wide enough that a view of a screen's width meets only a handful of strips.
constexpr double kStripWidth = 256.0;

std::size_t CodePoints(std::string_view text) {
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// The horizontal extent of an item; a text's is bounded from above (a
// full-width character is about one em), which only costs an extra strip.
std::pair<double, double> Extent(const charts::DrawingList& list, const charts::DrawItem& item) {
    if (item.kind == charts::DrawItem::Kind::Text) {
        const double em = item.fontSize * 96.0 / 72.0;
        return {item.x1, item.x1 + em * static_cast<double>(CodePoints(list.TextOf(item))) + 1.0};
    }
    return {std::min(item.x1, item.x2), std::max(item.x1, item.x2)};
}

std::size_t StripOf(double x, std::size_t count) {
    if (!(x > 0)) return 0;
    return std::min(count - 1, static_cast<std::size_t>(x / kStripWidth));
}

QColor ToColour(const charts::Rgb& rgb) { return QColor(rgb.red, rgb.green, rgb.blue); }

// Every coordinate goes to its nearest whole pixel, lines and boxes alike, so
// that a body and the line at its edge meet exactly.
int Pixel(double v) { return static_cast<int>(std::lround(v)); }
QPoint PixelPoint(double x, double y) { return QPoint(Pixel(x), Pixel(y)); }

// The whole pixels a box covers, edges included.
QRect PixelBox(const charts::DrawItem& item) {
    return QRect(PixelPoint(std::min(item.x1, item.x2), std::min(item.y1, item.y2)),
                 PixelPoint(std::max(item.x1, item.x2), std::max(item.y1, item.y2)));
}

class ItemPainter {
public:
    ItemPainter(QPainter& painter, const charts::DrawingList& list) : painter_(painter), list_(list) {}

    void Paint(const charts::DrawItem& item) {
        switch (item.kind) {
            case charts::DrawItem::Kind::Line:
                painter_.setPen(QPen(ToColour(item.colour), 0,
                                     item.style == charts::LineStyle::Dotted ? Qt::DotLine : Qt::SolidLine));
                painter_.drawLine(PixelPoint(item.x1, item.y1), PixelPoint(item.x2, item.y2));
                break;
            case charts::DrawItem::Kind::Box: {
                // A one-pixel outline drawn around a rectangle covers its
                // size plus one: the corners' own pixels are the edges. A box
                // two pixels across or less is all edge.
                const QRect box = PixelBox(item);
                if (box.width() <= 2 || box.height() <= 2) {
                    painter_.fillRect(box, ToColour(item.colour));
                    break;
                }
                painter_.setPen(QPen(ToColour(item.colour), 0));
                painter_.setBrush(Qt::NoBrush);
                painter_.drawRect(QRect(box.topLeft(), box.size() - QSize(1, 1)));
                break;
            }
            case charts::DrawItem::Kind::FilledBox:
                painter_.fillRect(PixelBox(item), ToColour(item.colour));
                break;
            case charts::DrawItem::Kind::Text: {
                const Font& font = FontOf(item.fontSize);
                painter_.setFont(font.font);
                painter_.setPen(ToColour(item.colour));
                const std::string_view text = list_.TextOf(item);
                painter_.drawText(QPointF(item.x1, item.y1 + font.ascent),
                                  QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
                break;
            }
        }
    }

private:
    struct Font {
        QFont font;
        double ascent;
    };

    const Font& FontOf(int points) {
        auto found = fonts_.find(points);
        if (found == fonts_.end()) {
            const QFont font = ChartFont(points);
            found = fonts_.emplace(points, Font{font, QFontMetricsF(font, painter_.device()).ascent()}).first;
        }
        return found->second;
    }

    QPainter& painter_;
    const charts::DrawingList& list_;
    std::map<int, Font> fonts_;
};

}  // namespace

void DrawingPainter::SetList(charts::DrawingList list) {
    list_ = std::move(list);
    strips_.assign(static_cast<std::size_t>(std::max(0.0, list_.width) / kStripWidth) + 1, {});
    for (std::size_t i = 0; i < list_.items.size(); ++i) {
        const auto [left, right] = Extent(list_, list_.items[i]);
        const std::size_t last = StripOf(right, strips_.size());
        for (std::size_t s = StripOf(left, strips_.size()); s <= last; ++s) {
            strips_[s].push_back(static_cast<std::uint32_t>(i));
        }
    }
}

std::vector<std::uint32_t> DrawingPainter::ItemsMeeting(double left, double right) const {
    std::vector<std::uint32_t> items;
    const std::size_t last = StripOf(right, strips_.size());
    for (std::size_t s = StripOf(left, strips_.size()); s <= last; ++s) {
        items.insert(items.end(), strips_[s].begin(), strips_[s].end());
    }
    // An item across several strips is listed in each; draw it once, in order.
    std::sort(items.begin(), items.end());
    items.erase(std::unique(items.begin(), items.end()), items.end());
    return items;
}

void DrawingPainter::Paint(QPainter& painter, const QRectF& view) const {
    if (list_.items.empty()) return;
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    ItemPainter items(painter, list_);
    for (const std::uint32_t i : ItemsMeeting(view.left(), view.right())) {
        items.Paint(list_.items[i]);
    }
}

}  // namespace chart_ui
