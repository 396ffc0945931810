#pragma once

#include "WarehousePicker.h"

class QCheckBox;

// The current-stock window's warehouse picker: the warehouses already chosen start checked,
// and "全选" and "全消" check or uncheck every item.
class Tfrm_store : public WarehousePicker {
    Q_OBJECT
public:
    // `target` is the current-stock window's warehouse list.
    Tfrm_store(Connection& connection, QListWidget& target, QWidget* parent = nullptr);

    QCheckBox* cb_checked;
    QCheckBox* cb_cancel;

    void cb_checkedClick();
    void cb_cancelClick();

protected:
    void afterFill() override;

private:
    void checkAll(Qt::CheckState state);
};

// The current-stock picker while it is open.
extern Tfrm_store* frm_store;
