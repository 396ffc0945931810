#pragma once

#include <QString>

#include <functional>
#include <string>
#include <vector>

class QAction;
class QFrame;
class QKeySequence;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class QWidget;
class ResultGrid;
class ResultQuery;
class WindowWork;

// What both query windows have around their criteria and grid, written once.

// One of a window's own tool buttons, between 输出 and 退出.
struct ToolButtonSpec {
    const char* name;
    QString caption;
    int picture;
    std::function<void()> click;
};

// What the tool band's common buttons do.
struct QueryCommands {
    std::function<void()> run;
    std::function<void()> exportGrid;
    std::function<void()> print;
    std::function<void()> chart; // none: no 图表 button
};

// The tool band: 查询 runs `run`, 输出 `exportGrid`, 打印 `print`, 图表 `chart`, then the
// window's own buttons, and 退出 closes `window`.
struct QueryToolBand {
    QueryToolBand(QWidget* window, const QueryCommands& commands,
                  const std::vector<ToolButtonSpec>& own = {});
    QFrame* band;
    QToolButton* query;
    QToolButton* output;
    QToolButton* print;
    QToolButton* chart = nullptr;
    std::vector<QToolButton*> own;
    QToolButton* exit;
};

// The status bar: the record count at the left, `countText` until the first run, the progress
// of running work and its 取消 button, and the contact fields side by side; the window's
// names for them are filled in.
struct StatusBarFields {
    QLabel*& count;
    QLabel*& workStatus;
    QPushButton*& cancel;
    QLineEdit*& web;
    QLineEdit*& email;
    QLineEdit*& qq;
};
QFrame* queryStatusBar(QWidget* window, int height, const QString& countText, int contactPixels,
                       const StatusBarFields& fields);

// Runs `statement` into `grid`, reading the rows on a worker thread as `work`; nothing while
// other work runs, and while the connection is closed a prompt that says so. The grid shows
// no rows at once; on success the record count goes into `count`; a failure is `failure` in a
// prompt over `window`, the count staying as it was; a cancel leaves `count` without a number
// and says "查询已取消" until the next work.
// `criteria` describes the statement's criteria for printed pages. False when it did not
// start.
bool runIntoGrid(WindowWork& work, QWidget* window, ResultGrid& grid, QLabel& count,
                 const std::vector<std::string>& statement, const std::string& criteria,
                 const QString& failure);

// The record count as the status bar shows it: "记录数为：N", and while a filter is in force
// "记录数为：1,234（共 30,000）".
QString recordCountText(const ResultQuery& query);

// Empties `grid`, its sums and the record count in `count`, as before the first query.
void clearResult(ResultGrid& grid, QLabel& count);

// Has `grid` sort and copy as `work`, off the interface thread, the status bar reading
// "正在排序……" or "正在复制……" meanwhile; nothing while other work runs. A failure other
// than a cancel says "排序未完成" or "复制未完成" there.
void runGridWorkAs(WindowWork& work, ResultGrid& grid);

// An entry of the grid's context menu that runs `run`, also from anywhere in the window by
// `key`.
QAction* addGridMenuEntry(QWidget* window, ResultGrid& grid, const QString& caption,
                          const std::function<void()>& run, const QKeySequence& key);

// Whether work that reads `grid`'s result (`doing`: 打印, 画图表) can start: not while other work
// runs, nor before anything was queried, which a prompt over `window` says.
bool resultReadyFor(WindowWork& work, QWidget* window, const ResultGrid& grid,
                    const QString& doing);
