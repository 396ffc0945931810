#include "PlainKeysDialog.h"

#include <QKeyEvent>

void PlainKeysDialog::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        QWidget::keyPressEvent(event);
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}
