// The grid's work on a 1,000,000-row current-stock result: sorting by a quantity and by the
// item name (collation keys included) beside the sqlite3 shell running the statement with
// ORDER BY that column, and the footer sum pass beside the shell summing the same columns.
//   grid_bench LARGE_DEMO_FILE [RUNS]
#include "BenchProcess.h"
#include "DemoQuery.h"
#include "common/FooterSums.h"
#include "connection/Connection.h"
#include "connection/ResultQuery.h"
#include "connection/sqlite/TsqlToSqlite.h"
#include "stock/CurrentStockColumns.h"
#include "stock/CurrentStockFields.h"
#include "stock/CurrentStockStatement.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

double shellSeconds(const std::string& file, const std::string& sql, int runs) {
    const std::string sqlFile = "/tmp/stockquery-grid-bench.sql";
    std::ofstream(sqlFile) << sql << ";\n";
    const std::vector<std::string> shell = {"sqlite3",
                                            "-readonly",
                                            "-batch",
                                            "-cmd",
                                            ".mode tabs",
                                            "-cmd",
                                            "ATTACH '" + file + "' AS dbo",
                                            file};
    double best = 1e9;
    for (int i = 0; i < runs; ++i)
        best = std::min(best, measureProgram(shell, sqlFile, "/dev/null").seconds);
    return best;
}

void report(const std::string& figure, double ours, double peer, const char* peerName,
            const char* target) {
    std::printf("%-36s %8.4f s | %-34s %8.4f s | %s\n", figure.c_str(), ours, peerName, peer,
                target);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: grid_bench LARGE_DEMO_FILE [RUNS]\n");
        return 2;
    }
    const std::string file = std::filesystem::absolute(argv[1]).string();
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
    DemoQuery demo(argv[1], currentStockStatement({}), currentStockFields());
    ResultQuery& query = demo.query;
    const std::string statement = tsqlToSqlite(query.commandText());
    std::printf("current-stock result: %zu rows\n", query.rowCount());

    for (const char* field : {"现存量", "存货名称", "批号"}) {
        double ours = 1e9;
        for (int i = 0; i < runs; ++i) {
            query.setSortOrder("");
            ours =
                std::min(ours, secondsOf([&] { query.setSortOrder(std::string(field) + " ASC"); }));
        }
        const double peer = shellSeconds(file, statement + " ORDER BY " + field, runs);
        report(std::string("sort by ") + field, ours, peer, "sqlite3 shell, ORDER BY",
               std::string(field) == "现存量" ? "target <= 0.3 s" : "target <= 1.5 s");
    }

    std::vector<std::string> sumFields;
    for (const GridColumn& column : currentStockColumns())
        if (column.footer == FooterValue::Sum)
            sumFields.push_back(column.field);
    FooterSums sums(sumFields);
    query.setSortOrder(""); // the pass runs when the query opens, in the database's order
    double ours = 1e9;
    for (int i = 0; i < runs; ++i)
        ours = std::min(ours, secondsOf([&] { sums.recompute(query); }));
    std::string sumSql = "SELECT ";
    for (const std::string& field : sumFields)
        sumSql += (sumSql.size() > 7 ? ", SUM(" : "SUM(") + field + ")";
    const double peer = shellSeconds(file, sumSql + " FROM (" + statement + ")", runs);
    report("footer sum pass (7 sums)", ours, peer, "sqlite3 shell, SUM over the statement",
           "target <= 0.050 s");
    return 0;
}
