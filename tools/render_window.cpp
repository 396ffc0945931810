// Renders a query window with a result to a PNG, on Qt's offscreen platform, so that its grid
// can be looked at without a display:
//   render_window MODE DEMO_FILE OUT.png [ITEM_NAME] [WIDTH HEIGHT]
// Modes: main and journal (with its default dates, this year up to today) show the result;
// main-busy and journal-busy show the window half a second into its query (the journal with the
// rows that arrived so far), with the progress in its
// status bar; main-cancelled just after that query was cancelled; main-find with its find bar
// open on "b0001"; main-sorting just after a click on 批号's title; main-menu with the grid's
// context menu open on the third row; main-filter with two filters in force (the first row's
// warehouse, stock below 10) and main-filter-list the value list of 仓库名称; main-export with what
// 输出 shows first (the save dialog, or the note that a worksheet cannot hold the result) over the
// window; main-print and journal-print the print preview that 打印 opens (or the question before
// it), alone; main-chart and journal-chart the chart window that 图表 opens, alone, on its first
// chart (its second with a last argument "2"); summary with this month's summary (and summary-chart
// its charts); card and card-chart the stock card this year of the ITEM_NAME argument read as
// "WAREHOUSE:ITEM" codes; ageing and ageing-chart as of today in the default bands; link the
// connection dialog with its options open, filled as for a SQL Server; about 关于 on the demo. With
// --save-chart the chart shown is also saved as 保存图片 saves it, beside OUT.png as OUT-saved.png
// and OUT-saved.svg.
#include "ToolUsage.h"
#include "app/Tfrm_ageing.h"
#include "app/Tfrm_crquery.h"
#include "app/Tfrm_stockcard.h"
#include "app/Tfrm_summary.h"
#include "app/Tfrm_xclquery.h"
#include "forms/AboutBox.h"
#include "forms/ChartWindow.h"
#include "forms/QtChinese.h"
#include "forms/Tfrm_link.h"
#include "grid/FindBar.h"
#include "grid/GridBody.h"
#include "grid/GridHeader.h"
#include "grid/ResultGrid.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <string_view>
#include <type_traits>

namespace {

// Grabs the window with the first menu or dialog that `open` brings up drawn over it (at `at`
// in the window, else in its middle; without the window when `alone`), and closes that and
// whatever follows it.
bool renderWithPopup(QWidget& window, const QString& out, const std::function<void()>& open,
                     std::optional<QPoint> at = std::nullopt, bool alone = false) {
    bool saved = false;
    bool grabbed = false;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* popup = QApplication::activePopupWidget();
        if (!popup)
            popup = QApplication::activeModalWidget();
        for (QWidget* top : QApplication::topLevelWidgets())
            if (!popup && top->objectName() == "frm_chart" && top->isVisible())
                popup = top;
        if (!popup || popup == &window)
            return;
        if (!grabbed) {
            grabbed = true;
            if (alone) {
                // A preview's page count, for comparing with the PDF the command writes.
                if (const auto* pages = popup->findChild<QLabel*>("lbl_pages"))
                    std::printf("%s\n", pages->text().toUtf8().constData());
                saved = popup->grab().save(out);
                popup->close();
                return;
            }
            QPixmap shot = window.grab();
            const QPixmap over = popup->grab();
            QPainter(&shot).drawPixmap(at.value_or(shot.rect().center() - over.rect().center()),
                                       over);
            saved = shot.save(out);
        }
        popup->close();
    });
    poll.start();
    open();
    // A popup opened after work on a worker (the print preview) comes later.
    QElapsedTimer waited;
    waited.start();
    while (!grabbed && waited.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    return saved;
}

