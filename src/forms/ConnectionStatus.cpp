#include "ConnectionStatus.h"

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
