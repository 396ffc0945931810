#pragma once

#include "db/sqlite/TsqlToSqlite.h"

#include <string>
#include <vector>

// The arguments of the call whose "(" ends just before `at`, split at their top-level commas;
// `end` is set just past its ")".
inline std::vector<std::string> callArguments(const std::string& sql, std::size_t at,
                                              std::size_t& end) {
    std::vector<std::string> arguments(1);
    int depth = 0;
    bool quoted = false;
    for (end = at; end < sql.size(); ++end) {
        const char c = sql[end];
        quoted = c == '\'' ? !quoted : quoted;
        depth += quoted ? 0 : (c == '(') - (c == ')');
        if (depth < 0) {
            ++end;
            break;
        }
        if (!quoted && depth == 0 && c == ',')
            arguments.emplace_back();
        else
            arguments.back() += c;
    }
    return arguments;
}

// A statement as plain SQLite runs it, for the peers that have none of our backend's functions
// (the sqlite3 shell, a bare step loop): our backend's translation, each text join
// CONCAT(a, b, …), which our backend registers, written with SQLite's built-in printf, and each
// day count DATEDIFF('day', a, b) with its julianday.
inline std::string peerStatement(const std::string& tsql) {
    std::string sql = tsqlToSqlite(tsql);
    const std::string days = "DATEDIFF('day',";
    for (std::size_t at = sql.find(days); at != std::string::npos; at = sql.find(days, at)) {
        std::size_t end = 0;
        const std::vector<std::string> from = callArguments(sql, at + days.size(), end);
        const std::string counted = "CAST(julianday(substr(" + from.at(1) +
                                    ", 1, 10)) - julianday(substr(" + from.at(0) +
                                    ", 1, 10)) AS INTEGER)";
        sql.replace(at, end - at, counted);
        at += counted.size();
    }
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
