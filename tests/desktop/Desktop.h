#pragma once

#include <QApplication>
#include <QCursor>
#include <QProcess>
#include <QScreen>
#include <QToolTip>
#include <QWidget>
#include <QtTest>

#include "support/Patience.h"

// A person's hand on the desktop the tests run on (tests/desktop/on-desktop.sh): the pointer
// moved on the X server, buttons and keys pressed through it (xdotool's XTEST), and what shows
// read back as the person sees it.
namespace desktop {

// Runs xdotool with `arguments`, the events reaching whichever window the X server gives them.
inline void xdotool(const QStringList& arguments) {
    QCOMPARE(QProcess::execute("xdotool", arguments), 0);
}

// Moves the pointer to `global` as a hand does, through the places between, and lets the
// window see it arrive.
inline void movePointer(QPoint global) {
    const QPoint from = QCursor::pos();
    const int steps = std::max(1, (global - from).manhattanLength() / 12);
    for (int step = 1; step <= steps; ++step) {
        QCursor::setPos(from + (global - from) * step / steps);
        QTest::qWait(4);
    }
    QVERIFY(QTest::qWaitFor([&] { return QCursor::pos() == global; }, kEventWait));
    QTest::qWait(30);
}

// The pointer on `local` of `widget`, then a press and release of its left button. Aimed again
// until the widget is what lies under the pointer, as a person's eye aims: on a busy machine the
// window manager may still be placing a window, or one that just closed may still be shown,
// when the test first aims.
inline void click(QWidget& widget, QPoint local) {
    const auto underPointer = [&] {
        QWidget* under = QApplication::widgetAt(QCursor::pos());
        return under == &widget || widget.isAncestorOf(under);
    };
    movePointer(widget.mapToGlobal(local));
    QVERIFY(QTest::qWaitFor(
        [&] {
            movePointer(widget.mapToGlobal(local));
            return underPointer();
        },
        kEventWait));
    xdotool({"click", "1"});
    QTest::qWait(50);
}

inline void click(QWidget& widget) {
    click(widget, widget.rect().center());
}

// Whether the X server gives the keys to the window Qt calls active: on a busy machine the
// window manager may not yet have passed them on when Qt already does.
inline bool keysGoToTheActiveWindow() {
    const QWidget* active = QApplication::activeWindow();
    if (!active)
        return false;
    QProcess focus;
    focus.start("xdotool", {"getwindowfocus"});
    focus.waitForFinished();
    return focus.readAllStandardOutput().trimmed().toULongLong() == active->winId();
}

// Waits until keys pressed now reach the active window (or the popup open over it, which holds
// the keyboard).
inline void waitForTheKeyboard() {
    if (!QApplication::activePopupWidget())
        QVERIFY(QTest::qWaitFor(keysGoToTheActiveWindow, kEventWait));
}

// Keys as xdotool names them ("Return", "ctrl+f"), pressed on the active window.
inline void press(const QString& keys) {
    waitForTheKeyboard();
    xdotool({"key", "--delay", "30", keys});
    QTest::qWait(50);
}

// Text typed on the active window.
inline void type(const QString& text) {
    waitForTheKeyboard();
    xdotool({"type", "--delay", "30", text});
    QTest::qWait(50);
}

// Brings `window` up and to the front with the keyboard's focus.
inline bool raised(QWidget& window) {
    window.show();
    window.raise();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window, kEventWait);
}

// Whether the whole of `window`, its frame included, lies on the screen it opened on.
inline bool withinItsScreen(const QWidget& window) {
    const QRect screen = window.screen()->availableGeometry();
    return screen.contains(window.frameGeometry());
}

} // namespace desktop
