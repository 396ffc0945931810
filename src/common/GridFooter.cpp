#include "GridFooter.h"

#include <QHeaderView>
#include <QPainter>

GridFooter::GridFooter(QHeaderView& titles, CellOf cellOf, int leftOffset, QWidget* parent)
    : QWidget(parent), titles_(titles), cellOf_(std::move(cellOf)), leftOffset_(leftOffset) {
    const auto repaint = [this] { update(); };
    connect(&titles_, &QHeaderView::sectionResized, this, repaint);
    connect(&titles_, &QHeaderView::sectionMoved, this, repaint);
    connect(&titles_, &QHeaderView::geometriesChanged, this, repaint);
}

void GridFooter::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    for (int visual = 0; visual < titles_.count(); ++visual) {
        const int logical = titles_.logicalIndex(visual);
        if (titles_.isSectionHidden(logical))
            continue;
        const QRect cellRect(leftOffset_ + titles_.sectionViewportPosition(logical), 0,
                             titles_.sectionSize(logical), height());
        if (cellRect.right() < leftOffset_ || cellRect.left() > width())
            continue;
        const Cell cell = cellOf_(logical);
        painter.save();
        painter.setClipRect(QRect(leftOffset_, 0, width() - leftOffset_, height()));
        painter.fillRect(cellRect, cell.background);
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(cellRect.adjusted(0, 0, -1, -1));
        painter.setFont(cell.font);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(cellRect.adjusted(3, 0, -3, 0), cell.alignment | Qt::AlignVCenter,
                         cell.text);
        painter.restore();
    }
}
