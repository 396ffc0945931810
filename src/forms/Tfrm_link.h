#pragma once

#include "settings/ConnectionSettings.h"

#include "PlainKeysDialog.h"
#include "WindowWork.h"

#include <memory>

class Connection;
class ConnectionOptions;
class DatabaseBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The connection dialog "数据库连接": server, database, user and password are entered,
// tested by reconnecting the program's connection, and stored when the connection works.
// 选项 >> shows the options below them (身份验证, 加密, the certificate, 记住密码) and 测试连接,
// which connects, names the server and the driver, and closes again; the database box lists
// the databases the login may open.
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
    DatabaseBox* databaseBox; // Edit2 is its text
    QPushButton* optionsButton;
    ConnectionOptions* options;
    QPushButton* testButton;

    // The connection attempt, off the interface thread.
    WindowWork& work() { return *work_; }

    void Button1Click();
    void Button2Click();
    void testConnection();
    void showOptions(bool shown);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ReadDBLinkInfo();
    void WriteDBLinkInfo();
    // The first empty one of server, database and user (the latter when the login takes
    // one), checked in this order, reported; the database only when `needDatabase`.
    bool checkRequiredBoxes(bool needDatabase = true);
    // The four boxes trimmed (server, database, user, password) and the options.
    ConnectionSettings trimmedBoxes() const;
    void listDatabases();
    // The user and password boxes as the login takes them.
    void enableLoginBoxes();

    Connection& connection_;
    std::unique_ptr<WindowWork> work_;
};

// The connection dialog while it is open.
extern Tfrm_link* frm_link;
