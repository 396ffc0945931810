#include "QueryDialog.h"

#include <QShowEvent>

void QueryDialog::showEvent(QShowEvent* event) {
    PlainKeysDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}
