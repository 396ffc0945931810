#pragma once

#include "settings/ConnectionSettings.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// The ODBC connection string for SQL Server built from the settings for the platform's
// driver (FreeTDS, or the newest Microsoft driver installed on Windows): read-only intent,
// every value braced as that driver reads braces. Throws ConnectError for a setting that the
// driver cannot carry out and DbError for a value it cannot be given literally; a setting is
// never dropped in silence. No interactive prompt is ever involved.
std::string sqlServerOdbcConnectionString(const ConnectionSettings& settings);

// FreeTDS takes the certificate checks only from a section of its configuration file:
// `sectionNamed` stores the section's lines and gives the name to connect with.
using FreeTdsSections = std::function<std::string(const std::string& sectionLines)>;
std::string freeTdsConnectionString(const ConnectionSettings& settings,
                                    const FreeTdsSections& sectionNamed);

// The Microsoft SQL Server drivers, from the newest to the one every Windows has.
inline constexpr std::string_view kMicrosoftSqlServerDrivers[] = {
    "ODBC Driver 18 for SQL Server", "ODBC Driver 17 for SQL Server",
    "SQL Server Native Client 11.0", "SQL Server"};
// The newest of them among the installed drivers; "SQL Server" when none is listed.
std::string newestSqlServerDriver(const std::vector<std::string>& installed);
// The connection string for one of them, in that driver's own keywords.
std::string microsoftConnectionString(const ConnectionSettings& settings, std::string_view driver);
