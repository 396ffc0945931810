// Writing the current-stock grid in each export format, beside the sqlite3 shell writing the
// same statement's rows as tab-separated text: all 1,000,000 rows in text, HTML and RTF (an
// Excel worksheet holds 65,536 rows), and the 49,517 rows of 轴承 in all four. Both write
// into nothing (the shell to /dev/null, the writers to a stream that only counts bytes), so
// that the disk's speed is no part of either figure.
//   export_bench LARGE_DEMO_FILE [RUNS]
#include "BenchArguments.h"
#include "DemoQuery.h"
#include "SqliteShell.h"
#include "common/ResultGrid.h"
#include "export/GridExportLayout.h"
#include "export/TDBGridExportAsHTML.h"
#include "export/TDBGridExportAsRTF.h"
#include "export/TDBGridExportAsText.h"
#include "export/TDBGridExportAsXLS.h"
#include "stock/CurrentStockColumns.h"
#include "stock/CurrentStockFields.h"
#include "stock/CurrentStockStatement.h"

#include <QApplication>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <ostream>
#include <streambuf>

namespace {

// A stream that counts what is written to it and keeps nothing.
class CountingBuffer : public std::streambuf {
public:
    std::size_t bytes = 0;

protected:
    int_type overflow(int_type c) override {
        ++bytes;
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char*, std::streamsize count) override {
        bytes += static_cast<std::size_t>(count);
        return count;
    }
};

template <typename Writer>
void benchWriter(const char* format, ResultGrid& grid, double peer, int runs) {
    const ExportLayout layout = exportLayout(grid);
    double best = 1e9;
    std::size_t bytes = 0;
    for (int i = 0; i < runs; ++i) {
        CountingBuffer counter;
        std::ostream out(&counter);
        best = std::min(best,
                        secondsOf([&] { Writer().WriteGridToStream(out, layout, grid.query()); }));
        bytes = counter.bytes;
    }
    const double mib = static_cast<double>(bytes) / 1048576.0;
    std::printf("%-6s %8.3f s %8.1f MiB | sqlite3 shell, tab-separated %8.3f s | ratio %.2f\n",
                format, best, mib, peer, best / peer);
}

} // namespace

int main(int argc, char** argv) {
    const auto arguments = benchArguments(argc, argv, "export_bench LARGE_DEMO_FILE [RUNS]", 3);
    if (!arguments)
        return 2;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const std::string& file = arguments->file;
    const int runs = arguments->runs;
    for (const char* name : {"", "轴承"}) {
        CurrentStockCriteria criteria;
        criteria.name = name;
        DemoQuery demo(file, currentStockStatement(criteria), currentStockFields());
        ResultGrid grid(demo.query, currentStockColumns(), kCurrentStockFrozenColumns);
        grid.setObjectName("dbg_xclinfo");
        grid.beginQueryChange();
        grid.endQueryChange();
        const double peer = bestShellSeconds(file, demo.query.commandText(), runs);
        std::printf("current-stock grid, %zu rows x %zu columns, best of %d:\n",
                    demo.query.rowCount(), currentStockColumns().size(), runs);
        benchWriter<TDBGridExportAsText>("text", grid, peer, runs);
        if (demo.query.rowCount() + 2 <= 65536)
            benchWriter<TDBGridExportAsXLS>("xls", grid, peer, runs);
        benchWriter<TDBGridExportAsHTML>("html", grid, peer, runs);
        benchWriter<TDBGridExportAsRTF>("rtf", grid, peer, runs);
    }
    return 0;
}
