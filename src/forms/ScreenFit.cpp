#include "ScreenFit.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace {

// Until the window manager has framed a new window, its frame is taken to be as wide as that
// of a window already shown, or a title bar's height.
QMargins frameOf(const QWidget& window) {
    if (window.windowHandle() && !window.windowHandle()->frameMargins().isNull())
        return window.windowHandle()->frameMargins();
    for (const QWidget* other : QApplication::topLevelWidgets())
        if (other != &window && other->isVisible() && other->windowHandle() &&
            !other->windowHandle()->frameMargins().isNull())
            return other->windowHandle()->frameMargins();
    return {0, 30, 0, 0};
}

void fit(QWidget& window) {
    if (window.isMaximized() || window.isFullScreen() || !window.screen())
        return;
    const QRect fitted =
        fittedInto(window.geometry(), frameOf(window), window.screen()->availableGeometry());
    if (fitted != window.geometry())
        window.setGeometry(fitted);
}

class ScreenFit : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* window = qobject_cast<QWidget*>(watched);
        if (event->type() != QEvent::Show || !window || !window->isWindow())
            return false;
        const Qt::WindowType type = window->windowType();
        if (type != Qt::Window && type != Qt::Dialog)
            return false; // menus, tooltips, pop-ups place themselves
        // After the window's own showing has placed it (a dialog over its parent, a window
        // where it was left), and again once the window manager has framed it.
        QPointer<QWidget> shown(window);
        QTimer::singleShot(0, window, [shown] {
            if (shown)
                fit(*shown);
        });
        QTimer::singleShot(250, window, [shown] {
            if (shown && shown->isVisible())
                fit(*shown);
        });
        return false;
    }
};

} // namespace

QRect fittedInto(const QRect& geometry, const QMargins& frame, const QRect& area) {
    const QRect inside = area.marginsRemoved(frame);
    QRect fitted(geometry.topLeft(), geometry.size().boundedTo(inside.size()));
    fitted.moveLeft(std::clamp(fitted.left(), inside.left(), inside.right() - fitted.width() + 1));
    fitted.moveTop(std::clamp(fitted.top(), inside.top(), inside.bottom() - fitted.height() + 1));
    return fitted;
}

void keepWindowsOnScreen() {
    static ScreenFit* installed = nullptr;
    if (installed || !qApp)
        return;
    installed = new ScreenFit(qApp);
    qApp->installEventFilter(installed);
}
