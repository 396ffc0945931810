#include "WindowMemory.h"

#include "grid/ResultGrid.h"
#include "settings/WindowLayouts.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <limits>

namespace {

// So much of a window on a screen that its title bar can be taken and dragged.
constexpr int kReachable = 48;

long long distanceSquared(const QRect& area, const QPoint& point) {
    const long long dx = std::max({area.left() - point.x(), 0, point.x() - area.right()});
    const long long dy = std::max({area.top() - point.y(), 0, point.y() - area.bottom()});
    return dx * dx + dy * dy;
}

} // namespace

QRect placeOnScreens(const QRect& stored, const std::vector<QRect>& screens) {
    if (screens.empty())
        return stored;
    const QRect titleBar(stored.topLeft(), QSize(stored.width(), kReachable));
    for (const QRect& screen : screens) {
        const QRect seen = screen.intersected(titleBar);
        if (seen.width() >= kReachable && seen.height() >= kReachable / 2)
            return stored;
    }
    const QRect nearest =
        *std::min_element(screens.begin(), screens.end(), [&](const QRect& a, const QRect& b) {
            return distanceSquared(a, stored.center()) < distanceSquared(b, stored.center());
        });
    QRect moved(stored.topLeft(), stored.size().boundedTo(nearest.size()));
    moved.moveLeft(std::clamp(moved.left(), nearest.left(), nearest.right() - moved.width() + 1));
    moved.moveTop(std::clamp(moved.top(), nearest.top(), nearest.bottom() - moved.height() + 1));
    return moved;
}

WindowMemory::WindowMemory(QWidget* window, std::string name, std::function<ResultGrid*()> grid)
    : QObject(window), window_(window), name_(std::move(name)), grid_(std::move(grid)) {
    window->installEventFilter(this);
}

void WindowMemory::restoreGrid(ResultGrid& grid) {
    grid.restoreColumnLayout(readGridColumns(grid.objectName().toStdString()));
}

void WindowMemory::rememberGrid(const ResultGrid& grid) {
    writeGridColumns(grid.objectName().toStdString(), grid.columnLayout());
}

bool WindowMemory::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_) {
        if (event->type() == QEvent::Show && !shown_) {
            shown_ = true;
            restorePlace();
        } else if (event->type() == QEvent::Close) {
            rememberPlace();
            if (ResultGrid* grid = grid_())
                rememberGrid(*grid);
        }
    }
    return QObject::eventFilter(watched, event);
}

void WindowMemory::restorePlace() {
    const auto stored = readWindowPlace(name_);
    if (!stored)
        return;
    std::vector<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.push_back(screen->availableGeometry());
    // Placed at the size it will have: not below the window's smallest, its layout's included.
    const QSize size = QSize(stored->width, stored->height)
                           .expandedTo(window_->minimumSize())
                           .expandedTo(window_->minimumSizeHint());
    window_->setGeometry(placeOnScreens(QRect(QPoint(stored->x, stored->y), size), screens));
    if (stored->maximised)
        window_->setWindowState(window_->windowState() | Qt::WindowMaximized);
    else
        window_->setWindowState(window_->windowState() & ~Qt::WindowMaximized);
}

void WindowMemory::rememberPlace() const {
    const QRect normal = window_->isMaximized() ? window_->normalGeometry() : window_->geometry();
    writeWindowPlace(
        name_, {normal.x(), normal.y(), normal.width(), normal.height(), window_->isMaximized()});
}
