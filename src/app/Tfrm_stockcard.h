#pragma once

#include "forms/PlainKeysDialog.h"
#include "forms/QueryWindowFrame.h"
#include "ledger/StockCardStatement.h"

class Connection;
class ResultTableModel;
class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;

// The window "库存台账": one item in one warehouse (or one batch of it) over a period, line by
// line with the balance after each line, between its opening and closing balance. Opened
// modally from a current-stock or summary row, fresh each time.
class Tfrm_stockcard : public PlainKeysDialog, public QueryWindowFrame {
    Q_OBJECT
public:
    // The result query runs on the main window's connection.
    explicit Tfrm_stockcard(Connection& connection, QWidget* parent = nullptr);

    QLineEdit* edt_whcode = nullptr;
    QLineEdit* edt_code = nullptr;
    QLineEdit* edt_batch = nullptr;
    QCheckBox* chk_batch = nullptr;
    QDateEdit* dates = nullptr;
    QDateEdit* datee = nullptr;
    // Names the item and warehouse the card was opened for, until either code is changed, and
    // the batch of the card shown when it is of one.
    QLabel* lbl_subject = nullptr;

    void RunQuery() override;
    // The card `criteria` ask, `subject` naming its item and warehouse; queried as soon as the
    // window shows.
    void QueryFor(const StockCardCriteria& criteria, const QString& subject);

private:
    QWidget* buildCriteriaPanel();
    QString subject_; // the item and warehouse the card was opened for
};

// The card window while it is open.
extern Tfrm_stockcard* frm_stockcard;

// Opens the stock card of `criteria` over `parent`, modally, `subject` naming what it is of.
void showStockCard(Connection& connection, const StockCardCriteria& criteria,
                   const QString& subject, QWidget* parent);
// What a card says it is of: "存货：code name　仓库：code name".
QString stockCardSubject(const QString& itemCode, const QString& itemName,
                         const QString& warehouseCode, const QString& warehouse);
// The card of a row of a grid that shows 仓库编码, 仓库, 存货编码, 存货名称 (and 批号 when
// `byBatch`: the card of that batch) from day `from` to day `to`.
void showRowStockCard(Connection& connection, const ResultTableModel& table, int row, bool byBatch,
                      const std::string& from, const std::string& to, QWidget* parent);
