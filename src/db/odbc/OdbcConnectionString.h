#pragma once

#include "settings/ConnectionSettings.h"

#include <optional>
#include <string>
#include <string_view>

// An ODBC attribute value in braces, a "}" inside doubled, so that ";" or "=" in it cannot
// start another attribute.
std::string bracedOdbcValue(std::string_view value);

// FreeTDS reads a braced value verbatim up to the first "};" and undoubles nothing, so a value
// goes into braces as it is; one that holds "};" cannot be passed and throws DbError.
std::string bracedFreeTdsValue(std::string_view value);

// The forms of a server that users type into SQL Server tools: "host", "host,port",
// "host\instance" and "tcp:host,port".
struct SqlServerAddress {
    std::string host;
    std::optional<int> port;
    std::string instance;
};
SqlServerAddress parseSqlServerAddress(std::string_view server);

// The ODBC connection string for SQL Server built from the four values: the platform's
// driver, read-only intent, every value braced as that driver reads braces; throws DbError
// for a value the driver cannot be given literally. No interactive prompt is ever involved.
std::string sqlServerOdbcConnectionString(const ConnectionSettings& settings);
