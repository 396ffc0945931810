#pragma once

#include <QString>

class Connection;
class WindowWork;

// The status bar's words for the connection a window works on: "已连接：" with the server (the
// file's name for a demo database) and the database, or "未连接数据库" while it is closed.
QString connectionStatusText(const Connection& connection);

// What hovering over the status tells of an open connection: the server's product and
// version, the driver, the encryption and the login.
QString connectionDetailsText(const Connection& connection);

// Both into the status of a window's work.
void showConnectionIn(WindowWork& work, const Connection& connection);

// What 查询 says while the program has no connection: that it has none and how to make one.
extern const char* const kNotConnectedMessage;
