#pragma once

#include "QueryFrame.h"
#include "WindowWork.h"
#include "table/ChartFigures.h"

#include <QList>
#include <QSize>
#include <QString>

#include <memory>
#include <string>
#include <vector>

// Besides the classes QueryFrame.h declares:
class Connection;
class QBoxLayout;
struct QueryShape;

// How a query window looks around its criteria: its size, its own tool buttons (between 图表
// and 退出), and its status bar's height, record-count text before the first run and contact
// font size.
struct QueryWindowLook {
    QSize size;
    std::vector<ToolButtonSpec> ownButtons;
    int statusBarHeight;
    QString countText;
    int contactPixels;
};

// What a query window does with its result: the failure a query run reports, the start of an
// exported file's name and the failure an export reports, and the charts of 图表.
struct QueryResultUse {
    QString queryFailure;
    QString exportPrefix;
    QString exportFailure;
    std::vector<ChartRequest> charts;
};

// Everything a query window is besides its query definition and criteria panel: the tool band
// (查询, 输出, 打印, 图表, the window's own buttons, 退出), the result grid over the window's
// result query with its title-click sort and context menu, the status bar, and the window's
// one piece of background work. A window derives from its widget base first and from this
// second, builds its criteria panel, and hands both to `buildFrame`.
class QueryWindowFrame {
public:
    QToolButton* tbn_query = nullptr;
    QToolButton* ToolButton8 = nullptr;
    QToolButton* tbn_print = nullptr;
    QToolButton* tbn_chart = nullptr; // none in a build without charts
    std::vector<QToolButton*> ownButtons;
    QToolButton* tb_exit = nullptr;
    // The record count, the progress of running work and its 取消 button, and the contact
    // fields side by side, in the status bar.
    QLabel* Panel4 = nullptr;
    QLabel* workStatus = nullptr;
    QPushButton* btn_cancel = nullptr;
    QLineEdit* Edit4 = nullptr;
    QLineEdit* Edit5 = nullptr;
    QLineEdit* Edit6 = nullptr;

    // The window's long work (a query, an export, a sort), one at a time off the interface
    // thread.
    WindowWork& work() { return *work_; }
    ResultQuery& resultQuery() { return *query_; }
    ResultGrid* grid() const { return grid_; }

    // 查询: the window's criteria into its statement, run into the grid.
    virtual void RunQuery() = 0;
    // 输出, 打印 and 图表 of the result shown.
    void ToolButton8Click();
    void PrintGrid();
    void ShowCharts();

    QueryWindowFrame(const QueryWindowFrame&) = delete;
    QueryWindowFrame& operator=(const QueryWindowFrame&) = delete;

protected:
    // The result query runs on `connection`; its fields and the grid's columns are `shape`'s.
    QueryWindowFrame(QWidget* window, Connection& connection, const QueryShape& shape,
                     QueryResultUse use);
    // Stops running work before the query it may read goes.
    virtual ~QueryWindowFrame();

    // Lays the tool band, `criteria`, the grid and the status bar out top to bottom in
    // `client` (the window itself, or a main window's central widget). `blocked` are the
    // window's own controls that would start other work while work runs.
    void buildFrame(QWidget* client, const QueryWindowLook& look, QWidget* criteria,
                    QList<QWidget*> blocked = {});
    // Runs `statement` into the grid; `criteria` as printed pages head it. False when it did
    // not start.
    bool runStatement(const std::vector<std::string>& statement, const std::string& criteria);
    // An entry of the grid's context menu, also from anywhere in the window by `key`.
    QAction* addMenuEntry(const QString& caption, const std::function<void()>& run,
                          const QKeySequence& key);
    // Another shape for the rows to come (the summary per batch or per item): a new empty
    // query and grid in the old grid's place; not while work runs.
    void changeShape(const QueryShape& shape);
    // The charts of 图表, for the result about to be charted.
    QueryResultUse& resultUse() { return use_; }

private:
    void buildGrid(const QueryShape& shape);

    QWidget* window_;
    QueryResultUse use_;
    QBoxLayout* layout_ = nullptr;
    std::unique_ptr<ResultQuery> query_;
    ResultGrid* grid_ = nullptr;
    // The grid's menu entries, given again to a grid of another shape.
    QList<QAction*> menuEntries_;
    std::unique_ptr<WindowWork> work_;
};
