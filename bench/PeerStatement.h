#pragma once

#include "db/sqlite/TsqlToSqlite.h"

#include <string>

// A statement as plain SQLite runs it, for the peers that have none of our backend's functions
// (the sqlite3 shell, a bare step loop): our backend's translation, and each text join
// CONCAT(a, b, …), which our backend registers, written with SQLite's built-in printf.
inline std::string peerStatement(const std::string& tsql) {
    std::string sql = tsqlToSqlite(tsql);
    const std::string join = "CONCAT(";
    for (std::size_t at = sql.find(join); at != std::string::npos; at = sql.find(join, at)) {
        int depth = 0;
        bool quoted = false;
        std::size_t values = 1;
        for (std::size_t i = at + join.size(); i < sql.size() && depth >= 0; ++i) {
            quoted = sql[i] == '\'' ? !quoted : quoted;
            depth += quoted ? 0 : (sql[i] == '(') - (sql[i] == ')');
            values += !quoted && depth == 0 && sql[i] == ',';
        }
        std::string format = "printf('";
        for (std::size_t i = 0; i < values; ++i)
            format += "%s";
        sql.replace(at, join.size(), format + "', ");
        at += format.size();
    }
    return sql;
}
