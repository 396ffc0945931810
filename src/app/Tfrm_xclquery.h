#pragma once

#include "connection/Connection.h"
#include "connection/ConnectionSettings.h"

#include <QMainWindow>
#include <QTimer>

class ContactPanel;
class QLabel;
class QLineEdit;
class QToolButton;

// The main window "现存量查询": toolbar, criteria panel, result grid and status bar. It owns
// the program's one database connection, opened at start-up from the stored settings.
class Tfrm_xclquery : public QMainWindow {
    Q_OBJECT
public:
    explicit Tfrm_xclquery(QWidget* parent = nullptr);
    ~Tfrm_xclquery() override;

    // The one connection; every query of every window runs on it.
    Connection ado_conn;

    QToolButton* tbn_query = nullptr;
    QToolButton* ToolButton8 = nullptr;
    QToolButton* ToolButton2 = nullptr;
    QToolButton* ToolButton1 = nullptr;
    QToolButton* tb_exit = nullptr;
    QLabel* Panel4 = nullptr;
    // Contact fields: upper panel web address, e-mail, number; lower panel the same.
    QLineEdit* Edit3 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QLineEdit* Edit5 = nullptr;
    QLineEdit* Edit6 = nullptr;
    QTimer t_action;

    void StartUpConnect();
    void Timer1Timer();
    void ToolButton2Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildToolbar();
    QWidget* buildCriteriaPanel();
    QWidget* buildStatusBar();
    void LoadDBLinkInfo();

    // The stored values as read at start-up; only the start-up connection uses them.
    ConnectionSettings settings_;
    bool shownBefore_ = false;
};

// The main window while it exists.
extern Tfrm_xclquery* frm_xclquery;
