// What a person meets on a desktop, proven the way the person meets it: on Qt's xcb platform
// under a window manager (run by on-desktop.sh, at 1280×800 and at 1024×600), the pointer moved
// on the X server, buttons and keys pressed through it, and read back as shown: the tooltip
// visible and its text, where windows lie against the screen, the pixels of a grab.
#include "desktop/Desktop.h"
#include "app/Tfrm_ageing.h"
#include "app/Tfrm_crquery.h"
#include "app/Tfrm_stockcard.h"
#include "app/Tfrm_summary.h"
#include "app/Tfrm_xclquery.h"
#include "db/UsedLibraries.h"
#include "forms/AboutBox.h"
#include "forms/ChartWindow.h"
#include "forms/ConnectionStatus.h"
#include "forms/PrintPreview.h"
#include "forms/Tfrm_link.h"
#include "forms/Tfrm_store.h"
#include "forms/UserManual.h"
#include "grid/FilterDialog.h"
#include "grid/GridBody.h"
#include "grid/GridFooter.h"
#include "grid/GridHeader.h"
#include "grid/ResultGrid.h"
#include "support/MainOnDemo.h"
#include "support/Patience.h"
#include "support/WhenOpen.h"
#include "support/tds/ErpTdsResponder.h"
#include "support/tds/TdsServer.h"
#include "table/ResultTableModel.h"

#include <QAbstractBarSeries>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QDateEdit>
#include <QDateTime>
#include <QGraphicsView>
#include <QHorizontalBarSeries>
#include <QHorizontalStackedBarSeries>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedBarSeries>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>

#include <functional>

using namespace desktop;

namespace {

// The main window on the demo, shown: its start-up connection made to the demo as stored.
struct ShownMain : MainOnDemo {
    ShownMain() {
        settings.store({"sqlite:" + demoDatabasePath(), "d", "u", ""});
        if (raised(main))
            main.work().waitUntilDone();
    }
};

// The desktop's browser for documents (xdg-open, first on the PATH) made to write down what it
// is asked to open, one line each.
class RecordingBrowser {
public:
    RecordingBrowser() {
        QFile script(folder_.filePath("xdg-open"));
        if (script.open(QIODevice::WriteOnly))
            script.write(QString("#!/bin/sh\nprintf '%s\\n' \"$1\" >>'%1'\n")
                             .arg(folder_.filePath("opened"))
                             .toUtf8());
        script.setPermissions(script.permissions() | QFile::ExeOwner);
        qputenv("PATH", (folder_.path() + ":" + qEnvironmentVariable("PATH")).toUtf8());
    }
    ~RecordingBrowser() { qputenv("PATH", path_); }
    // The last page opened, once there is one more than `before`.
    QString opened(int count) const {
        QStringList lines;
        (void)QTest::qWaitFor(
            [&] {
                QFile file(folder_.filePath("opened"));
                lines = file.open(QIODevice::ReadOnly)
                            ? QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts)
                            : QStringList{};
                return lines.size() >= count;
            },
            kEventWait);
        return lines.size() == count ? lines.last() : QString("%1 opened").arg(lines.size());
    }

private:
    QByteArray path_ = qgetenv("PATH");
    QTemporaryDir folder_;
};

// The chart window that 图表 of `window` opens, by a click of the real pointer.
ChartWindow* openCharts(QueryWindowFrame& frame) {
    click(*frame.tbn_chart);
    ChartWindow* charts = nullptr;
    (void)QTest::qWaitFor(
        [&] {
            for (QWidget* top : QApplication::topLevelWidgets())
                if (auto* window = qobject_cast<ChartWindow*>(top); window && window->isVisible())
                    charts = window;
            return charts != nullptr;
        },
        kEventWait);
    return charts;
}

// Where on the screen a point of the chart's series lies.
QPoint onScreen(QChart& chart, QAbstractSeries* series, QPointF value) {
    const QPointF inChart = chart.mapToPosition(value, series);
    QGraphicsView* view = chart.scene()->views().first();
    return view->viewport()->mapToGlobal(view->mapFromScene(chart.mapToScene(inChart)));
}

// The number after "：" in a tooltip's last line.
double figureIn(const QString& tip) {
    return tip.section("：", -1).toDouble();
}

