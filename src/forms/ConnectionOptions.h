#pragma once

#include "settings/ConnectionSettings.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

// The connection dialog's options below its four boxes: 身份验证, 加密, 信任服务器证书,
// 证书文件 and 记住密码.
class ConnectionOptions : public QWidget {
    Q_OBJECT
public:
    explicit ConnectionOptions(QWidget* parent);

    QComboBox* authentication;
    QComboBox* encryption;
    QCheckBox* trustCertificate;
    QLineEdit* certificateFile;
    QPushButton* chooseFile;
    QCheckBox* rememberPassword;

    void showSettings(const ConnectionSettings& settings);
    // The options into `settings`, the file's name trimmed.
    void readInto(ConnectionSettings& settings) const;
    // Whether `settings` hold options other than the defaults, that the user should see.
    static bool beyondDefaults(const ConnectionSettings& settings);

signals:
    void authenticationChanged();

private:
    void enableByChoice();
};
