#include "PasswordPrompt.h"

#include <QInputDialog>
#include <QLineEdit>

std::optional<std::string> askForPassword(QWidget* owner, const ConnectionSettings& settings) {
    QInputDialog dialog(owner);
    dialog.setWindowTitle("数据库连接");
    dialog.setLabelText(QString::fromStdString("请输入用户“" + settings.user + "”在服务器“" +
                                               settings.server + "”上的密码："));
    dialog.setTextEchoMode(QLineEdit::Password);
    dialog.setOkButtonText("确定");
    dialog.setCancelButtonText("取消");
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue().toStdString();
}
