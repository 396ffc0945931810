#pragma once

#include <QDialog>

// A dialog in which Enter and Escape have no special meaning: neither presses a default
// button nor closes the dialog.
class PlainKeysDialog : public QDialog {
public:
    using QDialog::QDialog;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