// Rests the pointer on the middle of every bar big enough to rest on, and checks the tooltip
// shown there names that bar's own group, its series and its figure; the number of bars rested
// on.
int restOnEveryBar(QChart& chart) {
    auto* series = qobject_cast<QAbstractBarSeries*>(chart.series().first());
    const bool stacked = qobject_cast<QStackedBarSeries*>(series) != nullptr ||
                         qobject_cast<QHorizontalStackedBarSeries*>(series) != nullptr;
    const bool across = qobject_cast<QHorizontalBarSeries*>(series) != nullptr ||
                        qobject_cast<QHorizontalStackedBarSeries*>(series) != nullptr;
    const QStringList categories =
        qobject_cast<QBarCategoryAxis*>(series->attachedAxes().first())->categories();
    const int sets = series->count();
    const qreal width = series->barWidth();
    int rested = 0;
    for (int s = 0; s < sets; ++s) {
        QBarSet* set = series->barSets()[s];
        for (int bar = 0; bar < set->count(); ++bar) {
            // Side by side, or stacked on the parts before it that go the same way.
            const qreal across_ = stacked ? bar : bar - width / 2 + (s + 0.5) * width / sets;
            qreal start = 0;
            for (int before = 0; stacked && before < s; ++before) {
                const qreal part = series->barSets()[before]->at(bar);
                start += (part > 0) == (set->at(bar) > 0) ? part : 0;
            }
            const qreal half = start + set->at(bar) / 2;
            const QPointF middle = across ? QPointF(half, across_) : QPointF(across_, half);
            const QPointF base = across ? QPointF(start, across_) : QPointF(across_, start);
            const QPoint at = onScreen(chart, series, middle);
            // No bar to rest on; a stacked part has parts on either side to miss it for.
            if ((at - onScreen(chart, series, base)).manhattanLength() < (stacked ? 8 : 4))
                continue;
            movePointer(at);
            const QString expected = categories[bar] + "\n" + set->label() + "：";
            const bool shown = QTest::qWaitFor(
                [&] { return QToolTip::isVisible() && QToolTip::text().startsWith(expected); },
                kEventWait);
            if (!shown)
                qWarning() << "bar" << bar << "of" << set->label() << "at" << at << "pointer"
                           << QCursor::pos() << "shows" << QToolTip::text();
            if (!shown || std::abs(figureIn(QToolTip::text()) - set->at(bar)) > 0.00005)
                return -1;
            ++rested;
        }
    }
    return rested;
}

// Rests the pointer on the middle of every level stretch of a step line, and checks the tooltip
// names the day the stretch starts on and the balance it stands at; the number rested on.
int restOnEveryStep(QChart& chart) {
    auto* line = qobject_cast<QLineSeries*>(chart.series().first());
    const QList<QPointF> points = line->points();
    int rested = 0;
    for (int i = 0; i + 1 < points.size(); i += 2) {
        const QPointF from = points[i], to = points[i + 1];
        if ((onScreen(chart, line, to) - onScreen(chart, line, from)).x() < 8)
            continue; // the next line is on the same day, or too close to rest between
        movePointer(onScreen(chart, line, QPointF((from.x() + to.x()) / 2, from.y())));
        const QString day = QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(from.x()))
                                .date()
                                .toString("yyyy-MM-dd");
        const bool shown = QTest::qWaitFor(
            [&] {
                return QToolTip::isVisible() && QToolTip::text().startsWith(day + "\n结存数量：");
            },
            kEventWait);
        if (!shown)
            qWarning() << "the step from" << day << "shows" << QToolTip::text();
        if (!shown || std::abs(figureIn(QToolTip::text()) - from.y()) > 0.00005)
            return -1;
        ++rested;
    }
    return rested;
}

// `window` raised and still the active window a moment later.
bool staysActive(QWidget& window) {
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (raised(window)) {
            QTest::qWait(300);
            if (window.isActiveWindow())
                return true;
        }
    }
    return false;
}

// Every tab of the chart window, chosen by a click on it, rested on bar by bar or step by step.
void restOnEveryChart(ChartWindow& charts) {
    QTRY_VERIFY(withinItsScreen(charts));
    // Active, as tooltips show only in the active window: focus asked for earlier (the click on
    // 图表) may reach a slow program after the chart window came up.
    QVERIFY(staysActive(charts));
    for (int tab = 0; tab < charts.tabs()->count(); ++tab) {
        QTabBar& tabs = *charts.tabs()->tabBar();
        click(tabs, tabs.tabRect(tab).center());
        QTRY_COMPARE(charts.tabs()->currentIndex(), tab);
        QChart& chart = *charts.chart(tab);
        QTRY_VERIFY(chart.plotArea().width() > 0);
        QTest::qWait(100); // painted
        const bool steps = qobject_cast<QLineSeries*>(chart.series().first()) != nullptr;
        const int rested = steps ? restOnEveryStep(chart) : restOnEveryBar(chart);
        if (QTest::currentTestFailed())
            return;
        QVERIFY2(rested > 0, qPrintable(charts.tabs()->tabText(tab)));
        movePointer(charts.mapToGlobal(QPoint(2, 2))); // off the chart: the tip goes
        QTRY_VERIFY(!QToolTip::isVisible());
    }
    charts.close();
}

