#include "Tfrm_crstore.h"

#include "Fonts.h"

Tfrm_crstore* frm_crstore = nullptr;

Tfrm_crstore::Tfrm_crstore(QListWidget& target, QWidget* parent)
    : WarehousePicker(target, 30, 13, parent) {
    setFont(msSansSerif(11));
}
