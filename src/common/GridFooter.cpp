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

QRect GridFooter::cellRect(int logicalIndex) const {
    const int visual = titles_.visualIndex(logicalIndex);
    int left = leftOffset_ + titles_.sectionViewportPosition(logicalIndex);
    if (visual < frozenColumns_) {
        left = leftOffset_;
        for (int v = 0; v < visual; ++v)
            if (!titles_.isSectionHidden(titles_.logicalIndex(v)))
                left += titles_.sectionSize(titles_.logicalIndex(v));
    }
    return QRect(left, 0, titles_.sectionSize(logicalIndex), height());
}

void GridFooter::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    int frozenRight = leftOffset_;
    for (int visual = 0; visual < std::min(frozenColumns_, titles_.count()); ++visual)
        frozenRight = cellRect(titles_.logicalIndex(visual)).right() + 1;
    // Scrolled columns first, clipped to the right of the frozen ones, then the frozen ones.
    for (const bool frozen : {false, true})
        for (int visual = 0; visual < titles_.count(); ++visual) {
            const int logical = titles_.logicalIndex(visual);
            if (titles_.isSectionHidden(logical) || (visual < frozenColumns_) != frozen)
                continue;
            const QRect cell = cellRect(logical);
            const QRect clip(frozen ? leftOffset_ : frozenRight, 0, width(), height());
            if (!cell.intersects(clip))
                continue;
            const Cell content = cellOf_(logical);
            painter.save();
            painter.setClipRect(clip);
            painter.fillRect(cell, content.background);
            painter.setPen(palette().color(QPalette::Mid));
            painter.drawRect(cell.adjusted(0, 0, -1, -1));
            painter.setFont(content.font);
            painter.setPen(palette().color(QPalette::WindowText));
            painter.drawText(cell.adjusted(3, 0, -3, 0), content.alignment | Qt::AlignVCenter,
                             content.text);
            painter.restore();
        }
}
