#include "Tfrm_crstore.h"

#include "table/Fonts.h"

Tfrm_crstore* frm_crstore = nullptr;

Tfrm_crstore::Tfrm_crstore(Connection& connection, QListWidget& target, QWidget* parent)
    : WarehousePicker(connection, target, 30, parent) {
    setFont(msSansSerif(11));
}
