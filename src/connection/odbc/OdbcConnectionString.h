#pragma once

#include "../ConnectionSettings.h"

#include <optional>
#include <string>
#include <string_view>

// An ODBC attribute value in braces, a "}" inside doubled, so that ";" or "=" in it cannot
// start another attribute.
std::string bracedOdbcValue(std::string_view value);

// The forms of a server that users type into SQL Server tools: "host", "host,port",
// "host\instance" and "tcp:host,port".
struct SqlServerAddress {
    std::string host;
    std::optional<int> port;
    std::string instance;
};
SqlServerAddress parseSqlServerAddress(std::string_view server);

// The ODBC connection string for SQL Server built from the four values: the platform's
// driver, read-only intent, every value braced. No interactive prompt is ever involved.
std::string sqlServerOdbcConnectionString(const ConnectionSettings& settings);