// Sets the item name and size, runs the query and renders the window without showing it
// (showing the main window would also run the start-up connection) as `mode` says.
template <typename Window>
bool render(Window& window, int argc, char** argv, std::string_view mode, bool saveChart) {
    // Qt's arguments, which on Windows come whole from the wide command line.
    const QStringList arguments = QCoreApplication::arguments();
    if constexpr (std::is_same_v<Window, Tfrm_stockcard>) {
        const QStringList codes = arguments.value(4).split(':');
        const QDate today = QDate::currentDate();
        window.QueryFor({codes.value(0).toStdString(), codes.value(1).toStdString(), std::nullopt,
                         QDate(today.year(), 1, 1).toString("yyyy-MM-dd").toStdString(),
                         today.toString("yyyy-MM-dd").toStdString()},
                        QString("存货：%1　仓库：%2").arg(codes.value(1), codes.value(0)));
    } else if (argc > 4) {
        window.edt_name->setText(arguments[4]);
    }
    window.resize(argc > 6 ? std::atoi(argv[5]) : 1280, argc > 6 ? std::atoi(argv[6]) : 720);
    const QString& out = arguments[3];
    window.RunQuery();
    if (mode.ends_with("-busy") || mode == "main-cancelled") {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 500)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
        if (mode == "main-cancelled")
            window.work().cancel();
        const bool saved = window.grab().save(out);
        window.work().cancel();
        return saved;
    }
    window.work().waitUntilDone();
    if (mode.ends_with("-print"))
        return renderWithPopup(
            window, out, [&] { window.tbn_print->click(); }, std::nullopt, true);
    if (mode.ends_with("-chart")) {
        const bool second = std::string_view(argv[argc - 1]) == "2";
        return renderWithPopup(
            window, out,
            [&] {
                window.ShowCharts();
                window.work().waitUntilDone();
                for (QWidget* top : QApplication::topLevelWidgets()) {
                    auto* chart = qobject_cast<ChartWindow*>(top);
                    if (!chart)
                        continue;
                    if (second)
                        chart->tabs()->setCurrentIndex(1);
                    QString failure;
                    const QString stem = out.chopped(QFileInfo(out).suffix().size() + 1);
                    if (saveChart && !(chart->saveChart(stem + "-saved.png", failure) &&
                                       chart->saveChart(stem + "-saved.svg", failure)))
                        std::fprintf(stderr, "%s\n", failure.toUtf8().constData());
                }
            },
            std::nullopt, true);
    }
    if constexpr (std::is_same_v<Window, Tfrm_xclquery>) {
        ResultGrid& grid = *window.dbg_xclinfo;
        if (mode == "main-find") {
            FindBar& bar = *grid.findBar();
            bar.open();
            bar.edit()->setText("b0001");
            while (!bar.hits())
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
        } else if (mode == "main-sorting") {
            emit window.dbg_xclinfo->titleClicked(grid.model()->columnOf("批号"));
            const bool saved = window.grab().save(out); // before the sort's end is heard of
            window.work().waitUntilDone();
            return saved;
        } else if (mode == "main-filter") {
            // Two filters: the first row's warehouse, and stock below 10.
            const int warehouse = grid.model()->columnOf("仓库名称");
            grid.setColumnFilter(grid.cellFilter(warehouse, 0, ResultGrid::CellFilter::Equal));
            window.work().waitUntilDone();
            ColumnFilter below =
                grid.cellFilter(grid.model()->columnOf("现存量"), 0, ResultGrid::CellFilter::Below);
            below.high = 10;
            grid.setColumnFilter(below);
            window.work().waitUntilDone();
        } else if (mode == "main-filter-list") {
            // A click on the filter mark of 仓库名称's title, as the user opens the list.
            GridHeader& titles = *grid.header();
            const QPointF mark(
                titles.sectionViewportPosition(grid.model()->columnOf("仓库名称")) + 6, 6);
            return renderWithPopup(
                window, out,
                [&] {
                    for (const QEvent::Type type :
                         {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
                        QMouseEvent click(
                            type, mark, titles.viewport()->mapToGlobal(mark), Qt::LeftButton,
                            type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, {});
                        QApplication::sendEvent(titles.viewport(), &click);
                    }
                    window.work().waitUntilDone();
                },
                std::nullopt, true);
        } else if (mode == "main-menu") {
            GridBody& body = *grid.body();
            body.setCurrentCell(2, 0);
            const QPoint at = body.cellRect(2, 2).center();
            return renderWithPopup(
                window, out,
                [&] {
                    QContextMenuEvent menu(QContextMenuEvent::Mouse, at, body.mapToGlobal(at));
                    QApplication::sendEvent(body.viewport(), &menu);
                },
                body.viewport()->mapTo(&window, at));
        } else if (mode == "main-export") {
            return renderWithPopup(window, out, [&] { window.ToolButton8->click(); });
        }
    }
    return window.grab().save(out);
}

