#pragma once

#include "db/ResultQuery.h"
#include "forms/PlainKeysDialog.h"
#include "forms/WindowWork.h"
#include "table/Warehouses.h"

#include <memory>

class Connection;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QToolButton;
class ResultGrid;

// The journal window "出入库流水帐": the receipt and issue document lines booked between two
// dates, filtered by warehouses, item, flag, source, production order and document number.
// Opened modally from the main window, fresh each time; nothing of it outlives its closing.
class Tfrm_crquery : public PlainKeysDialog {
    Q_OBJECT
public:
    // The result query runs on the main window's connection.
    explicit Tfrm_crquery(Connection& connection, QWidget* parent = nullptr);

    ResultQuery ado_crinfo;

    QToolButton* tbn_query = nullptr;
    QToolButton* ToolButton8 = nullptr;
    QToolButton* tbn_print = nullptr;
    QToolButton* tbn_chart = nullptr; // none in a build without charts
    QToolButton* tb_exit = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QListWidget* lbb_store = nullptr;
    QLineEdit* edt_code = nullptr;
    QLineEdit* edt_no = nullptr;
    QLineEdit* edt_spec = nullptr;
    QDateEdit* dates = nullptr;
    QDateEdit* datee = nullptr;
    QComboBox* cbb_sfflag = nullptr;
    QComboBox* cbb_ordersource = nullptr;
    QLineEdit* edt_orderno = nullptr;
    QLineEdit* edt_name = nullptr;
    QLineEdit* edt_djno = nullptr;
    ResultGrid* dbg_crinfo = nullptr;
    QLabel* Panel4 = nullptr;
    // The progress of running work and its 取消 button, in the status bar.
    QLabel* workStatus = nullptr;
    QPushButton* btn_cancel = nullptr;
    QLineEdit* Edit4 = nullptr;
    QLineEdit* Edit5 = nullptr;
    QLineEdit* Edit6 = nullptr;

    // On showing: the default dates, and the status bar names the connection.
    void FormShow();
    void BitBtn1Click();
    void ToolButton8Click();
    void PrintGrid();
    void ShowCharts();
    void RunQuery();
    void dbg_crinfoTitleClick(int column);
    // Opened from a current-stock row: the item's code and its warehouses as criteria, the
    // default dates, and the query run as soon as the window shows.
    void QueryFor(const QString& itemCode, const std::vector<Warehouse>& warehouses);

    // The window's long work (a query, an export), one at a time off the interface thread.
    WindowWork& work() { return *work_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildToolbar();
    QWidget* buildCriteriaPanel();
    QWidget* buildStatusBar();

    // Declared after the query, so that it stops its work before the query goes.
    std::unique_ptr<WindowWork> work_;
};

// The journal window while it is open.
extern Tfrm_crquery* frm_crquery;
