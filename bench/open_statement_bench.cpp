// Opening the statements on the large demo database through our backends (the two windows'
// and the period summary of this year), beside the sqlite3 command-line shell running the same
// statement text with its output sent nowhere.
//   open_statement_bench LARGE_DEMO_FILE [RUNS] [ONLY]  (ONLY: journal, current-stock, summary)
#include "BenchArguments.h"
#include "BenchProcess.h"
#include "DemoQuery.h"
#include "db/Connection.h"
#include "db/ResultQuery.h"
#include "db/odbc/OdbcBackend.h"
#include "db/sqlite/TsqlToSqlite.h"
#include "journal/JournalFields.h"
#include "journal/JournalStatement.h"
#include "ledger/PeriodSummaryColumns.h"
#include "ledger/PeriodSummaryStatement.h"
#include "stock/CurrentStockFields.h"
#include "stock/CurrentStockStatement.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>

namespace {

std::size_t openThroughResultQuery(const std::string& file, const std::vector<std::string>& lines,
                                   const std::vector<FieldDecl>& fields) {
    return DemoQuery(file, lines, fields).query.rowCount();
}

void report(const char* figure, const Measurement& ours, const Measurement& peer,
            const char* peerName) {
    std::printf("%-34s %8.3f s  %8.1f MiB   | %-22s %8.3f s  %8.1f MiB   | time ratio %.2f\n",
                figure, ours.seconds, ours.peakKiB / 1024.0, peerName, peer.seconds,
                peer.peakKiB / 1024.0, ours.seconds / peer.seconds);
}

// The work of one measured child: open one statement through one backend.
// The period summary of the year up to today, a row per warehouse and item.
PeriodSummaryCriteria thisYear() {
    PeriodSummaryCriteria criteria;
    const std::time_t now = std::time(nullptr);
    char today[40];
    std::strftime(today, sizeof today, "%Y-%m-%d", std::localtime(&now));
    criteria.dateFrom = std::string(today, 4) + "-01-01";
    criteria.dateTo = today;
    return criteria;
}

int runChild(const std::string& what, const std::string& file) {
    const auto journalLines = journalStatement(wholeJournal());
    return reportChildMeasurement([&] {
        if (what == "journal")
            openThroughResultQuery(file, journalLines, journalFields());
        else if (what == "summary")
            openThroughResultQuery(file, periodSummaryStatement(thisYear()),
                                   periodSummaryFields(false));
        else if (what == "current-stock")
            openThroughResultQuery(file, currentStockStatement({}), currentStockFields());
        else
            OdbcBackend("DRIVER={SQLite3};StepAPI=1;DATABASE=" + file)
                .fetchAll(joinedStatement(journalLines), journalFields());
    });
}

void benchStatement(const char* name, const std::string& file,
                    const std::vector<std::string>& lines, const std::vector<FieldDecl>& fields,
                    bool attachDbo, int runs) {
    const std::string sqlFile = "/tmp/stockquery-bench-" + std::string(name) + ".sql";
    std::ofstream(sqlFile) << tsqlToSqlite(joinedStatement(lines)) << ";\n";
    std::vector<std::string> shell = {"sqlite3", "-readonly", "-batch", "-cmd", ".mode tabs"};
    if (attachDbo) {
        shell.push_back("-cmd");
        shell.push_back("ATTACH '" + file + "' AS dbo");
    }
    shell.push_back(file);
    const Comparison best = bestOfAlternating(
        runs,
        [&] {
            return measureSelf({"bench", "--child", name, file});
        },
        [&] { return measureProgram(shell, sqlFile, "/dev/null"); });
    const std::string tabsFile = "/tmp/stockquery-bench-" + std::string(name) + ".tsv";
    measureProgram(shell, sqlFile, tabsFile);
    const auto tabsBytes = std::filesystem::file_size(tabsFile);
    std::filesystem::remove(tabsFile);
    const std::size_t rows = openThroughResultQuery(file, lines, fields);
    std::printf("\n%s: %zu rows x %zu fields; shell's tab-separated output %.1f MiB\n", name, rows,
                fields.size(), tabsBytes / 1048576.0);
    report("open through the SQLite backend", best.ours, best.peer, "sqlite3 shell");
    std::printf("%-34s peak memory / shell's output size: %.2f (target <= 1.5)\n", "",
                best.ours.peakKiB * 1024.0 / static_cast<double>(tabsBytes));
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--child")
        return runChild(argv[2], argv[3]);
    const auto arguments =
        benchArguments(argc, argv, "open_statement_bench LARGE_DEMO_FILE [RUNS] [ONLY]", 5);
    if (!arguments)
        return 2;
    const std::string& file = arguments->file;
    const int runs = arguments->runs;

    const std::string only = argc > 3 ? argv[3] : "";
    const auto wanted = [&only](const char* name) { return only.empty() || only == name; };
    if (wanted("summary"))
        benchStatement("summary", file, periodSummaryStatement(thisYear()),
                       periodSummaryFields(false), true, runs);
    if (!only.empty())
        return 0;
    const auto journalLines = journalStatement(wholeJournal());
    benchStatement("journal", file, journalLines, journalFields(), false, runs);
    benchStatement("current-stock", file, currentStockStatement({}), currentStockFields(), true,
                   runs);

    const Comparison odbc = bestOfAlternating(
        runs,
        [&] {
            return measureSelf({"bench", "--child", "odbc", file});
        },
        [&] {
            return measureSelf({"bench", "--child", "journal", file});
        });
    std::printf("\njournal fetch through ODBC (SQLite ODBC driver) beside the native backend:\n");
    report("ODBC backend, block fetch", odbc.ours, odbc.peer, "SQLite backend");
    return 0;
}
