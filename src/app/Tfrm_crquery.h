#pragma once

#include "db/ResultQuery.h"
#include "forms/QueryDialog.h"
#include "table/Warehouses.h"

class Connection;
class QComboBox;
class QDateEdit;
class QLineEdit;
class ResultGrid;

// The journal window "出入库流水帐": the receipt and issue document lines booked between two
// dates, filtered by warehouses, item, flag, source, production order and document number.
// Opened modally from the main window, fresh each time; nothing of it outlives its closing.
class Tfrm_crquery : public QueryDialog {
    Q_OBJECT
public:
    explicit Tfrm_crquery(Connection& connection, QWidget* parent = nullptr);

    ResultQuery& ado_crinfo;

    QDateEdit* dates = nullptr;
    QDateEdit* datee = nullptr;
    QComboBox* cbb_sfflag = nullptr;
    QComboBox* cbb_ordersource = nullptr;
    QLineEdit* edt_orderno = nullptr;
    QLineEdit* edt_djno = nullptr;
    ResultGrid* dbg_crinfo;

    void BitBtn1Click();
    void RunQuery() override;
    // Opened from a current-stock row: the item's code and its warehouses as criteria, the
    // default dates, and the query run as soon as the window shows.
    void QueryFor(const QString& itemCode, const std::vector<Warehouse>& warehouses);

private:
    // On showing: the default dates.
    void showDefaults() override;
    QWidget* buildCriteriaPanel();
};

// The journal window while it is open.
extern Tfrm_crquery* frm_crquery;
