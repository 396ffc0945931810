// Both queries fetched over TDS through unixODBC and FreeTDS from the tests' TDS server, which
// serves the large demo data in the ERP's column types: the program's fetch (execute and read
// the whole result, on an open connection) beside pyodbc's execute and fetchall() on the same
// server and statement, runs taken in turns; then as whole processes, a process of ours that
// logs in and reads the whole result beside FreeTDS's own bsqldb writing it to /dev/null, with
// each one's processor time.
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

#include <cctype>
#include <cstdio>
#include <cstdlib>
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

// FreeTDS's own client: logs in to the server (named by TDSHOST and TDSPORT, which FreeTDS
// takes over a server name), runs the statement and writes the rows to /dev/null; `rows`
// from its "n rows affected".
Measurement bsqldbRun(const TdsServer& server, const std::string& statement, long& rows) {
    const std::string file = "/tmp/stockquery-tds-bench-bsqldb.sql";
    const std::string messages = "/tmp/stockquery-tds-bench-bsqldb.txt";
    std::ofstream(file, std::ios::binary) << statement << "\r\ngo\r\n";
    setenv("TDSHOST", "127.0.0.1", 1);
    setenv("TDSPORT", std::to_string(server.port()).c_str(), 1);
    setenv("TDSVER", "7.4", 1);
    const Measurement measured =
        measureProgram({"bsqldb", "-S", "stand-in", "-U", "reader", "-P", "pw", "-D", "erp_2026",
                        "-i", file, "-o", "/dev/null", "-e", messages},
                       "/dev/null", "/dev/null");
    std::ifstream in(messages);
    std::string before;
    for (std::string word; in >> word; before = word)
        if (word == "rows" && std::isdigit(static_cast<unsigned char>(before.front())))
            rows = std::atol(before.c_str());
    return measured;
}

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

// Every answer encoded once, before anything is timed, so that the server only sends. A batch
// is known by its text without line ends and blanks (bsqldb sends the lines of its file its
// own way).
class CachedAnswers {
public:
    explicit CachedAnswers(const std::string& file) : responder_(file) {}
    void prepare(const std::string& batch) { answers_[key(batch)] = responder_(batch); }
    std::shared_ptr<const std::string> operator()(const std::string& batch) const {
        const auto found = answers_.find(key(batch));
        if (found == answers_.end() && batch.find("FROM") != std::string::npos)
            std::fprintf(stderr, "tds_fetch_bench: an unknown batch: %s\n", batch.c_str());
        return found == answers_.end() ? nullptr : found->second;
    }

private:
    static std::string key(std::string text) {
        std::erase_if(text, [](char c) { return c == '\r' || c == '\n' || c == ' '; });
        return text;
    }
    ErpTdsResponder responder_;
    std::map<std::string, std::shared_ptr<const std::string>> answers_;
};

} // namespace

int main(int argc, char** argv) {
    // A child of ours, as a whole process: log in to the server at argv[2], read the result of
    // the statement in the file argv[3] with the fields of query argv[4].
    if (argc == 5 && std::string_view(argv[1]) == "--child") {
        std::ifstream in(argv[3], std::ios::binary);
        const std::string statement{std::istreambuf_iterator<char>(in), {}};
        const auto& fields =
            std::string_view(argv[4]) == "journal" ? journalFields() : currentStockFields();
        return reportChildMeasurement([&] {
            OdbcBackend(sqlServerOdbcConnectionString({argv[2], "erp_2026", "reader", "pw"}))
                .fetchAll(statement, fields);
        });
    }
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
    for (const auto& [name, text, fields] : queries) {
        const std::string file = "/tmp/stockquery-tds-bench-ours.sql";
        std::ofstream(file, std::ios::binary) << text;
        long bsqldbRows = 0;
        const Comparison best = bestOfAlternating(
            arguments->runs,
            [&] {
                return measureSelf({"bench", "--child", server.address(), file, name});
            },
            [&] { return bsqldbRun(server, text, bsqldbRows); });
        std::printf("%-13s whole process: ours %7.3f s, processor %6.3f s | bsqldb to /dev/null "
                    "(%ld rows) %7.3f s, processor %6.3f s | ratio %.2f, processor %.2f | target "
                    "<= 1.0\n",
                    name, best.ours.seconds, best.ours.cpuSeconds, bsqldbRows, best.peer.seconds,
                    best.peer.cpuSeconds, best.ours.seconds / best.peer.seconds,
                    best.ours.cpuSeconds / best.peer.cpuSeconds);
    }
    return 0;
}
