#pragma once

#include "db/Connection.h"
#include "db/ResultQuery.h"
#include "forms/ItemCriteriaFields.h"
#include "forms/QueryWindowFrame.h"
#include "settings/ConnectionSettings.h"

#include <QMainWindow>
#include <QTimer>

class ContactPanel;
class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QToolButton;
class ResultGrid;

// The program's one database connection; every query of every window runs on it. A base of the
// main window, so that it outlasts the window's work.
struct ProgramConnection {
    Connection ado_conn;
};

// The main window "现存量查询": toolbar, criteria panel, result grid and status bar. It owns
// the program's one database connection, opened at start-up from the stored settings.
class Tfrm_xclquery : public QMainWindow,
                      public ProgramConnection,
                      public QueryWindowFrame,
                      public ItemCriteriaFields {
    Q_OBJECT
public:
    explicit Tfrm_xclquery(QWidget* parent = nullptr);
    ~Tfrm_xclquery() override;

    // The current-stock result, read whole into memory at each run.
    ResultQuery& ado_xclinfo;

    QToolButton* ToolButton2 = nullptr;
    QToolButton* ToolButton1 = nullptr;
    QToolButton* tbn_summary = nullptr;
    QToolButton* tbn_ageing = nullptr;
    QToolButton* tbn_help = nullptr;  // 帮助: the manual's contents
    QToolButton* tbn_about = nullptr; // 关于
    ResultGrid* dbg_xclinfo;
    // Contact fields of the criteria panel: web address, e-mail, number (the status bar has
    // the same).
    QLineEdit* Edit3 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QTimer t_action;

    void StartUpConnect();
    void Timer1Timer();
    void ToolButton2Click();
    void BitBtn1Click();
    void RunQuery() override;
    // The journal window, fresh and modal; the double click on the grid opens it as well.
    void ToolButton1Click();
    void dbg_xclinfoDblClick();
    // 查看出入库流水 (Ctrl+J, and in the grid's menu): the journal of the current row's item in
    // its warehouse, queried at once.
    QAction* act_rowJournal = nullptr;
    void ShowRowJournal();
    // 查看库存台账 (Ctrl+L, and in the grid's menu): the stock card of the current row's batch of
    // its item in its warehouse, this month.
    QAction* act_rowCard = nullptr;
    void ShowRowCard();
    // 收发存汇总: the summary window, fresh and modal.
    void ShowSummary();
    // 库龄分析: the ageing window, fresh and modal.
    void ShowAgeing();
    // The status bar names the connection the windows work on: after it changed.
    void showConnection();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* buildCriteriaPanel();
    bool shownBefore_ = false;
};

// The main window while it exists.
extern Tfrm_xclquery* frm_xclquery;
