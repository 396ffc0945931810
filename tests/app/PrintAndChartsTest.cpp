// 打印 and 图表 in both windows on the demo: the preview, the print to a PDF printer read back by
// pdftotext, the picked rows, the question before a long print, and the chart windows' figures
// against the grid's footers, warehouses of one name kept apart, and their saved pictures (what
// the pointer shows over them is proven on the desktop, tests/desktop).
#include "app/Tfrm_crquery.h"
#include "app/Tfrm_stockcard.h"
#include "app/Tfrm_summary.h"
#include "app/Tfrm_xclquery.h"
#include "export/TDBGridExportAsPDF.h"
#include "forms/ChartWindow.h"
#include "forms/PrintCommand.h"
#include "forms/PrintPreview.h"
#include "grid/GridBody.h"
#include "grid/GridExportLayout.h"
#include "grid/ResultGrid.h"
#include "pages/PagePainter.h"
#include "support/ContextMenuEntry.h"
#include "support/DemoDatabasePath.h"
#include "support/MainOnDemo.h"
#include "support/MessageBoxWatcher.h"
#include "support/Patience.h"
#include "support/Poppler.h"
#include "support/SettingsSandbox.h"
#include "support/TempDir.h"
#include "support/WhenOpen.h"
#include "table/BackgroundJob.h"
#include "table/ResultTableModel.h"

#include <QAbstractBarSeries>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QSvgRenderer>
#include <QToolButton>
#include <QWheelEvent>
#include <QtTest>

#include <fstream>
#include <functional>

namespace {

// The window's action for Ctrl+P.
QAction* ctrlP(QWidget& window) {
    for (QAction* action : window.actions())
        if (action->shortcut() == QKeySequence(QKeySequence::Print))
            return action;
    return nullptr;
}

// 打印… in the preview, the print dialog accepted, the printer writing the PDF file `pdf`.
void printToPdfFile(PrintPreview& preview, const QString& pdf) {
    preview.printer().setOutputFormat(QPrinter::PdfFormat);
    preview.printer().setOutputFileName(pdf);
    QTimer::singleShot(0, [] {
        QTRY_VERIFY(qobject_cast<QPrintDialog*>(QApplication::activeModalWidget()));
        qobject_cast<QPrintDialog*>(QApplication::activeModalWidget())->accept();
    });
    preview.askToPrint();
}

// Whether the page view shows something besides white paper: the page's ink.
bool pageHasInk(QWidget& view) {
    const QImage shot = view.grab().toImage();
    int dark = 0;
    for (int y = 0; y < shot.height(); y += 2)
        for (int x = 0; x < shot.width(); x += 2)
            dark += qGray(shot.pixel(x, y)) < 80;
    return dark > 200;
}

// A bar series' values added up, in ten-thousandths as the footer keeps them.
std::int64_t added(const QBarSet& set) {
    std::int64_t total = 0;
    for (int i = 0; i < set.count(); ++i)
        total += std::llround(set.at(i) * 10000);
    return total;
}

std::int64_t footerTotal(const ResultGrid& grid, const char* field) {
    const std::vector<std::string>& fields = grid.sums().fields();
    const auto at = std::find(fields.begin(), fields.end(), field) - fields.begin();
    return grid.sums().total(static_cast<std::size_t>(at));
}

QBarSet* barSet(const ChartWindow& charts, int chart, int set) {
    auto* series = qobject_cast<QAbstractBarSeries*>(charts.chart(chart)->series().first());
    return series->barSets()[set];
}

QStringList categoriesOf(const ChartWindow& charts, int chart) {
    auto* series = qobject_cast<QAbstractBarSeries*>(charts.chart(chart)->series().first());
    return qobject_cast<QBarCategoryAxis*>(series->attachedAxes().first())->categories();
}

QBarSet* barSetNamed(const ChartWindow& charts, int chart, const QString& label) {
    auto* series = qobject_cast<QAbstractBarSeries*>(charts.chart(chart)->series().first());
    for (QBarSet* set : series->barSets())
        if (set->label() == label)
            return set;
    return nullptr;
}

} // namespace

