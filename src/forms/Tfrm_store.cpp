#include "Tfrm_store.h"

#include "table/Fonts.h"

#include <QCheckBox>
#include <QFrame>
#include <QListWidget>

Tfrm_store* frm_store = nullptr;

Tfrm_store::Tfrm_store(Connection& connection, QListWidget& target, QWidget* parent)
    : WarehousePicker(connection, target, 33, parent) {
    setFont(songTi(14));
    cb_checked = new QCheckBox("全选", Panel1);
    cb_checked->setGeometry(96, 8, 57, 17);
    cb_cancel = new QCheckBox("全消", Panel1);
    cb_cancel->setGeometry(176, 8, 57, 17);
    connect(cb_checked, &QCheckBox::clicked, this, &Tfrm_store::cb_checkedClick);
    connect(cb_cancel, &QCheckBox::clicked, this, &Tfrm_store::cb_cancelClick);
}

void Tfrm_store::afterFill() {
    // Each chosen line checks the first item with exactly its text; a line whose warehouse
    // was renamed or deleted since finds none and is dropped at the next OK.
    for (int line = 0; line < target_.count(); ++line) {
        const QString text = target_.item(line)->text();
        for (int i = 0; i < clb_store->count(); ++i)
            if (clb_store->item(i)->text() == text) {
                clb_store->item(i)->setCheckState(Qt::Checked);
                break;
            }
    }
}

void Tfrm_store::checkAll(Qt::CheckState state) {
    for (int i = 0; i < clb_store->count(); ++i)
        clb_store->item(i)->setCheckState(state);
}

void Tfrm_store::cb_checkedClick() {
    if (cb_checked->isChecked())
        checkAll(Qt::Checked);
}

void Tfrm_store::cb_cancelClick() {
    if (cb_cancel->isChecked())
        checkAll(Qt::Unchecked);
}
