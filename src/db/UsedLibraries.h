#pragma once

#include <string>
#include <vector>

// A library the program uses, as 关于 names it.
struct UsedLibrary {
    std::string name;
    std::string version; // the one in use, where the library can tell it
    std::string licence; // SPDX words
};

// What the database side uses: SQLite for the demo, the ODBC driver manager, and on Linux GnuTLS
// for the look at a server's certificate. The SQL Server driver is the connection's to name.
std::vector<UsedLibrary> databaseLibraries();
