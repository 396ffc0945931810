#include "DatabaseBox.h"

#include <QLineEdit>

DatabaseBox::DatabaseBox(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
}

void DatabaseBox::setList(const QStringList& names) {
    const QString typed = currentText(); // what was typed stays
    clear();
    addItems(names);
    setEditText(typed);
    listed_ = true;
}

void DatabaseBox::showPopup() {
    if (!listed_ && listWanted) {
        listWanted();
        return;
    }
    QComboBox::showPopup();
}
