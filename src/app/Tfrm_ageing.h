#pragma once

#include "forms/QueryDialog.h"
#include "ledger/AgeingStatement.h"

class Connection;
class QAction;
class QCheckBox;
class QDateEdit;
class QLineEdit;

// The window "库龄分析": per warehouse and item (or batch), the balance at the end of an
// as-of day spread over age bands first in, first out, with the last receipt and issue and the
// days since the stock last moved; filtered by warehouses and item. Opened modally from the
// main window, fresh each time; the bands last run with are kept with the stored settings.
class Tfrm_ageing : public QueryDialog {
    Q_OBJECT
public:
    explicit Tfrm_ageing(Connection& connection, QWidget* parent = nullptr);

    QDateEdit* date_asof = nullptr;
    QCheckBox* chk_batch = nullptr;
    QLineEdit* edt_bands = nullptr;
    // 查看出入库流水 (Ctrl+J) and 查看库存台账 (Ctrl+L), also in the grid's menu: the journal and
    // the stock card of the current row's item in its warehouse.
    QAction* act_rowJournal = nullptr;
    QAction* act_rowCard = nullptr;

    void BitBtn1Click();
    void RunQuery() override;
    void ShowRowJournal();
    void ShowRowCard();

private:
    // On showing: today as the as-of day, the stored bands.
    void showDefaults() override;
    QWidget* buildCriteriaPanel();
    // The shown row's cell of `field`, as text.
    QString rowCell(int row, const char* field) const;

    // The bands and batches the grid has the columns of.
    AgeingBands shownBands_ = kDefaultAgeingBands;
    bool rowsPerBatch_ = false;
    // What the rows shown were asked, for the journal and card of one of them.
    AgeingCriteria shown_;
};

// The ageing window while it is open.
extern Tfrm_ageing* frm_ageing;