class PrintAndChartsTest : public QObject {
    Q_OBJECT
private slots:
    void thePreviewShowsTheFirstPageAtOnceTurnsPagesAndPrintsToAPdfPrinter() {
        MainOnDemo w;
        w.query("轴承");
        TempDir dir;
        const QString pdf = QString::fromStdString((dir / "printed.pdf").string());
        int pages = 0;
        QRectF printable;
        const bool opened = whenOpen<PrintPreview>(
            [&] { ctrlP(w.main)->trigger(); },
            [&](PrintPreview& preview) {
                auto* count = preview.findChild<QLabel*>("lbl_pages");
                auto* view = preview.findChild<QWidget*>("pageView");
                QVERIFY(count->text().startsWith("共 "));
                pages = count->text().split(' ')[1].toInt();
                QVERIFY(pages > 1);
                // The same paper and pages as the PDF export of the same rows, whatever paper
                // the system's locale would give a printer (Letter under an American one).
                QVERIFY(preview.printer().pageLayout().isEquivalentTo(pdfPageLayout()));
                const QString exported = QString::fromStdString((dir / "exported.pdf").string());
                TDBGridExportAsPDF().WriteGridToFile(exported, exportLayout(*w.main.dbg_xclinfo),
                                                     w.main.dbg_xclinfo->query());
                QCOMPARE(popplerOutput("pdfinfo", {exported})
                             .section("Pages:", 1)
                             .section('\n', 0, 0)
                             .trimmed()
                             .toInt(),
                         pages);
                QVERIFY(pageHasInk(*view));
                QCOMPARE(preview.currentPage(), 0);
                QTest::keyClick(view, Qt::Key_End);
                QCOMPARE(preview.currentPage(), pages - 1);
                QVERIFY(pageHasInk(*view));
                preview.showPage(pages + 5); // kept within the pages
                QCOMPARE(preview.currentPage(), pages - 1);
                // Portrait pages hold fewer columns across and more rows down.
                auto* orientation = preview.findChild<QComboBox*>("cbx_orientation");
                QCOMPARE(orientation->currentText(), QString("横向"));
                orientation->setCurrentIndex(1);
                QVERIFY(count->text() != QString("共 %1 页").arg(pages));
                orientation->setCurrentIndex(0);
                QCOMPARE(count->text(), QString("共 %1 页").arg(pages));
                // Zoom: the whole page in the view, then beyond it the page scrolls; Ctrl+wheel
                // steps through the percentages from the scale shown.
                auto* zoom = preview.findChild<QComboBox*>("cbx_zoom");
                auto* area = preview.findChild<QScrollArea*>("pageArea");
                QCOMPARE(zoom->currentText(), QString("整页"));
                QVERIFY(view->width() <= area->viewport()->width());
                QVERIFY(view->height() <= area->viewport()->height());
                zoom->setCurrentIndex(zoom->findText("200%"));
                QVERIFY(view->width() > area->viewport()->width());
                QVERIFY(area->verticalScrollBar()->maximum() > 0);
                QVERIFY(pageHasInk(*view));
                zoom->setCurrentIndex(zoom->findText("页宽"));
                QCOMPARE(view->width(), area->viewport()->width());
                zoom->setCurrentIndex(zoom->findText("100%"));
                QWheelEvent closer(QPointF(50, 50), view->mapToGlobal(QPointF(50, 50)), {},
                                   {0, 120}, Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase,
                                   false);
                QApplication::sendEvent(view, &closer);
                QCOMPARE(zoom->currentText(), QString("150%"));
                QCOMPARE(preview.currentPage(), pages - 1); // no page turned
                zoom->setCurrentIndex(0);

                printable = preview.printer().pageLayout().paintRect(QPageLayout::Point);
                printToPdfFile(preview, pdf);
            });
        QVERIFY(opened);
        w.main.work().waitUntilDone();
        QCOMPARE(w.main.workStatus->text(), QString("已打印 %1 页").arg(pages));
        const QStringList texts = pdfPageTexts(pdf, true);
        QVERIFY(texts.size() >= pages);
        const QString first = withoutBlanks(texts[0]);
        QVERIFY(first.contains("现存量查询"));
        QVERIFY(first.contains("查询条件：存货名称：轴承"));
        QVERIFY(first.contains(QString("第1页共%1页").arg(pages)));
        const ResultTableModel& model = *w.main.dbg_xclinfo->model();
        QVERIFY(first.contains(model.index(0, model.columnOf("存货编码")).data().toString() +
                               model.index(0, model.columnOf("存货代码")).data().toString()));
        // The pages fill the printer's printable area: the caption at its top left, the time
        // at its bottom right.
        const QRectF caption = pdfWordBox(pdf, QRegularExpression("^现存量查询$"));
        const QRectF time = pdfWordBox(pdf, QRegularExpression("^\\d\\d:\\d\\d$"));
        QVERIFY(std::abs(caption.left() - printable.left()) < 2);
        QVERIFY(std::abs(caption.top() - printable.top()) < 2);
        QVERIFY2(std::abs(time.right() - printable.right()) < 3,
                 qPrintable(QString("%1 %2").arg(time.right()).arg(printable.right())));
        QVERIFY(std::abs(time.bottom() - printable.bottom()) < 6);
        // The footer's total of 现存量 after the last row.
        const QString last = withoutBlanks(texts[pages - 1]);
        QVERIFY(last.contains(w.main.dbg_xclinfo->footerText(model.columnOf("现存量"))));
    }

