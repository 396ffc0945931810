// Opening the statements on the large demo database through our backends (the two windows',
// the period summary of this year and the ageing as of today), beside the sqlite3 command-line
// shell running the same statement text with its output sent nowhere, and beside the floor: a bare
// sqlite3_step loop over the same statement reading every column of every row once.
//   open_statement_bench LARGE_DEMO_FILE [RUNS] [ONLY]
//   (ONLY: journal, current-stock, summary, ageing)
#include "BenchArguments.h"
#include "BenchProcess.h"
#include "DemoQuery.h"
#include "PeerStatement.h"
#include "db/Connection.h"
#include "db/ResultQuery.h"
#include "db/odbc/OdbcBackend.h"
#include "journal/JournalFields.h"
#include "journal/JournalStatement.h"
#include "ledger/AgeingColumns.h"
#include "ledger/AgeingStatement.h"
#include "ledger/PeriodSummaryColumns.h"
#include "ledger/PeriodSummaryStatement.h"
#include "stock/CurrentStockFields.h"
#include "stock/CurrentStockStatement.h"

#include <sqlite3.h>

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

// The bytes each column's values take in tab-separated text, each with its separator.
std::vector<double> tabSeparatedColumnBytes(const std::string& tabsFile) {
    std::vector<double> bytes;
    std::ifstream in(tabsFile, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        std::size_t column = 0;
        std::size_t start = 0;
        for (;; ++column) {
            const std::size_t end = std::min(line.find('\t', start), line.size());
            if (bytes.size() <= column)
                bytes.resize(column + 1);
            bytes[column] += static_cast<double>(end - start + 1);
            if (end == line.size())
                break;
            start = end + 1;
        }
    }
    return bytes;
}

// Memory the open result holds for its columns of each kind, beside those columns' text.
void reportMemoryByKind(const std::string& file, const std::vector<std::string>& lines,
                        const std::vector<FieldDecl>& fields, const std::string& tabsFile) {
    const DemoQuery opened(file, lines, fields);
    const ResultSet& rows = opened.query.result();
    const std::vector<double> textBytes = tabSeparatedColumnBytes(tabsFile);
    for (const FieldKind kind : {FieldKind::Text, FieldKind::Decimal, FieldKind::Double,
                                 FieldKind::Integer, FieldKind::DateTime}) {
        double held = 0;
        double text = 0;
        int columns = 0;
        for (std::size_t c = 0; c < rows.columnCount() && c < textBytes.size(); ++c)
            if (rows.column(c).kind() == kind) {
                held += static_cast<double>(rows.column(c).memoryBytes());
                text += textBytes[c];
                ++columns;
            }
        if (columns > 0)
            std::printf("%-34s %-8s x%2d: held %7.1f MiB | their text %7.1f MiB | ratio %.2f\n", "",
                        std::string(fieldKindName(kind)).c_str(), columns, held / 1048576.0,
                        text / 1048576.0, held / text);
    }
}

void report(const char* figure, const Measurement& ours, const Measurement& peer,
            const char* peerName) {
    std::printf("%-34s %8.3f s  %8.1f MiB   | %-22s %8.3f s  %8.1f MiB   | time ratio %.2f\n",
                figure, ours.seconds, ours.peakKiB / 1024.0, peerName, peer.seconds,
                peer.peakKiB / 1024.0, ours.seconds / peer.seconds);
}

