#include "ChartHoverText.h"

#include <QApplication>
#include <QChart>
#include <QCursor>
#include <QGraphicsView>
#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>
#include <QWindow>

ChartHoverText::ChartHoverText(QChart* chart, TextAt textAt)
    : QObject(chart), chart_(chart), textAt_(std::move(textAt)) {}

void ChartHoverText::watch(QChart& chart, QWidget& viewport) {
    if (auto* hover = chart.findChild<ChartHoverText*>(QString(), Qt::FindDirectChildrenOnly)) {
        hover->viewport_ = &viewport;
        viewport.installEventFilter(hover);
    }
}

void ChartHoverText::entered(const QString& text) {
    text_ = text;
    if (viewport_ && QToolTip::isVisible())
        show(QCursor::pos(), text_);
}

void ChartHoverText::left(const QString& text) {
    if (text != text_)
        return; // the pointer is already on the next one
    text_.clear();
    QToolTip::hideText();
}

void ChartHoverText::show(QPoint global, const QString& text) {
    if (text.isEmpty()) {
        QToolTip::hideText();
        return;
    }
    QToolTip::showText(global, text, viewport_);
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->objectName() == "qtooltip_label" && window->windowHandle())
            window->windowHandle()->setFlag(Qt::WindowTransparentForInput);
}

bool ChartHoverText::eventFilter(QObject* watched, QEvent* event) {
    if (watched != viewport_ || event->type() != QEvent::ToolTip)
        return false;
    const auto* help = static_cast<QHelpEvent*>(event);
    if (textAt_) {
        const auto* view = static_cast<QGraphicsView*>(viewport_->parentWidget());
        text_ = textAt_(chart_->mapFromScene(view->mapToScene(help->pos())));
    }
    show(help->globalPos(), text_);
    return true;
}