    void aCancelledPrintToAFileLeavesTheOldFileAndNothingBesideIt() {
        MainOnDemo w;
        w.query("");                // hundreds of pages: the print can be stopped halfway
        MessageBoxWatcher messages; // yes to the long print
        TempDir dir;
        std::ofstream(dir / "printed.pdf") << "old";
        const QString pdf = QString::fromStdString((dir / "printed.pdf").string());
        QVERIFY(
            whenOpen<PrintPreview>([&] { ctrlP(w.main)->trigger(); },
                                   [&](PrintPreview& preview) { printToPdfFile(preview, pdf); }));
        const QRegularExpression printing("正在打印：第 (\\d+) / (\\d+) 页");
        QVERIFY2(QTest::qWaitFor(
                     [&] {
                         const auto at = printing.match(w.main.workStatus->text());
                         return at.hasMatch() && at.captured(1).toInt() >= 20;
                     },
                     kEventWait),
                 qPrintable(w.main.workStatus->text()));
        w.main.btn_cancel->click();
        w.main.work().waitUntilDone();
        BackgroundJob::waitForAll(); // the dropped print ends at its next page
        QVERIFY(!w.main.workStatus->text().startsWith("已打印"));
        std::ifstream old(dir / "printed.pdf");
        QCOMPARE(std::string(std::istreambuf_iterator<char>(old), {}), std::string("old"));
        QCOMPARE(std::distance(std::filesystem::directory_iterator(dir.path()),
                               std::filesystem::directory_iterator()),
                 1);
    }

