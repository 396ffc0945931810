#pragma once

#include <QString>

class Connection;

// What 关于 tells, as the text its 复制 button copies: the program's name, version and build date,
// its licence and where its source is, the libraries it uses with their versions and licences,
// and the connection in use (server, database, driver).
QString aboutText(const Connection& connection);