// `window` raised, its query run, and every chart of its 图表 rested on.
void queryAndRestOnItsCharts(QWidget& window, QueryWindowFrame& frame) {
    if (QTest::currentTestFailed())
        return;
    QVERIFY(raised(window));
    frame.RunQuery();
    frame.work().waitUntilDone();
    ChartWindow* charts = openCharts(frame);
    QVERIFY(charts);
    restOnEveryChart(*charts);
    // Closed, it gives the front back to the window it was asked from (before the next comes).
    QVERIFY(QTest::qWaitForWindowActive(&window, kEventWait));
}

// The height of the ink (pixels much darker than a footer's colour) in `image`: the height of
// the text drawn there.
int inkHeight(const QImage& image) {
    int top = -1, bottom = -1;
    for (int y = 1; y < image.height() - 1; ++y)
        for (int x = 1; x < image.width() - 1; ++x)
            if (qGray(image.pixel(x, y)) < 100) {
                top = top < 0 ? y : top;
                bottom = y;
                break;
            }
    return top < 0 ? 0 : bottom - top + 1;
}

// The runs of rows of `image` that hold ink (anything but the white of a list) within its
// columns `left` to `right`: each check box of a list is one run, as long as the boxes do not
// touch.
std::vector<std::pair<int, int>> inkRuns(const QImage& image, int left, int right) {
    std::vector<std::pair<int, int>> runs;
    bool inRun = false;
    for (int y = 0; y < image.height(); ++y) {
        bool ink = false;
        for (int x = left; x <= right && !ink; ++x)
            ink = qGray(image.pixel(x, y)) < 225;
        if (ink && !inRun)
            runs.emplace_back(y, y);
        if (ink)
            runs.back().second = y;
        inRun = ink;
    }
    return runs;
}

} // namespace

class DesktopTest : public QObject {
    Q_OBJECT
private slots:
    void everySumOfTheJournalsFooterIsDrawnInOneFontAndWhole() {
        ShownMain w;
        Tfrm_crquery journal(w.main.ado_conn);
        journal.FormShow();
        QVERIFY(raised(journal));
        journal.RunQuery();
        journal.work().waitUntilDone();
        ResultGrid& grid = *journal.dbg_crinfo;
        QTest::qWait(300); // painted
        std::vector<int> heights;
        for (const char* field : {"入库数量", "出库数量"}) {
            const int column = grid.model()->columnOf(field);
            const QRect cell = grid.footer()->cellRect(column);
            QVERIFY(grid.footer()->rect().contains(cell));
            // As the screen shows it.
            const QPoint at = grid.footer()->mapToGlobal(cell.topLeft());
            const QImage shown = journal.screen()
                                     ->grabWindow(0, at.x(), at.y(), cell.width(), cell.height())
                                     .toImage();
            heights.push_back(inkHeight(shown));
            const FooterCell sum = grid.footerCell(column);
            QVERIFY2(QFontMetrics(sum.font).horizontalAdvance(sum.text) < cell.width() - 4, field);
        }
        QVERIFY(heights[0] > 6);
        QCOMPARE(heights[1], heights[0]);
    }

    void theWarehousePickersCheckBoxesStandApart() {
        ShownMain w;
        QVERIFY(whenOpen<Tfrm_store>(
            [&] { click(*w.main.BitBtn1); },
            [](Tfrm_store& picker) {
                QVERIFY(QTest::qWaitForWindowActive(&picker,
                                                    kEventWait)); // mapped, so grabbed as shown
                QListWidget& list = *picker.clb_store;
                QTRY_VERIFY(list.count() >= 20);
                QTest::qWait(200); // painted
                // The rows shown whole (on a low screen the list scrolls).
                QRect shownRows = list.visualItemRect(list.item(0));
                int rows = 1;
                for (; rows < list.count(); ++rows) {
                    const QRect row = list.visualItemRect(list.item(rows));
                    if (row.bottom() >= list.viewport()->height())
                        break;
                    shownRows = shownRows.united(row);
                }
                const QPoint at = list.viewport()->mapToGlobal(shownRows.topLeft());
                const QImage shown = picker.screen()
                                         ->grabWindow(0, at.x(), at.y(), 16, shownRows.height())
                                         .toImage();
                // As many boxes as rows, a gap of at least two pixel rows between one and the next.
                const auto boxes = inkRuns(shown, 0, 15);
                QVERIFY(rows >= 10);
                QCOMPARE(static_cast<int>(boxes.size()), rows);
                for (std::size_t i = 1; i < boxes.size(); ++i)
                    QVERIFY2(boxes[i].first - boxes[i - 1].second > 2,
                             qPrintable(QString::number(i)));
            }));
    }