    void pickedRowsArePrintedAloneWhenTheUserSaysSo() {
        MainOnDemo w;
        w.query("轴承");
        GridBody& body = *w.main.dbg_xclinfo->body();
        body.setCurrentCell(1, 0);
        QTest::keyClick(&body, Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(&body, Qt::Key_Down, Qt::ShiftModifier); // rows 1 to 3
        MessageBoxWatcher messages;
        QString pagesShown;
        QVERIFY(whenOpen<PrintPreview>([&] { w.main.tbn_print->click(); },
                                       [&](PrintPreview& preview) {
                                           pagesShown =
                                               preview.findChild<QLabel*>("lbl_pages")->text();
                                           preview.reject();
                                       }));
        QCOMPARE(messages.texts(),
                 QStringList{"已选中 3 行。只打印选中的行吗？\n（选“否”打印全部 " +
                             QString::number(w.main.ado_xclinfo.rowCount()) + " 行）"});
        QCOMPARE(pagesShown, QString("共 1 页"));
        // 取消 calls the print off.
        messages.answerQuestionsWith(QMessageBox::Cancel);
        w.main.tbn_print->click();
        QTRY_COMPARE(messages.seen().size(), 2);
        QTest::qWait(100);
        QVERIFY(!w.main.work().busy());
        for (QWidget* top : QApplication::topLevelWidgets())
            QVERIFY(!qobject_cast<PrintPreview*>(top) || !top->isVisible());
    }

    void aLongPrintAsksFirstWithItsPageCount() {
        MainOnDemo w;
        w.query("");
        MessageBoxWatcher messages;
        messages.answerQuestionsWith(QMessageBox::No);
        w.main.tbn_print->click();
        QTRY_COMPARE(messages.seen().size(), 1);
        QVERIFY(messages.texts()[0].startsWith(
            QString("要打印的结果共有 %1 行，约 ").arg(w.main.ado_xclinfo.rowCount())));
        const int pages = messages.texts()[0].section("约 ", 1).section(" 页", 0, 0).toInt();
        QVERIFY(pages > kPagesWithoutAsking);
        QTest::qWait(100);
        for (QWidget* top : QApplication::topLevelWidgets())
            QVERIFY(!qobject_cast<PrintPreview*>(top) || !top->isVisible());
        // Printing with nothing queried is refused with a prompt.
        MainOnDemo fresh;
        fresh.main.tbn_print->click();
        QTRY_COMPARE(messages.seen().size(), 2);
        QCOMPARE(messages.texts()[1], QString("还没有查询结果可以打印，请先查询。"));
    }

    void stockChartsAddUpToTheFooterAndKeepSameNamedWarehousesApart() {
        MainOnDemo w;
        w.query("");
        ChartWindow* charts = nullptr;
        QVERIFY(whenOpen<ChartWindow>([&] { w.main.tbn_chart->click(); },
                                      [&](ChartWindow& window) { charts = &window; }));
        QCOMPARE(charts->tabs()->count(), 2);
        QCOMPARE(charts->tabs()->tabText(0), QString("现存量（按仓库）"));
        QVERIFY(charts->chart(0)->title().contains("查询条件：无"));
        QBarSet* byWarehouse = barSet(*charts, 0, 0);
        QCOMPARE(added(*byWarehouse), footerTotal(*w.main.dbg_xclinfo, "现存量"));
        // The demo's two 半成品库 are two bars, each named with its code.
        const QStringList warehouses = categoriesOf(*charts, 0);
        QVERIFY(warehouses.contains("半成品库（03）"));
        QVERIFY(warehouses.contains("半成品库（12）"));
        QVERIFY(warehouses.contains("原材料库"));
        QBarSet* largest = barSet(*charts, 1, 0);
        QCOMPARE(largest->count(), 20);
        // Drawn last first, so that the largest stands at the top.
        for (int i = 1; i < largest->count(); ++i)
            QVERIFY(largest->at(i - 1) <= largest->at(i));
        // The title stays one text in an SVG, whatever font another program draws it in.
        TempDir dir;
        QString failure;
        charts->tabs()->setCurrentIndex(1);
        const QString svg = QString::fromStdString((dir / "largest.svg").string());
        QVERIFY(charts->saveChart(svg, failure));
        QFile svgFile(svg);
        QVERIFY(svgFile.open(QIODevice::ReadOnly));
        const QString drawn = QString::fromUtf8(svgFile.readAll());
        QVERIFY(drawn.contains(">现存量最多的 20 种存货<"));
        // The value axis groups its thousands.
        QVERIFY(charts->chart(1)->localizeNumbers());
        QCOMPARE(charts->chart(1)->locale().toString(37990.0, 'f', 0), QString("37,990"));
        charts->close();

        // From the grid's menu too.
        QVERIFY(whenOpen<ChartWindow>(
            [&] { chooseFromContextMenu(*w.main.dbg_xclinfo->body(), 0, "图表"); },
            [](ChartWindow& window) { window.close(); }));
    }

    void aChartSavedTheMomentItsWindowShowsIsDrawnWhole() {
        // Its tab is laid out a turn after the window shows; a save before then lays it out.
        std::vector<FigureGroup> groups;
        for (const char* warehouse : {"原材料库", "成品库", "半成品库"})
            groups.push_back({warehouse, {std::int64_t{123450000}}});
        ChartWindow charts(
            "现存量查询", "查询条件：无",
            {{{.title = "现存量（按仓库）", .key = "仓库名称", .values = {"现存量"}}, groups}},
            nullptr);
        charts.show();
        TempDir dir;
        QString failure;
        const QString svg = QString::fromStdString((dir / "at-once.svg").string());
        QVERIFY(charts.saveChart(svg, failure));
        QFile svgFile(svg);
        QVERIFY(svgFile.open(QIODevice::ReadOnly));
        const QString drawn = QString::fromUtf8(svgFile.readAll());
        for (const FigureGroup& group : groups)
            QVERIFY2(drawn.contains(">" + group.label + "<"), qPrintable(group.label));
        QVERIFY(drawn.contains(">现存量（按仓库）<"));
    }

    void summaryChartsAddUpToTheFootersAndKeepSameNamedWarehousesApart() {
        MainOnDemo w;
        Tfrm_summary summary(w.main.ado_conn);
        summary.FormShow();
        summary.RunQuery();
        summary.work().waitUntilDone();
        ChartWindow* charts = nullptr;
        QVERIFY(whenOpen<ChartWindow>([&] { summary.tbn_chart->click(); },
                                      [&](ChartWindow& window) { charts = &window; }));
        QCOMPARE(charts->tabs()->tabText(0), QString("入库与出库（按仓库）"));
        for (const char* field : {"入库数量", "出库数量"})
            QCOMPARE(added(*barSetNamed(*charts, 0, field)), footerTotal(*summary.grid(), field));
        // The demo's two 半成品库 are two bars, each under its code.
        const QStringList labels = categoriesOf(*charts, 0);
        QVERIFY(labels.contains("03 半成品库"));
        QVERIFY(labels.contains("12 半成品库"));
        QCOMPARE(charts->tabs()->tabText(1), QString("期末数量最多的 20 种存货"));
        QCOMPARE(barSet(*charts, 1, 0)->count(), 20);
        charts->close();
    }

    void theCardsBalanceIsAStepLineThroughEveryLine() {
        MainOnDemo w;
        Tfrm_stockcard card(w.main.ado_conn);
        card.edt_whcode->setText("12");
        card.edt_code->setText("0002091");
        card.dates->setDate(QDate(QDate::currentDate().year() - 1, 1, 1));
        card.RunQuery();
        card.work().waitUntilDone();
        const ResultQuery& rows = card.grid()->query();
        QVERIFY(rows.rowCount() > 3);
        ChartWindow* charts = nullptr;
        QVERIFY(whenOpen<ChartWindow>([&] { card.ShowCharts(); },
                                      [&](ChartWindow& window) { charts = &window; }));
        QCOMPARE(charts->tabs()->tabText(0), QString("结存数量变化"));
        auto* line = qobject_cast<QLineSeries*>(charts->chart(0)->series().first());
        QVERIFY(line);
        // Level until each line's day, then the balance after it: two points a line.
        const QList<QPointF> points = line->points();
        QCOMPARE(points.size(), 2 * static_cast<int>(rows.rowCount()) - 1);
        const ResultColumn& balances = rows.result().column(rows.fieldIndex("结存数量"));
        const ResultColumn& dates = rows.result().column(rows.fieldIndex("单据日期"));
        const auto dayOf = [](double x) {
            return QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(x)).date();
        };
        QCOMPARE(dayOf(points.front().x()), card.dates->date());
        QCOMPARE(dayOf(points.back().x()), card.datee->date());
        // The time axis ticks on whole days, evenly, from the period's first day past its last.
        auto* days = qobject_cast<QDateTimeAxis*>(line->attachedAxes().first());
        QVERIFY(days);
        QCOMPARE(days->min(), card.dates->date().startOfDay());
        QVERIFY(days->max() >= card.datee->date().startOfDay());
        QVERIFY(days->tickCount() >= 2 && days->tickCount() <= 7);
        const qint64 span = days->min().date().daysTo(days->max().date());
        QCOMPARE(days->max(), days->min().date().addDays(span).startOfDay());
        QCOMPARE(span % (days->tickCount() - 1), 0);
        for (std::size_t row = 0; row < rows.rowCount(); ++row) {
            const QPointF after = points[2 * static_cast<int>(row)];
            QCOMPARE(std::llround(after.y() * 1e6), std::llround(balances.asFloat(row) * 1e6));
            if (row == 0)
                continue;
            QCOMPARE(points[2 * static_cast<int>(row) - 1].y(),
                     points[2 * static_cast<int>(row) - 2].y());
            if (!dates.isNull(row)) {
                QCOMPARE(dayOf(after.x()),
                         QDateTime::fromMSecsSinceEpoch(dates.integer(row)).date());
            }
        }
        charts->close();
    }

