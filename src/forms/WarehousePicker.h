#pragma once

#include "db/ResultQuery.h"

#include <QDialog>

class QFrame;
class QListWidget;
class QPushButton;

// What both warehouse pickers ("仓库选择") share: a check list of every warehouse of the ERP
// database, read when the picker is shown, and an OK button that replaces the calling window's
// warehouse list with the checked lines. Closing it any other way leaves that list as it was.
class WarehousePicker : public QDialog {
    Q_OBJECT
public:
    QFrame* Panel1;
    QPushButton* Button1;
    QListWidget* clb_store;
    ResultQuery ado_store;

    void Button1Click();

protected:
    // The list is read through `connection`.
    WarehousePicker(Connection& connection, QListWidget& target, int topBarHeight, QWidget* parent);

    void showEvent(QShowEvent* event) override;
    // After the list is filled; the current-stock picker checks the lines already chosen.
    virtual void afterFill() {}

    QListWidget& target_;

private:
    void FormShow();
};
