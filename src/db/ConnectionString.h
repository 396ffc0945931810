#pragma once

#include "settings/ConnectionSettings.h"

#include <string>

// The connection's description in the SQL Server OLE DB form: the four values inserted as
// they are, in the order user, database, server, password, with no trailing semicolon.
std::string BuildConnectionString(const ConnectionSettings& settings);