    void aSearchTypedInTheFilterListKeepsTheValuesFoundOnEnter() {
        ShownMain w;
        w.query("");
        ResultGrid& grid = *w.main.dbg_xclinfo;
        const int column = grid.model()->columnOf("存货编码");
        const ResultQuery& rows = grid.query();
        std::size_t found = 0;
        for (std::size_t row = 0; row < rows.rowCount(); ++row)
            found += rows.result().column(rows.fieldIndex("存货编码")).text(row).find("000001") !=
                     std::string_view::npos;
        QVERIFY(found > 0 && found < rows.rowCount());
        // The filter mark in the title's top left corner.
        GridHeader& titles = *grid.body()->frozenHeader();
        QPoint mark(-1, -1);
        for (int y = 0; y < titles.height() && mark.x() < 0; ++y)
            for (int x = titles.sectionViewportPosition(column); x < titles.width(); ++x)
                if (titles.filterMarkAt({x, y}) == column) {
                    mark = {x + 2, y + 2};
                    break;
                }
        QVERIFY(mark.x() >= 0);
        QVERIFY(whenOpen<FilterDialog>([&] { click(*titles.viewport(), mark); },
                                       [](FilterDialog& filter) {
                                           QVERIFY(raised(filter));
                                           click(*filter.findChild<QLineEdit*>("edt_filterSearch"));
                                           type("000001");
                                           press("Return");
                                       }));
        QTRY_COMPARE(rows.rowCount(), found);
        for (std::size_t position = 0; position < rows.rowCount(); ++position)
            QVERIFY(rows.result()
                        .column(rows.fieldIndex("存货编码"))
                        .text(rows.rowAt(position))
                        .find("000001") != std::string_view::npos);
    }

    void aNewQueryCountsAfreshOpensAtItsFirstRowAndMarksOnlyRowsInItsOrder() {
        TdsServerOptions holding;
        holding.holdAfterBytes = 1 << 20;
        TdsServer server(ErpTdsResponder(demoDatabasePath()), holding);
        server.releaseHeldAnswer();
        SettingsSandbox settings;
        settings.store({server.address(), "erp_2026", "reader", "pw"});
        Tfrm_xclquery main;
        main.setAttribute(Qt::WA_DeleteOnClose, false);
        QVERIFY(raised(main));
        main.work().waitUntilDone();
        QVERIFY(main.ado_conn.isOpen());
        click(*main.tbn_query);
        main.work().waitUntilDone();
        ResultGrid& grid = *main.dbg_xclinfo;
        const QString counted = main.Panel4->text();
        QCOMPARE(counted, "记录数为：" + QString::number(grid.query().rowCount()));
        // The title of 现存量 as the screen shows it, before and after a click sorts by it.
        GridHeader& titles = *grid.header();
        const int column = grid.model()->columnOf("现存量");
        const QRect section(titles.sectionViewportPosition(column), 0, titles.sectionSize(column),
                            titles.height());
        const auto title = [&] {
            QTest::qWait(100); // painted
            const QPoint at = titles.viewport()->mapToGlobal(section.topLeft());
            return main.screen()
                ->grabWindow(0, at.x(), at.y(), section.width(), section.height())
                .toImage();
        };
        const QImage unsorted = title();
        click(*titles.viewport(), section.center() + QPoint(0, 4));
        main.work().waitUntilDone();
        QCOMPARE(grid.query().sortOrder(), std::string("现存量 ASC"));
        const QImage sorted = title();
        QVERIFY(sorted != unsorted);
        // Far down the rows, by keys.
        click(*grid.body()->viewport(), QPoint(60, 10));
        press("ctrl+End");
        QTRY_VERIFY(grid.body()->verticalScrollBar()->value() > 0);

        // The next query: its count is no other query's, its rows open at the first, and its
        // title is marked only once the rows are in that order.
        server.holdAgain();
        click(*main.tbn_query);
        QVERIFY(main.work().busy());
        if (grid.query().rowCount() == 0)
            QCOMPARE(main.Panel4->text(), QString("正在查询……"));
        QTRY_VERIFY_WITH_TIMEOUT(grid.query().rowCount() > 0, kEventWait);
        QVERIFY(main.work().busy()); // the rest is held
        QCOMPARE(grid.body()->verticalScrollBar()->value(), 0);
        QCOMPARE(grid.body()->currentRow(), 0);
        QCOMPARE(title(), unsorted);
        server.releaseHeldAnswer();
        main.work().waitUntilDone();
        QCOMPARE(main.Panel4->text(), counted);
        QCOMPARE(title(), sorted);
        // Sorted once the last row is in, the place nobody moved from is the first row still.
        QCOMPARE(grid.body()->currentRow(), 0);
        QCOMPARE(grid.body()->verticalScrollBar()->value(), 0);
    }

