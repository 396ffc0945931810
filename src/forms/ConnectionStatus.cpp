#include "ConnectionStatus.h"

#include "WindowWork.h"
#include "db/Connection.h"

#include <filesystem>

const char* const kNotConnectedMessage =
    "尚未连接数据库：请在现存量查询窗口点击“连接”，填写服务器、数据库、用户名和密码后登录。";

QString connectionStatusText(const Connection& connection) {
    if (!connection.isOpen())
        return "未连接数据库";
    const ConnectionSettings& settings = connection.settings();
    const auto file = Connection::sqliteFileOf(settings.server);
    const std::string server =
        file ? std::filesystem::path(*file).filename().string() : settings.server;
    return QString::fromStdString("已连接：" + server + " / " + settings.database);
}

QString connectionDetailsText(const Connection& connection) {
    if (!connection.isOpen())
        return {};
    const ConnectionSettings& settings = connection.settings();
    const SessionInfo& session = connection.sessionInfo();
    std::string text = "服务器：" + session.server + "\n驱动：" + session.driver;
    if (!Connection::sqliteFileOf(settings.server)) {
        text += "\n加密：";
        text += settings.encryption == Encryption::optional ? "可选（服务器要求时加密）"
                : settings.encryption == Encryption::mandatory ? "必需"
                                                               : "严格（TDS 8）";
        if (settings.encryption != Encryption::optional)
            text += settings.trustServerCertificate ? "，信任服务器证书" : "，已验证服务器证书";
        text += settings.authentication == Authentication::windows
                    ? "\n身份验证：Windows 身份验证"
                    : "\n身份验证：SQL Server 身份验证（" + settings.user + "）";
    }
    return QString::fromStdString(text);
}

void showConnectionIn(WindowWork& work, const Connection& connection) {
    work.setIdleText(connectionStatusText(connection), connectionDetailsText(connection));
}
