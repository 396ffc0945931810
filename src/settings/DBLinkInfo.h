#pragma once

#include "ConnectionSettings.h"

// Moves the connection values between the settings key "\SOFTWARE\QARVO\TOLMA\DBLinkInfo"
// and the program. Each value is transferred as soon as it is read or before the next one is
// written; a registry error stops the transfer there and returns false, leaving the values
// before it transferred. A key that can be neither opened nor created transfers nothing and
// is no error.
inline constexpr const char* kDBLinkInfoKey = "\\SOFTWARE\\QARVO\\TOLMA\\DBLinkInfo";

// Beside them: "dbauthentication" ("sql" or "windows"), "dbencrypt" ("optional", "mandatory",
// "strict"), "dbtrustservercertificate" and "dbrememberpassword" ("1" or "0") and "dbcafile",
// each read as the program behaved before they existed when absent.

// For the start-up: reads "dbuser", "dbdatabase", "dbserver", "dbpassword", in this order,
// then the values beside them.
bool loadDBLinkInfo(ConnectionSettings& target);
// For the connection dialog: reads "dbserver", "dbdatabase", "dbuser", "dbpassword", then the
// values beside them.
bool readDBLinkInfo(ConnectionSettings& target);
// Writes "dbserver", "dbdatabase", "dbuser", "dbpassword" (empty unless the password is to
// be remembered), in this order, as given, then the values beside them.
bool writeDBLinkInfo(const ConnectionSettings& values);
