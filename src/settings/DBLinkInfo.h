#pragma once

#include "ConnectionSettings.h"

// Moves the connection values between the settings key "\SOFTWARE\QARVO\TOLMA\DBLinkInfo"
// and the program. Each value is transferred as soon as it is read or before the next one is
// written; a registry error stops the transfer there and returns false, leaving the values
// before it transferred. A key that can be neither opened nor created transfers nothing and
// is no error.
inline constexpr const char* kDBLinkInfoKey = "\\SOFTWARE\\QARVO\\TOLMA\\DBLinkInfo";

// For the start-up: reads "dbuser", "dbdatabase", "dbserver", "dbpassword", in this order.
bool loadDBLinkInfo(ConnectionSettings& target);
// For the connection dialog: reads "dbserver", "dbdatabase", "dbuser", "dbpassword".
bool readDBLinkInfo(ConnectionSettings& target);
// Writes "dbserver", "dbdatabase", "dbuser", "dbpassword", in this order, as given.
bool writeDBLinkInfo(const ConnectionSettings& values);