    void journalChartsAddUpToBothFootersAndSaveAsPngAndSvg() {
        MainOnDemo w;
        Tfrm_crquery journal(w.main.ado_conn);
        journal.FormShow();
        journal.RunQuery();
        journal.work().waitUntilDone();
        ChartWindow* charts = nullptr;
        QVERIFY(whenOpen<ChartWindow>([&] { journal.tbn_chart->click(); },
                                      [&](ChartWindow& window) { charts = &window; }));
        QCOMPARE(charts->tabs()->tabText(0), QString("入库与出库（按月）"));
        for (int chart = 0; chart < 2; ++chart)
            for (const char* field : {"入库数量", "出库数量"}) {
                QBarSet* set = barSetNamed(*charts, chart, field);
                QVERIFY(set);
                QCOMPARE(added(*set), footerTotal(*journal.dbg_crinfo, field));
            }
        const QStringList warehouses = categoriesOf(*charts, 1);
        QVERIFY(warehouses.contains("半成品库（03）"));
        QVERIFY(warehouses.contains("半成品库（12）"));
        // Each figure in one colour by month and by warehouse (drawn in another order there).
        for (const char* field : {"入库数量", "出库数量"})
            QCOMPARE(barSetNamed(*charts, 1, field)->color(),
                     barSetNamed(*charts, 0, field)->color());
        QVERIFY(barSetNamed(*charts, 0, "入库数量")->color() !=
                barSetNamed(*charts, 0, "出库数量")->color());

        TempDir dir;
        QString failure;
        const QString png = QString::fromStdString((dir / "图表.png").string());
        QVERIFY(charts->saveChart(png, failure));
        const QImage image(png);
        QCOMPARE(image.size(), QSize(1200, 720));
        charts->tabs()->setCurrentIndex(1);
        const QString svg = QString::fromStdString((dir / "chart.svg").string());
        QVERIFY(charts->saveChart(svg, failure));
        QVERIFY(QSvgRenderer(svg).isValid());
        QFile svgFile(svg);
        QVERIFY(svgFile.open(QIODevice::ReadOnly));
        QVERIFY(QString::fromUtf8(svgFile.readAll()).contains("入库与出库（按仓库）"));
        // A folder that is not there: said so, and nothing made.
        const QString nowhere = QString::fromStdString((dir / "none" / "chart.png").string());
        QVERIFY(!charts->saveChart(nowhere, failure));
        QVERIFY(!failure.isEmpty());
        QVERIFY(!QFileInfo::exists(nowhere));
        charts->close();
    }
};

QTEST_MAIN(PrintAndChartsTest)
#include "PrintAndChartsTest.moc"
