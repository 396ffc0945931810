// The whole export command for the 1,000,000-line journal of the large demo to tab-separated
// text, beside the pipeline sqlite3 | iconv writing the same statement's rows in GBK, both into
// files in /tmp, run by run in turn.
//   export_program_bench LARGE_DEMO_FILE [RUNS]
#include "BenchArguments.h"
#include "BenchProcess.h"
#include "PeerStatement.h"
#include "db/ResultQuery.h"
#include "journal/JournalStatement.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

int main(int argc, char** argv) {
    const auto arguments =
        benchArguments(argc, argv, "export_program_bench LARGE_DEMO_FILE [RUNS]", 3);
    if (!arguments)
        return 2;
    const std::string& file = arguments->file;
    JournalCriteria whole;
    whole.dateFrom = "1900-01-01";
    whole.dateTo = "9999-12-31";
    const std::string sql = "/tmp/stockquery-program-bench.sql";
    std::ofstream(sql) << peerStatement(joinedStatement(journalStatement(whole))) << ";\n";
    const std::string ours = "/tmp/stockquery-program-bench.txt";
    const std::string peer = "/tmp/stockquery-program-bench.peer.txt";
    const std::vector<std::string> command = {STOCKQUERY_EXPORT_PROGRAM,
                                              "journal",
                                              "--from",
                                              whole.dateFrom,
                                              "--to",
                                              whole.dateTo,
                                              "--server",
                                              "sqlite:" + file,
                                              "--database",
                                              "demo",
                                              "--user",
                                              "demo",
                                              "--output",
                                              ours};
    const std::vector<std::string> pipeline = {"sh", "-c",
                                               "sqlite3 -readonly -batch -tabs -cmd \"ATTACH '" +
                                                   file + "' AS dbo\" '" + file + "' < " + sql +
                                                   " | iconv -c -f UTF-8 -t CP936 > " + peer};
    const Comparison best = bestOfAlternating(
        arguments->runs, [&] { return measureProgram(command, "/dev/null", "/dev/null"); },
        [&] { return measureProgram(pipeline, "/dev/null", "/dev/null"); });
    std::printf("journal, whole, to text: stockquery-export %7.3f s %7.1f MB | sqlite3 | iconv "
                "%7.3f s %7.1f MB | ratio %.2f | target <= 1.0\n",
                best.ours.seconds, static_cast<double>(std::filesystem::file_size(ours)) / 1e6,
                best.peer.seconds, static_cast<double>(std::filesystem::file_size(peer)) / 1e6,
                best.ours.seconds / best.peer.seconds);
    for (const std::string& path : {sql, ours, peer})
        std::filesystem::remove(path);
    return 0;
}
