#pragma once

#include <QWidget>

// The widget that Tab moves the focus to from `widget`. The inner box of a composite widget
// (the edit box of a date picker) belongs to its focusable parent and is no tab stop of its own.
inline QWidget* nextTabStop(QWidget* widget) {
    const auto takesTab = [](const QWidget* w) { return (w->focusPolicy() & Qt::TabFocus) != 0; };
    do
        widget = widget->nextInFocusChain();
    while (!takesTab(widget) || (widget->parentWidget() && takesTab(widget->parentWidget())));
    return widget;
}
