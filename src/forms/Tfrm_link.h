#pragma once

#include "settings/ConnectionSettings.h"

#include "PlainKeysDialog.h"
#include "WindowWork.h"

#include <memory>

class Connection;
class QLabel;
class QLineEdit;
class QPushButton;

// The connection dialog "数据库连接": server, database, user and password are entered,
// tested by reconnecting the program's connection, and stored when the connection works.
class Tfrm_link : public PlainKeysDialog {
    Q_OBJECT
public:
    // `connection` is the program's connection, reconnected by the test.
    explicit Tfrm_link(Connection& connection, QWidget* parent = nullptr);
    ~Tfrm_link() override;

    QLineEdit* Edit1; // server
    QLineEdit* Edit2; // database
    QLineEdit* Edit3; // user
    QLineEdit* Edit4; // password
    QPushButton* Button1;
    QPushButton* Button2;
    QLabel* workStatus;

    // The connection attempt, off the interface thread.
    WindowWork& work() { return *work_; }

    void Button1Click();
    void Button2Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ReadDBLinkInfo();
    void WriteDBLinkInfo();
    // The first empty one of server, database and user, checked in this order, reported.
    bool checkRequiredBoxes();
    // The four boxes trimmed: server, database, user, password.
    ConnectionSettings trimmedBoxes() const;

    Connection& connection_;
    std::unique_ptr<WindowWork> work_;
};

// The connection dialog while it is open.
extern Tfrm_link* frm_link;