    void everyWindowOpensWithinItsScreen() {
        ShownMain w;
        QTRY_VERIFY(withinItsScreen(w.main));
        w.query("轴承");
        // The modal ones, opened by a click on their buttons.
        QVERIFY(whenOpen<PrintPreview>([&] { click(*w.main.tbn_print); },
                                       [](PrintPreview& preview) {
                                           QTRY_VERIFY(withinItsScreen(preview));
                                           QVERIFY(preview.height() >= 300);
                                       }));
        QVERIFY(
            whenOpen<Tfrm_store>([&] { click(*w.main.BitBtn1); },
                                 [](Tfrm_store& picker) { QTRY_VERIFY(withinItsScreen(picker)); }));
        ChartWindow* charts = openCharts(w.main);
        QVERIFY(charts);
        QTRY_VERIFY(withinItsScreen(*charts));
        // Its buttons are on the screen, and answer a click there.
        QPushButton* close = nullptr;
        for (QPushButton* button : charts->findChildren<QPushButton*>())
            close = button->text() == "关闭" ? button : close;
        QVERIFY(close);
        QVERIFY(charts->screen()->availableGeometry().contains(
            close->mapToGlobal(close->rect().bottomRight())));
        const QPointer<ChartWindow> closing(charts); // it goes when closed
        click(*close);
        QTRY_VERIFY(!closing || !closing->isVisible());

        Tfrm_crquery journal(w.main.ado_conn);
        journal.FormShow();
        QVERIFY(raised(journal));
        QTRY_VERIFY(withinItsScreen(journal));
        Tfrm_summary summary(w.main.ado_conn);
        QVERIFY(raised(summary));
        QTRY_VERIFY(withinItsScreen(summary));
        Tfrm_stockcard card(w.main.ado_conn);
        QVERIFY(raised(card));
        QTRY_VERIFY(withinItsScreen(card));
        Tfrm_ageing ageing(w.main.ado_conn);
        QVERIFY(raised(ageing));
        QTRY_VERIFY(withinItsScreen(ageing));
    }

    void theConnectionDialogGrowsWithinTheScreenAndTestsAtAClick() {
        ShownMain w;
        QVERIFY(whenOpen<Tfrm_link>(
            [&] { click(*w.main.ToolButton2); },
            [](Tfrm_link& link) {
                QTRY_VERIFY(withinItsScreen(link));
                // A hand clicks once the dialog is up and has the focus; a click before that
                // lands on the window manager's frame or nowhere.
                QVERIFY(QTest::qWaitForWindowActive(&link, kEventWait));
                QVERIFY(!link.testButton->isVisible());
                click(*link.optionsButton);
                QTRY_VERIFY(link.testButton->isVisible());
                // Grown by its options, it is still whole on the screen, 测试连接 included.
                QTRY_VERIFY(withinItsScreen(link));
                QVERIFY(link.screen()->availableGeometry().contains(
                    link.testButton->mapToGlobal(link.testButton->rect().bottomRight())));
                QString told;
                QVERIFY(whenOpen<QMessageBox>([&] { click(*link.testButton); },
                                              [&](QMessageBox& box) {
                                                  told = box.text();
                                                  box.accept();
                                              }));
                QVERIFY2(told.startsWith("连接成功！\n服务器：SQLite "), qPrintable(told));
                link.reject();
            }));
    }

