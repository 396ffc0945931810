#include "QueryDialog.h"

#include "ConnectionStatus.h"
#include "FormParts.h"

#include <QLineEdit>
#include <QListWidget>
#include <QShowEvent>

QueryDialog::QueryDialog(Connection& connection, const QueryShape& shape, QueryResultUse use,
                         QWidget* parent)
    : PlainKeysDialog(parent), QueryWindowFrame(this, connection, shape, std::move(use)),
      connection_(connection) {}

void QueryDialog::FormShow() {
    showDefaults();
    showConnectionIn(work(), connection_);
}

void QueryDialog::showEvent(QShowEvent* event) {
    PlainKeysDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void QueryDialog::runQueryOnEnterIn(std::initializer_list<QLineEdit*> boxes) {
    moveFocusOnEnter(*lbb_store, *edt_code);
    for (QLineEdit* box : boxes)
        runOnEnter(
            *box, [this] { RunQuery(); }, true);
}
