#pragma once

#include "WarehousePicker.h"

// The journal window's warehouse picker: every showing starts with nothing checked.
class Tfrm_crstore : public WarehousePicker {
    Q_OBJECT
public:
    // `target` is the journal window's warehouse list.
    explicit Tfrm_crstore(QListWidget& target, QWidget* parent = nullptr);
};

// The journal picker while it is open.
extern Tfrm_crstore* frm_crstore;
