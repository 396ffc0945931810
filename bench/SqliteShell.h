#pragma once

#include "BenchProcess.h"
#include "PeerStatement.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

// The peer of our queries: the sqlite3 shell running one statement on a demo file (read only,
// the file attached again as dbo as our backend does) and writing its rows tab-separated to
// /dev/null. The statement is given as the windows send it, in T-SQL.
inline Measurement sqliteShellRun(const std::string& file, const std::string& statement) {
    // A file of this run's own, so that benchmarks running side by side keep their statements.
    std::string sqlFile = "/tmp/stockquery-shell-bench-XXXXXX";
    close(mkstemp(sqlFile.data()));
    std::ofstream(sqlFile) << peerStatement(statement) << ";\n";
    const std::vector<std::string> shell = {"sqlite3",
                                            "-readonly",
                                            "-batch",
                                            "-cmd",
                                            ".mode tabs",
                                            "-cmd",
                                            "ATTACH '" + file + "' AS dbo",
                                            file};
    const Measurement measured = measureProgram(shell, sqlFile, "/dev/null");
    std::remove(sqlFile.c_str());
    return measured;
}

inline double bestShellSeconds(const std::string& file, const std::string& statement, int runs) {
    double best = 1e9;
    for (int i = 0; i < runs; ++i)
        best = std::min(best, sqliteShellRun(file, statement).seconds);
    return best;
}
