#include "chart_ui/chart_picture.h"

#include <QPaintEvent>
#include <QPainter>

namespace chart_ui {

ChartPicture::ChartPicture(const QString& name, QWidget* parent) : QWidget(parent) {
    setObjectName(name);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ChartPicture::SetDrawing(charts::DrawingList list) {
    painter_.SetList(std::move(list));
    update();
}

void ChartPicture::Clear() { SetDrawing({}); }

void ChartPicture::SetScrollOffset(int offset) {
    if (offset == offset_) return;
    offset_ = offset;
    update();
}

void ChartPicture::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect dirty = event->rect();
    painter.fillRect(dirty, Qt::white);
    painter.setClipRect(dirty);
    painter.translate(-offset_, 0);
    painter_.Paint(painter, QRectF(dirty.translated(offset_, 0)));
}

}  // namespace chart_ui
