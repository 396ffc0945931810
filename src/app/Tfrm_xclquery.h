#pragma once

#include "db/Connection.h"
#include "db/ResultQuery.h"
#include "forms/WindowWork.h"
#include "settings/ConnectionSettings.h"
#include "table/Warehouses.h"

#include <QMainWindow>
#include <QTimer>

#include <memory>
#include <string>
#include <vector>

class ContactPanel;
class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QToolButton;
class ResultGrid;

// The main window "现存量查询": toolbar, criteria panel, result grid and status bar. It owns
// the program's one database connection, opened at start-up from the stored settings.
class Tfrm_xclquery : public QMainWindow {
    Q_OBJECT
public:
    explicit Tfrm_xclquery(QWidget* parent = nullptr);
    ~Tfrm_xclquery() override;

    // The one connection; every query of every window runs on it.
    Connection ado_conn;
    // The current-stock result, read whole into memory at each run.
    ResultQuery ado_xclinfo;

    QToolButton* tbn_query = nullptr;
    QToolButton* ToolButton8 = nullptr;
    QToolButton* tbn_print = nullptr;
    QToolButton* tbn_chart = nullptr; // none in a build without charts
    QToolButton* ToolButton2 = nullptr;
    QToolButton* ToolButton1 = nullptr;
    QToolButton* tb_exit = nullptr;
    QLabel* Panel4 = nullptr;
    // The progress of running work and its 取消 button, in the status bar.
    QLabel* workStatus = nullptr;
    QPushButton* btn_cancel = nullptr;
    // Criteria: the chosen warehouses and four item boxes.
    QPushButton* BitBtn1 = nullptr;
    QListWidget* lbb_store = nullptr;
    QLineEdit* edt_code = nullptr;
    QLineEdit* edt_no = nullptr;
    QLineEdit* edt_spec = nullptr;
    QLineEdit* edt_name = nullptr;
    ResultGrid* dbg_xclinfo = nullptr;
    // Contact fields: upper panel web address, e-mail, number; lower panel the same.
    QLineEdit* Edit3 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QLineEdit* Edit5 = nullptr;
    QLineEdit* Edit6 = nullptr;
    QTimer t_action;

    // The window's long work (connecting, a query, an export), one at a time off the
    // interface thread.
    WindowWork& work() { return *work_; }

    void StartUpConnect();
    void Timer1Timer();
    void ToolButton2Click();
    void ToolButton8Click();
    void PrintGrid();
    void ShowCharts();
    void BitBtn1Click();
    void RunQuery();
    void dbg_xclinfoTitleClick(int column);
    // The journal window, fresh and modal; the double click on the grid opens it as well.
    void ToolButton1Click();
    void dbg_xclinfoDblClick();
    // 查看出入库流水 (Ctrl+J, and in the grid's menu): the journal of the current row's item in
    // its warehouse, queried at once.
    QAction* act_rowJournal = nullptr;
    void ShowRowJournal();
    // The status bar names the connection the windows work on: after it changed.
    void showConnection();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* buildToolbar();
    QWidget* buildCriteriaPanel();
    QWidget* buildGrid();
    QWidget* buildStatusBar();
    void LoadDBLinkInfo();
    // The warehouses a row named `name` may lie in, out of `all`: those of that name that the
    // last query covered; where more than one remains the user picks among them (none: the
    // picker was closed).
    std::vector<Warehouse> rowWarehouses(const std::vector<Warehouse>& all, const QString& name);

    // The stored values as read at start-up; only the start-up connection uses them.
    ConnectionSettings settings_;
    bool shownBefore_ = false;
    // The warehouse codes of the query whose rows are shown; none: every warehouse.
    std::vector<std::string> queriedWarehouses_;
    // Declared after the connection and the query, so that it stops its work before they go.
    std::unique_ptr<WindowWork> work_;
};

// The main window while it exists.
extern Tfrm_xclquery* frm_xclquery;
