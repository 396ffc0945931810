#include "GridFooter.h"

#include "table/FittedText.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

GridFooter::GridFooter(QHeaderView& titles, int frozenColumns, CellOf cellOf, int leftOffset,
                       QWidget* parent)
    : QWidget(parent), layout_(titles, frozenColumns), cellOf_(std::move(cellOf)),
      leftOffset_(leftOffset) {
    const auto repaint = [this] { update(); };
    connect(&titles, &QHeaderView::sectionResized, this, repaint);
    connect(&titles, &QHeaderView::sectionMoved, this, repaint);
    connect(&titles, &QHeaderView::geometriesChanged, this, repaint);
}

QRect GridFooter::cellRect(int logicalIndex) const {
    const GridColumnLayout::Span span = layout_.span(logicalIndex);
    return QRect(leftOffset_ + span.left, 0, span.width, height());
}

void GridFooter::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    layout_.forEachShown(
        width() - leftOffset_, [&](int logical, GridColumnLayout::Span, int clipLeft) {
            const QRect cell = cellRect(logical);
            const Cell content = cellOf_(logical);
            painter.setClipRect(QRect(leftOffset_ + clipLeft, 0, width(), height()));
            painter.fillRect(cell, content.background);
            painter.setPen(palette().color(QPalette::Mid));
            painter.drawRect(cell.adjusted(0, 0, -1, -1));
            painter.setFont(content.font);
            painter.setPen(palette().color(QPalette::WindowText));
            const QRect textRect = cell.adjusted(kCellTextMargin, 0, -kCellTextMargin, 0);
            painter.drawText(textRect, content.alignment | Qt::AlignVCenter,
                             fittedText(QFontMetrics(content.font), content.text, content.alignment,
                                        textRect.width()));
        });
}

bool GridFooter::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const int logical = layout_.logicalAt(help->pos().x() - leftOffset_);
    const QString text = logical >= 0 ? cellOf_(logical).text : QString();
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), text, this, cellRect(logical));
    return true;
}
