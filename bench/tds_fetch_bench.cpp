// Both queries fetched over TDS through unixODBC and FreeTDS from the tests' TDS server, which
// serves the large demo data in the ERP's column types: the program's fetch (execute and read
// the whole result, on an open connection) beside pyodbc's execute and fetchall() on the same
// server and statement, runs taken in turns.
//   tds_fetch_bench LARGE_DEMO_FILE [RUNS]
#include "BenchArguments.h"
#include "BenchProcess.h"
#include "DemoQuery.h"
#include "db/ResultQuery.h"
#include "db/odbc/OdbcBackend.h"
#include "db/odbc/OdbcConnectionString.h"
#include "journal/JournalFields.h"
#include "journal/JournalStatement.h"
#include "stock/CurrentStockFields.h"
#include "stock/CurrentStockStatement.h"
#include "support/tds/ErpTdsResponder.h"

#include <cstdio>
#include <fstream>
#include <map>

namespace {

// pyodbc on the same driver: prints the seconds of execute() and fetchall() and the row count.
constexpr const char* kPyodbcScript = R"py(
import sys, time, pyodbc
connection = pyodbc.connect(open(sys.argv[1], encoding="utf-8").read(), autocommit=True)
statement = open(sys.argv[2], encoding="utf-8", newline="").read()
cursor = connection.cursor()
start = time.perf_counter()
cursor.execute(statement)
rows = cursor.fetchall()
print(time.perf_counter() - start, len(rows))
)py";

struct PeerRun {
    double seconds = 0;
    long rows = 0;
};

PeerRun pyodbcFetch(const std::string& connectionString, const std::string& statement) {
    const std::string dir = "/tmp/stockquery-tds-bench-";
    std::ofstream(dir + "script.py") << kPyodbcScript;
    std::ofstream(dir + "connection.txt") << connectionString;
    std::ofstream(dir + "statement.sql", std::ios::binary) << statement;
    measureProgram(
        {"/usr/bin/python3", dir + "script.py", dir + "connection.txt", dir + "statement.sql"},
        "/dev/null", dir + "out.txt");
    PeerRun run;
    std::ifstream(dir + "out.txt") >> run.seconds >> run.rows;
    return run;
}

// Every answer encoded once, before anything is timed, so that the server only sends.
class CachedAnswers {
public:
    explicit CachedAnswers(const std::string& file) : responder_(file) {}
    void prepare(const std::string& batch) { answers_[batch] = responder_(batch); }
    std::shared_ptr<const std::string> operator()(const std::string& batch) const {
        const auto found = answers_.find(batch);
        return found == answers_.end() ? nullptr : found->second;
    }

private:
    ErpTdsResponder responder_;
    std::map<std::string, std::shared_ptr<const std::string>> answers_;
};

} // namespace

int main(int argc, char** argv) {
    const auto arguments = benchArguments(argc, argv, "tds_fetch_bench LARGE_DEMO_FILE [RUNS]", 3);
    if (!arguments)
        return 2;
    const std::vector<std::tuple<const char*, std::string, const std::vector<FieldDecl>*>> queries =
        {
            {"journal", joinedStatement(journalStatement(wholeJournal())), &journalFields()},
            {"current-stock", joinedStatement(currentStockStatement({})), &currentStockFields()},
        };
    auto answers = std::make_shared<CachedAnswers>(arguments->file);
    for (const auto& [name, text, fields] : queries)
        answers->prepare(text);
    TdsServer server{[answers](const std::string& batch) { return (*answers)(batch); }};
    const std::string connectionString =
        sqlServerOdbcConnectionString({server.address(), "erp_2026", "reader", "pw"});
    OdbcBackend backend(connectionString);

    for (const auto& [name, text, fields] : queries) {
        double ours = 1e9;
        double peer = 1e9;
        std::size_t rows = 0;
        long peerRows = 0;
        for (int i = 0; i < arguments->runs; ++i) {
            ours = std::min(ours,
                            secondsOf([&] { rows = backend.fetchAll(text, *fields).rowCount(); }));
            const PeerRun run = pyodbcFetch(connectionString, text);
            peer = std::min(peer, run.seconds);
            peerRows = run.rows;
        }
        std::printf("%-13s over TDS, %zu rows: fetch %7.3f s (%zu fetch calls) | pyodbc "
                    "fetchall %7.3f s (%ld rows) | ratio %.2f | target <= 1.10\n",
                    name, rows, ours, backend.lastFetchCounts().fetchCalls, peer, peerRows,
                    ours / peer);
    }
    return 0;
}
