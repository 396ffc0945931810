#pragma once

#include "forms/QueryDialog.h"
#include "ledger/PeriodSummaryStatement.h"

class Connection;
class QAction;
class QCheckBox;
class QDateEdit;

// The window "收发存汇总": per warehouse and item (or batch), the balance at the start of a
// period, its receipts and issues and the balance at its end, filtered by warehouses and item.
// Opened modally from the main window, fresh each time.
class Tfrm_summary : public QueryDialog {
    Q_OBJECT
public:
    explicit Tfrm_summary(Connection& connection, QWidget* parent = nullptr);

    QDateEdit* dates = nullptr;
    QDateEdit* datee = nullptr;
    QCheckBox* chk_batch = nullptr;
    // 查看库存台账 (Ctrl+L, and in the grid's menu): the stock card of the current row's item in
    // its warehouse (and batch) over the period shown.
    QAction* act_rowCard = nullptr;

    void BitBtn1Click();
    void RunQuery() override;
    void ShowRowCard();

private:
    // On showing: the default period (this month up to today).
    void showDefaults() override;
    QWidget* buildCriteriaPanel();

    // Whether the grid has the columns of rows per batch.
    bool rowsPerBatch_ = false;
    // What the rows shown were asked, for the stock card of one of them.
    PeriodSummaryCriteria shown_;
};

// The summary window while it is open.
extern Tfrm_summary* frm_summary;
