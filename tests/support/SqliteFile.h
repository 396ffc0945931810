#pragma once

#include "db/Connection.h"

#include <sqlite3.h>

#include <stdexcept>
#include <string>

// A SQLite file of the test's own: statements run on it (made when missing; a statement that
// fails throws, so that a test never reads a table that was not made), and a connection open to
// it as to the demo.
inline void runOnSqliteFile(const std::string& file, const std::string& sql) {
    sqlite3* db = nullptr;
    sqlite3_open(file.c_str(), &db);
    char* error = nullptr;
    const int result = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
    const std::string why = error ? error : sqlite3_errmsg(db);
    sqlite3_free(error);
    sqlite3_close(db);
    if (result != SQLITE_OK)
        throw std::runtime_error(file + ": " + why);
}

inline void openSqliteFile(Connection& connection, const std::string& file) {
    connection.setSettings({"sqlite:" + file, "d", "u", ""});
    connection.open();
}
