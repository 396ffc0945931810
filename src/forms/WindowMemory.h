#pragma once

#include <QObject>
#include <QRect>

#include <functional>
#include <string>
#include <vector>

class QWidget;
class ResultGrid;

// Where a window stored at `stored` shows now: there when enough of it lies on a screen to be
// taken by its title bar, else moved (and shrunk if need be) onto the screen whose available
// area lies nearest (a monitor was removed since).
QRect placeOnScreens(const QRect& stored, const std::vector<QRect>& screens);

// Keeps a window as its user left it: its place, size and maximised state stored under `name`
// when it closes and put back when it is first shown, and its grid's columns (the grid that
// `grid` gives at that moment) stored under the grid's name.
class WindowMemory : public QObject {
    Q_OBJECT
public:
    WindowMemory(QWidget* window, std::string name, std::function<ResultGrid*()> grid);

    // The grid's columns as stored, put back; stored again by `rememberGrid`.
    static void restoreGrid(ResultGrid& grid);
    static void rememberGrid(const ResultGrid& grid);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void restorePlace();
    void rememberPlace() const;

    QWidget* window_;
    std::string name_;
    std::function<ResultGrid*()> grid_;
    bool shown_ = false;
};