    void aboutOpensWithinItsScreenAndCopiesAllItTells() {
        ShownMain w;
        QVERIFY(whenOpen<AboutBox>(
            [&] { click(*w.main.tbn_about); },
            [&](AboutBox& about) {
                QTRY_VERIFY(withinItsScreen(about));
                QVERIFY(QTest::qWaitForWindowActive(&about, kEventWait));
                const QStringList lines = about.text->toPlainText().split('\n');
                QVERIFY2(lines.value(1).startsWith("版本 0."), qPrintable(lines.value(1)));
                // Every library the database side uses, with the version it tells.
                for (const UsedLibrary& library : databaseLibraries())
                    QVERIFY2(
                        lines.contains(QString::fromStdString(library.name + " " + library.version +
                                                              "（" + library.licence + "）")),
                        library.name.c_str());
                // The connection in use, as the status bar and its hover name it.
                const QStringList connection = QStringList{connectionStatusText(w.main.ado_conn)} +
                                               connectionDetailsText(w.main.ado_conn).split('\n');
                QCOMPARE(lines.mid(lines.size() - connection.size()), connection);
                QApplication::clipboard()->clear();
                click(*about.copyButton);
                QTRY_COMPARE(QApplication::clipboard()->text(), about.text->toPlainText());
                click(*about.closeButton);
                QTRY_VERIFY(!about.isVisible());
            }));
    }

    void helpAndF1OpenTheManualAtThePageOfTheWindowTheyAreIn() {
        installManualKey(*qApp); // as the program does
        RecordingBrowser browser;
        const QString manual = QUrl::fromLocalFile(manualFolder()).toString();
        QVERIFY2(QFileInfo::exists(manualFolder() + "/images/stock.png"), qPrintable(manual));
        int opened = 0;
        const auto opens = [&](const char* page) {
            const QString url = browser.opened(++opened);
            QVERIFY2(url == manual + "/" + page + ".html", qPrintable(url));
            QVERIFY(QFileInfo::exists(QUrl(url).toLocalFile()));
        };
        ShownMain w;
        click(*w.main.tbn_help);
        opens("index");
        click(*w.main.edt_name);
        press("F1");
        opens("stock");
        Tfrm_crquery journal(w.main.ado_conn);
        Tfrm_summary summary(w.main.ado_conn);
        Tfrm_stockcard card(w.main.ado_conn);
        Tfrm_ageing ageing(w.main.ado_conn);
        for (auto [window, page] :
             std::initializer_list<std::pair<QWidget*, const char*>>{{&journal, "journal"},
                                                                     {&summary, "summary"},
                                                                     {&card, "card"},
                                                                     {&ageing, "ageing"}}) {
            QVERIFY(raised(*window));
            press("F1");
            opens(page);
            window->hide();
        }
        QVERIFY(whenOpen<Tfrm_link>([&] { click(*w.main.ToolButton2); },
                                    [&](Tfrm_link& link) {
                                        QVERIFY(QTest::qWaitForWindowActive(&link, kEventWait));
                                        press("F1");
                                        opens("connection");
                                    }));
        QVERIFY(whenOpen<AboutBox>([&] { click(*w.main.tbn_about); },
                                   [&](AboutBox& about) {
                                       QVERIFY(QTest::qWaitForWindowActive(&about, kEventWait));
                                       press("F1");
                                       opens("index");
                                   }));
        w.main.RunQuery();
        w.main.work().waitUntilDone();
        ChartWindow* charts = openCharts(w.main);
        QVERIFY(charts && QTest::qWaitForWindowActive(charts, kEventWait));
        press("F1");
        opens("charts");
        charts->close();
    }

    void everyBarAndStepOfEveryChartShowsItsOwnFigureWhereThePointerRests() {
        ShownMain w;
        queryAndRestOnItsCharts(w.main, w.main);
        Tfrm_crquery journal(w.main.ado_conn);
        journal.FormShow();
        queryAndRestOnItsCharts(journal, journal);
        Tfrm_summary summary(w.main.ado_conn);
        summary.FormShow();
        queryAndRestOnItsCharts(summary, summary);
        Tfrm_stockcard card(w.main.ado_conn);
        card.edt_whcode->setText("12");
        card.edt_code->setText("0002091");
        card.dates->setDate(QDate(QDate::currentDate().year() - 1, 1, 1));
        queryAndRestOnItsCharts(card, card);
        Tfrm_ageing ageing(w.main.ado_conn);
        ageing.FormShow();
        ageing.edt_bands->setText("30,180,365");
        queryAndRestOnItsCharts(ageing, ageing);
    }
};

QTEST_MAIN(DesktopTest)
#include "DesktopTest.moc"
