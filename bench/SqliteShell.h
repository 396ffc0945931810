#pragma once

#include "BenchProcess.h"
#include "connection/sqlite/TsqlToSqlite.h"

#include <fstream>
#include <string>
#include <vector>

// The peer of our queries: the sqlite3 shell running one statement on a demo file (read only,
// the file attached again as dbo as our backend does) and writing its rows tab-separated to
// /dev/null. The statement is given as the windows send it, in T-SQL.
inline Measurement sqliteShellRun(const std::string& file, const std::string& statement) {
    const std::string sqlFile = "/tmp/stockquery-shell-bench.sql";
    std::ofstream(sqlFile) << tsqlToSqlite(statement) << ";\n";
    const std::vector<std::string> shell = {"sqlite3",
                                            "-readonly",
                                            "-batch",
                                            "-cmd",
                                            ".mode tabs",
                                            "-cmd",
                                            "ATTACH '" + file + "' AS dbo",
                                            file};
    return measureProgram(shell, sqlFile, "/dev/null");
}

inline double bestShellSeconds(const std::string& file, const std::string& statement, int runs) {
    double best = 1e9;
    for (int i = 0; i < runs; ++i)
        best = std::min(best, sqliteShellRun(file, statement).seconds);
    return best;
}
