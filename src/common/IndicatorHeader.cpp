#include "IndicatorHeader.h"

#include <QPainter>

IndicatorHeader::IndicatorHeader(QWidget* parent) : QHeaderView(Qt::Vertical, parent) {
    setSectionsClickable(false);
}

void IndicatorHeader::setCurrentRow(int row) {
    currentRow_ = row;
    viewport()->update();
}

void IndicatorHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    painter->save();
    painter->fillRect(rect, palette().color(QPalette::Button));
    painter->setPen(palette().color(QPalette::Mid));
    painter->drawRect(rect.adjusted(0, 0, -1, -1));
    if (logicalIndex == currentRow_) {
        const int cx = rect.center().x();
        const int cy = rect.center().y();
        const QPolygon marker{QPoint(cx - 2, cy - 4), QPoint(cx + 2, cy), QPoint(cx - 2, cy + 4)};
        painter->setPen(Qt::NoPen);
        painter->setBrush(palette().color(QPalette::WindowText));
        painter->drawPolygon(marker);
    }
    painter->restore();
}