// The connection dialog as a person fills it for a company's SQL Server, its options open.
bool renderConnectionDialog(Connection& connection, const char* out) {
    Tfrm_link link(connection);
    link.Edit1->setText("erp-server\\ERP");
    link.Edit2->setText("UFDATA_001_2026");
    link.Edit3->setText("stock");
    link.Edit4->setText("password");
    link.optionsButton->setChecked(true);
    return link.grab().save(out);
}

} // namespace

constexpr const char* kUsage =
    "render_window "
    "main|journal|main-busy|journal-busy|main-cancelled|main-find|main-sorting|main-menu|"
    "main-export|main-filter|main-filter-list|main-print|journal-print|main-chart|journal-chart|"
    "summary|summary-chart|card|card-chart|ageing|ageing-chart|link|"
    "about DEMO_FILE OUT.png [ITEM_NAME] "
    "[WIDTH HEIGHT] "
    "[2] [--save-chart] [-platform NAME]";

int main(int argc, char** argv) {
    if (const auto status = helpOrUnknownOption(argc, argv, kUsage, {"-platform", "--save-chart"}))
        return *status;
    const std::string_view which = argc > 1 ? argv[1] : "";
    const std::set<std::string_view> modes = {"main",
                                              "journal",
                                              "main-busy",
                                              "journal-busy",
                                              "main-cancelled",
                                              "main-find",
                                              "main-sorting",
                                              "main-menu",
                                              "main-export",
                                              "main-filter",
                                              "main-filter-list",
                                              "main-print",
                                              "main-chart",
                                              "journal-chart",
                                              "journal-print",
                                              "summary",
                                              "summary-chart",
                                              "card",
                                              "card-chart",
                                              "ageing",
                                              "ageing-chart",
                                              "link",
                                              "about"};
    if (argc < 4 || !modes.contains(which)) {
        std::fprintf(stderr, "usage: %s\n", kUsage);
        return 2;
    }
    // Offscreen unless Qt's -platform names another (under Wine: windows, the platform people
    // use, whose fonts lay out the pages).
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    // Our option is taken out as Qt takes out its own, so that the others keep their places;
    // Qt's arguments (whole on Windows) leave out what was taken out of argv after it saw them.
    const auto optionEnd = std::remove(argv + 1, argv + argc, std::string_view("--save-chart"));
    const bool saveChart = optionEnd != argv + argc;
    argc = static_cast<int>(optionEnd - argv);
    installQtChinese(); // as the program does
    useChineseWithoutSystemLocale(QLocale::system());
    Tfrm_xclquery main;
    main.setAttribute(Qt::WA_DeleteOnClose, false);
    main.ado_conn.setSettings(
        {"sqlite:" + std::filesystem::absolute(argv[2]).string(), "demo", "demo", ""});
    main.ado_conn.open();
    main.showConnection();
    bool rendered = false;
    if (which.starts_with("journal")) {
        Tfrm_crquery journal(main.ado_conn);
        journal.FormShow();
        rendered = render(journal, argc, argv, which, saveChart);
    } else if (which.starts_with("summary")) {
        Tfrm_summary summary(main.ado_conn);
        summary.FormShow();
        rendered = render(summary, argc, argv, which, saveChart);
    } else if (which.starts_with("ageing")) {
        Tfrm_ageing ageing(main.ado_conn);
        ageing.FormShow();
        rendered = render(ageing, argc, argv, which, saveChart);
    } else if (which == "link") {
        rendered = renderConnectionDialog(main.ado_conn, argv[3]);
    } else if (which == "about") {
        AboutBox about(main.ado_conn, nullptr);
        rendered = about.grab().save(argv[3]);
    } else if (which.starts_with("card")) {
        Tfrm_stockcard card(main.ado_conn);
        rendered = render(card, argc, argv, which, saveChart);
    } else {
        rendered = render(main, argc, argv, which, saveChart);
    }
    if (!rendered) {
        std::fprintf(stderr, "render_window: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
