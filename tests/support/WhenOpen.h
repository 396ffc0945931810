#pragma once

#include <QApplication>
#include <QTimer>
#include <QtTest>

#include "support/Patience.h"

#include <functional>

// Runs `answer` on the first visible top-level dialog of type T once it is open (a modal
// dialog runs its own loop, so the test answers from a timer), closing a modal one that the
// answer left open; false when none opened while a test waits for an event.
template <typename T>
bool whenOpen(const std::function<void()>& start, const std::function<void(T&)>& answer) {
    bool answered = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* widget = qobject_cast<T*>(top); widget && widget->isVisible() && !answered) {
                answered = true;
                answer(*widget);
                if (widget->isModal() && widget->isVisible())
                    widget->reject(); // an answer cut short by a failed check
            }
    });
    poll.start(10);
    start();
    return QTest::qWaitFor([&] { return answered; }, kEventWait);
}
