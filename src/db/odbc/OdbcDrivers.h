#pragma once

#include <string>
#include <vector>

// The drivers the ODBC driver manager knows (the registry's list on Windows, odbcinst.ini
// elsewhere), by name.
std::vector<std::string> installedOdbcDrivers();
