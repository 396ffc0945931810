#pragma once

#include "WarehousePicker.h"

// The journal window's warehouse picker: every showing starts with nothing checked.
class Tfrm_crstore : public WarehousePicker {
    Q_OBJECT
public:
    // `target` is the journal window's warehouse list.
    Tfrm_crstore(Connection& connection, QListWidget& target, QWidget* parent = nullptr);
};

// The journal picker while it is open.
extern Tfrm_crstore* frm_crstore;
