#pragma once

#include "PlainKeysDialog.h"

// A query window opened over the main window. Each time the program shows it, FormShow puts
// the defaults a fresh window starts with in place (dates, stored choices, the connection's
// name); a show of the window manager's (from minimised) changes nothing.
class QueryDialog : public PlainKeysDialog {
public:
    using PlainKeysDialog::PlainKeysDialog;
    virtual void FormShow() = 0;

protected:
    void showEvent(QShowEvent* event) override;
};
