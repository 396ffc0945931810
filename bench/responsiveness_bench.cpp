// How live the main window stays while its long work runs on the worker thread, and how soon
// a cancel takes effect.
//   responsiveness_bench LARGE_DEMO_FILE [RUNS]
// - The longest gap between two ticks of a 10 ms timer on the interface thread while the
//   current-stock query reads every row of the large demo, while a title click sorts them by
//   批号, while Ctrl+A, Ctrl+C copies them, while the text and HTML exports write them and
//   while 图表 adds them up and draws its window, beside the same gap over an idle window for
//   as long.
// - From the cancel call to the window being ready again, and to the connection being free for
//   the next statement (the interrupted one has ended): SQLite through the window, and ODBC
//   through the SQLite ODBC driver, whose fetch is stopped by SQLCancel. That driver now and
//   then corrupts its heap when cancelled, so its run is a child process of its own.
#include "BenchArguments.h"
#include "BenchProcess.h"
#include "MainWindowBench.h"
#include "PeerStatement.h"
#include "app/Tfrm_xclquery.h"
#include "db/odbc/OdbcBackend.h"
#include "export/TDBGridExportAsHTML.h"
#include "export/TDBGridExportAsText.h"
#include "forms/ExportCommand.h"
#include "grid/GridBody.h"
#include "grid/ResultGrid.h"
#include "journal/JournalFields.h"
#include "journal/JournalStatement.h"
#include "support/TickWatch.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <clocale>
#include <cstdio>
#include <filesystem>
#include <future>
#include <thread>

namespace {

struct Gaps {
    double busy = 0;
    double idle = 0;
    double seconds = 0;
};

// Runs `start` and turns the event loop until the window's work is done, noting the longest
// tick gap; then lets the window stand idle for as long and notes that gap too.
Gaps gapsOf(Tfrm_xclquery& window, const std::function<void()>& start) {
    Gaps gaps;
    {
        const TickWatch ticks;
        QElapsedTimer clock;
        clock.start();
        start();
        window.work().waitUntilDone();
        gaps.seconds = static_cast<double>(clock.elapsed()) / 1000.0;
        gaps.busy = ticks.longestGapMs();
    }
    const TickWatch ticks;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < static_cast<qint64>(gaps.seconds * 1000))
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    gaps.idle = ticks.longestGapMs();
    return gaps;
}

void reportGaps(const char* what, const Gaps& gaps, int targetMs = 50) {
    std::printf("%-36s longest tick gap %6.1f ms over %5.2f s | idle window %6.1f ms | target "
                "<= %d ms\n",
                what, gaps.busy, gaps.seconds, gaps.idle, targetMs);
}

template <typename Writer> WriterFactory writer() {
    return [] { return std::make_unique<Writer>(); };
}

// Starts the window's query, cancels it after half a second; seconds from the cancel call to
// the window being ready and to the connection answering the next statement.
std::pair<double, double> cancelWindowQuery(Tfrm_xclquery& window) {
    window.RunQuery();
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 500)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    const auto start = std::chrono::steady_clock::now();
    window.btn_cancel->click();
    const double ready =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (window.work().busy())
        std::printf("the window is still busy after the cancel\n");
    window.ado_conn.fetchAll("select 1 as one", {});
    const double free =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return {ready, free};
}

