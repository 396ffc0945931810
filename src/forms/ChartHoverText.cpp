#include "ChartHoverText.h"

#include <QChart>
#include <QCursor>
#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>

ChartHoverText::ChartHoverText(QChart* chart) : QObject(chart) {}

void ChartHoverText::watch(QChart& chart, QWidget& viewport) {
    if (auto* hover = chart.findChild<ChartHoverText*>(QString(), Qt::FindDirectChildrenOnly)) {
        hover->viewport_ = &viewport;
        viewport.installEventFilter(hover);
    }
}

void ChartHoverText::entered(const QString& text) {
    text_ = text;
    if (viewport_ && QToolTip::isVisible()) // the shown tip follows the pointer at once
        QToolTip::showText(QCursor::pos(), text_, viewport_);
}

void ChartHoverText::left(const QString& text) {
    if (text != text_)
        return; // the pointer is already on the next one
    text_.clear();
    QToolTip::hideText();
}

bool ChartHoverText::eventFilter(QObject* watched, QEvent* event) {
    if (watched != viewport_ || event->type() != QEvent::ToolTip)
        return false;
    if (text_.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), text_, viewport_);
    return true;
}