// The floor: the statement prepared as the SQLite backend prepares it and stepped through,
// every column of every row read once by its stored type; the rows counted.
std::size_t bareStepLoop(const std::string& file, const std::vector<std::string>& lines,
                         bool attachDbo) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    if (attachDbo)
        sqlite3_exec(db, ("ATTACH '" + file + "' AS dbo").c_str(), nullptr, nullptr, nullptr);
    sqlite3_stmt* statement = nullptr;
    const std::string text = peerStatement(joinedStatement(lines));
    sqlite3_prepare_v2(db, text.c_str(), static_cast<int>(text.size()), &statement, nullptr);
    std::size_t rows = 0;
    std::size_t read = 0; // kept, so that no read is left out
    const int columns = sqlite3_column_count(statement);
    while (sqlite3_step(statement) == SQLITE_ROW) {
        ++rows;
        for (int column = 0; column < columns; ++column)
            switch (sqlite3_column_type(statement, column)) {
            case SQLITE_INTEGER:
                read += static_cast<std::size_t>(sqlite3_column_int64(statement, column));
                break;
            case SQLITE_FLOAT:
                read += static_cast<std::size_t>(sqlite3_column_double(statement, column) != 0);
                break;
            case SQLITE_TEXT:
                read += static_cast<std::size_t>(sqlite3_column_bytes(statement, column)) +
                        static_cast<unsigned char>(*sqlite3_column_text(statement, column));
                break;
            default:
                break;
            }
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return rows + (read == 1 ? 1 : 0);
}

// The work of one measured child: open one statement through one backend.
// The period summary of the year up to today, a row per warehouse and item.
std::string today() {
    const std::time_t now = std::time(nullptr);
    char text[40];
    std::strftime(text, sizeof text, "%Y-%m-%d", std::localtime(&now));
    return text;
}

PeriodSummaryCriteria thisYear() {
    PeriodSummaryCriteria criteria;
    criteria.dateFrom = today().substr(0, 4) + "-01-01";
    criteria.dateTo = today();
    return criteria;
}

// The ageing as of today in the default bands, a row per warehouse and item.
AgeingCriteria asOfToday() {
    AgeingCriteria criteria;
    criteria.asOf = today();
    return criteria;
}

int runChild(const std::string& what, const std::string& file) {
    const auto journalLines = journalStatement(wholeJournal());
    return reportChildMeasurement([&] {
        if (what == "step-journal")
            bareStepLoop(file, journalLines, false);
        else if (what == "step-current-stock")
            bareStepLoop(file, currentStockStatement({}), true);
        else if (what == "step-summary")
            bareStepLoop(file, periodSummaryStatement(thisYear()), true);
        else if (what == "step-ageing")
            bareStepLoop(file, ageingStatement(asOfToday()), true);
        else if (what == "ageing")
            openThroughResultQuery(file, ageingStatement(asOfToday()),
                                   ageingFields(kDefaultAgeingBands, false));
        else if (what == "journal")
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
    std::ofstream(sqlFile) << peerStatement(joinedStatement(lines)) << ";\n";
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
    const std::size_t rows = openThroughResultQuery(file, lines, fields);
    std::printf("\n%s: %zu rows x %zu fields; shell's tab-separated output %.1f MiB\n", name, rows,
                fields.size(), tabsBytes / 1048576.0);
    report("open through the SQLite backend", best.ours, best.peer, "sqlite3 shell");
    const Comparison floor = bestOfAlternating(
        runs,
        [&] {
            return measureSelf({"bench", "--child", name, file});
        },
        [&] {
            return measureSelf({"bench", "--child", "step-" + std::string(name), file});
        });
    report("open through the SQLite backend", floor.ours, floor.peer, "bare sqlite3_step loop");
    std::printf("%-34s peak memory / shell's output size: %.2f (target <= 1.5)\n", "",
                best.ours.peakKiB * 1024.0 / static_cast<double>(tabsBytes));
    reportMemoryByKind(file, lines, fields, tabsFile);
    std::filesystem::remove(tabsFile);
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
    if (wanted("ageing"))
        benchStatement("ageing", file, ageingStatement(asOfToday()),
                       ageingFields(kDefaultAgeingBands, false), true, runs);
    if (wanted("journal"))
        benchStatement("journal", file, journalStatement(wholeJournal()), journalFields(), false,
                       runs);
    if (wanted("current-stock"))
        benchStatement("current-stock", file, currentStockStatement({}), currentStockFields(), true,
                       runs);
    if (!only.empty())
        return 0;

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