// The whole journal through the SQLite ODBC driver (row by row), cancelled after half a
// second: seconds from the cancel call to the end of the fetch.
double cancelOdbcFetch(const std::string& file) {
    std::setlocale(LC_ALL, "C.UTF-8");
    OdbcBackend odbc("DRIVER={SQLite3};StepAPI=1;DATABASE=" + file);
    JournalCriteria criteria;
    criteria.dateFrom = "1900-01-01";
    criteria.dateTo = "9999-12-31";
    const std::string text = peerStatement(joinedStatement(journalStatement(criteria)));
    WorkControl control;
    auto fetch = std::async(std::launch::async, [&] {
        try {
            odbc.fetchAll(text, journalFields(), control);
        } catch (const WorkCancelled&) {
        }
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const std::size_t rowsBefore = control.done();
    const auto start = std::chrono::steady_clock::now();
    control.cancel();
    fetch.get();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::fprintf(stderr, "%36s (%zu rows read when cancelled)\n", "", rowsBefore);
    return seconds;
}

void pressCtrl(QWidget* target, Qt::Key key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::ControlModifier);
    QApplication::sendEvent(target, &press);
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string_view(argv[1]) == "--odbc-cancel") {
        std::printf("%.6f 0\n", cancelOdbcFetch(argv[2]));
        return 0;
    }
    const auto arguments =
        benchArguments(argc, argv, "responsiveness_bench LARGE_DEMO_FILE [RUNS]", 3);
    if (!arguments)
        return 2;
    MainWindowBench bench(argc, argv, arguments->file,
                          "/tmp/stockquery-responsiveness-bench-settings");
    Tfrm_xclquery& window = bench.window;
    const std::string out = "/tmp/stockquery-responsiveness-bench";
    for (int run = 0; run < arguments->runs; ++run) {
        reportGaps("query, every current-stock row", gapsOf(window, [&] { window.RunQuery(); }));
        std::printf("%36s %s\n", "", window.Panel4->text().toStdString().c_str());
        const int batch = window.dbg_xclinfo->model()->columnOf("批号");
        reportGaps("title click sorting them by 批号",
                   gapsOf(window, [&] { emit window.dbg_xclinfo->titleClicked(batch); }));
        reportGaps("Ctrl+A, Ctrl+C of them", gapsOf(window, [&] {
                       pressCtrl(window.dbg_xclinfo->body(), Qt::Key_A);
                       pressCtrl(window.dbg_xclinfo->body(), Qt::Key_C);
                   }));
        std::printf("%36s %lld characters copied\n", "",
                    static_cast<long long>(QGuiApplication::clipboard()->text().size()));
        reportGaps("text export of them", gapsOf(window, [&] {
                       RunGridExport(window.work(), writer<TDBGridExportAsText>(),
                                     *window.dbg_xclinfo, QString::fromStdString(out + ".txt"),
                                     true, [](std::size_t) {});
                   }));
        reportGaps("HTML export of them", gapsOf(window, [&] {
                       RunGridExport(window.work(), writer<TDBGridExportAsHTML>(),
                                     *window.dbg_xclinfo, QString::fromStdString(out + ".html"),
                                     true, [](std::size_t) {});
                   }));
        reportGaps("图表 of them, until drawn",
                   gapsOf(window,
                          [&] {
                              window.ShowCharts();
                              window.work().waitUntilDone();
                              QElapsedTimer drawn; // the chart window paints after it is shown
                              drawn.start();
                              while (drawn.elapsed() < 300)
                                  QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents,
                                                                  20);
                          }),
                   17); // one frame
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == "frm_chart")
                top->close();
        ResultGrid& grid = *window.dbg_xclinfo;
        reportGaps("筛选 仓库名称 = the first row's", gapsOf(window, [&] {
                       grid.setColumnFilter(grid.cellFilter(grid.model()->columnOf("仓库名称"), 0,
                                                            ResultGrid::CellFilter::Equal));
                   }));
        std::printf("%36s %s\n", "", window.Panel4->text().toStdString().c_str());
        reportGaps("筛选 现存量 below the first row's", gapsOf(window, [&] {
                       grid.setColumnFilter(grid.cellFilter(grid.model()->columnOf("现存量"), 0,
                                                            ResultGrid::CellFilter::Below));
                   }));
        std::printf("%36s %s\n", "", window.Panel4->text().toStdString().c_str());
        reportGaps("清除筛选", gapsOf(window, [&] { grid.applyFilter({}); }));
        const auto [ready, free] = cancelWindowQuery(window);
        std::printf("%-36s window ready %8.4f s | connection free %8.4f s | target <= 0.2 s\n",
                    "cancel, SQLite", ready, free);
        const double odbcCancel = measureSelf({argv[0], "--odbc-cancel", arguments->file}).seconds;
        if (odbcCancel > 0)
            std::printf("%-36s fetch ended %8.4f s | target <= 0.2 s\n",
                        "cancel, ODBC (SQLite ODBC driver)", odbcCancel);
        else
            std::printf("%-36s the driver's process ended abnormally\n",
                        "cancel, ODBC (SQLite ODBC driver)");
    }
    std::filesystem::remove(out + ".txt");
    std::filesystem::remove(out + ".html");
    return 0;
}
