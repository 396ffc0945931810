#pragma once

#include "ItemCriteriaFields.h"
#include "PlainKeysDialog.h"
#include "QueryWindowFrame.h"

#include <initializer_list>

// A query window opened over the main window that asks by warehouses and item, on the frame
// every query window shares. Each time the program shows it, FormShow puts the defaults a fresh
// window starts with in place (dates, stored choices) and names the connection in the status
// bar; a show of the window manager's (from minimised) changes nothing.
class QueryDialog : public PlainKeysDialog, public QueryWindowFrame, public ItemCriteriaFields {
public:
    // The result query runs on the main window's connection.
    QueryDialog(Connection& connection, const QueryShape& shape, QueryResultUse use,
                QWidget* parent);

    void FormShow();

protected:
    // The window's own defaults.
    virtual void showDefaults() = 0;
    void showEvent(QShowEvent* event) override;
    // `boxes` run the query on Enter; the warehouse list hands on to the item code's box.
    void runQueryOnEnterIn(std::initializer_list<QLineEdit*> boxes);

    Connection& connection_;
};
