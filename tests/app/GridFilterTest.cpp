// 筛选 in both windows: from a cell's context menu and from the value list, the strip, the
// record count, the sums, and what an export and a printed heading make of a filtered grid.
#include "app/Tfrm_crquery.h"
#include "app/Tfrm_xclquery.h"
#include "export/TDBGridExportAsText.h"
#include "grid/FilterDialog.h"
#include "grid/FilterStrip.h"
#include "grid/GridExportLayout.h"
#include "grid/GridHeader.h"
#include "grid/ResultGrid.h"
#include "support/ContextMenuEntry.h"
#include "support/DemoDatabasePath.h"
#include "support/MainOnDemo.h"
#include "support/SettingsSandbox.h"
#include "support/TempDir.h"
#include "support/WhenOpen.h"
#include "table/CellText.h"
#include "table/FooterSums.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

#include <map>

namespace {

// Every row's text in one column of a grid, as shown.
QStringList columnTexts(ResultGrid& grid, int column) {
    QStringList texts;
    for (int row = 0; row < grid.model()->rowCount(); ++row)
        texts << grid.model()->index(row, column).data().toString();
    return texts;
}

// The rows of the unfiltered result whose raw value of `field` is one of `names`.
std::size_t rawCount(const ResultQuery& query, std::string_view field, const QStringList& names) {
    const ResultColumn& column = query.result().column(query.fieldIndex(field));
    std::size_t count = 0;
    for (std::size_t row = 0; row < column.size(); ++row)
        count += names.contains(QString::fromStdString(std::string(column.text(row))));
    return count;
}

QString recordCount(std::size_t shown, std::size_t total) {
    return QString("记录数为：%1（共 %2）").arg(shown).arg(total);
}

} // namespace

class GridFilterTest : public QObject {
    Q_OBJECT
private slots:
    void aCellsFilterNarrowsTheStockAndEverythingWorksOnTheRowsShown() {
        MainOnDemo demo;
        Tfrm_xclquery& main = demo.main;
        demo.query(""); // the whole demo
        ResultGrid& grid = *main.dbg_xclinfo;
        const ResultQuery& query = grid.query();
        const std::size_t total = query.rowCount();
        const int warehouse = grid.model()->columnOf("仓库名称");
        const QString name = grid.model()->index(0, warehouse).data().toString();

        chooseFromContextMenu(*grid.body(), 0, "筛选：等于“" + name + "”", warehouse);
        main.work().waitUntilDone();
        const std::size_t expected = rawCount(query, "仓库名称", {name});
        QCOMPARE(query.rowCount(), expected);
        QVERIFY(expected < total);
        const QStringList shown = columnTexts(grid, warehouse);
        QCOMPARE(QSet<QString>(shown.begin(), shown.end()), QSet<QString>{name});
        QCOMPARE(main.Panel4->text(), recordCount(expected, total));
        // The strip names it; the printed heading lists it after the criteria.
        QVERIFY(grid.filterStrip()->isVisibleTo(&main));
        const auto items = grid.filterStrip()->findChildren<QToolButton*>();
        QVERIFY(std::any_of(items.begin(), items.end(), [&](QToolButton* item) {
            return item->text() == "仓库名称：" + name + " ×";
        }));
        QVERIFY(exportLayout(grid).criteria.endsWith("筛选：仓库名称：" + name));

        // The export holds the rows shown, titles and footer around them.
        TempDir folder;
        const QString path = QString::fromStdString((folder / "filtered.txt").string());
        TDBGridExportAsText().WriteGridToFile(path, exportLayout(grid), grid.query());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList lines =
            QString::fromLocal8Bit(file.readAll()).split("\r\n", Qt::SkipEmptyParts);
        QCOMPARE(static_cast<std::size_t>(lines.size()), expected + 2);

        // A sort keeps the filter.
        emit grid.titleClicked(grid.model()->columnOf("现存量"));
        main.work().waitUntilDone();
        QCOMPARE(query.rowCount(), expected);
        QCOMPARE(main.Panel4->text(), recordCount(expected, total));

        // The strip's item takes its filter away; a new query shows every row.
        for (QToolButton* item : grid.filterStrip()->findChildren<QToolButton*>())
            if (item->text().startsWith("仓库名称"))
                item->click();
        main.work().waitUntilDone();
        QCOMPARE(query.rowCount(), total);
        QVERIFY(!grid.filterStrip()->isVisibleTo(&main));
        QCOMPARE(main.Panel4->text(), QString("记录数为：%1").arg(total));
    }

    void theValueListCountsEachValueAndTicksMakeTheFilter() {
        JournalOnDemo demo;
        Tfrm_crquery& journal = demo.journal;
        ResultGrid& grid = *journal.dbg_crinfo;
        const ResultQuery& query = grid.query();
        const std::size_t total = query.rowCount();
        const int warehouse = grid.model()->columnOf("仓库");
        QVERIFY(warehouse >= 0);
        // Each value's count, over the raw rows.
        std::map<QString, std::size_t> counts;
        const ResultColumn& raw = query.result().column(query.fieldIndex("仓库"));
        for (std::size_t row = 0; row < raw.size(); ++row)
            ++counts[QString::fromStdString(std::string(raw.text(row)))];

        QStringList picked;
        QVERIFY(whenOpen<FilterDialog>(
            [&] { chooseFromContextMenu(*grid.body(), 0, "筛选…", warehouse); },
            [&](FilterDialog& dialog) {
                auto* list = dialog.findChild<QListWidget*>("lst_filterValues");
                QCOMPARE(static_cast<std::size_t>(list->count()), counts.size());
                for (int row = 0; row < list->count(); ++row) {
                    const QString text = list->item(row)->data(Qt::UserRole).toString();
                    QCOMPARE(list->item(row)->text(),
                             QString("%1（%2）")
                                 .arg(text.isEmpty() ? kEmptyValue : text,
                                      QLocale(QLocale::English)
                                          .toString(static_cast<qulonglong>(counts[text]))));
                    QCOMPARE(list->item(row)->checkState(), Qt::Checked);
                }
                dialog.findChild<QPushButton*>("btn_tickNone")->click();
                // The search narrows the list; 全选 ticks what it shows.
                const QString last = list->item(list->count() - 1)->data(Qt::UserRole).toString();
                dialog.findChild<QLineEdit*>("edt_filterSearch")->setText(last);
                dialog.findChild<QPushButton*>("btn_tickAll")->click();
                for (int row = 0; row < list->count(); ++row)
                    if (list->item(row)->checkState() == Qt::Checked)
                        picked << list->item(row)->data(Qt::UserRole).toString();
                QVERIFY(!picked.isEmpty() && picked.size() < list->count());
                dialog.accept();
            }));
        journal.work().waitUntilDone();
        const std::size_t expected = rawCount(query, "仓库", picked);
        QCOMPARE(query.rowCount(), expected);
        QCOMPARE(journal.Panel4->text(), recordCount(expected, total));
        for (const QString& text : columnTexts(grid, warehouse))
            QVERIFY(picked.contains(text));
        // The sums are those of the rows shown.
        const int received = grid.model()->columnOf("入库数量");
        const ResultColumn& quantities = query.result().column(query.fieldIndex("入库数量"));
        std::int64_t sum = 0;
        for (std::size_t position = 0; position < query.rowCount(); ++position)
            if (!quantities.isNull(query.rowAt(position)))
                sum = FooterSums::added(sum, quantities.kind(),
                                        quantities.bits(query.rowAt(position)));
        QCOMPARE(grid.footerText(received), CellText().sumText(quantities.kind(), sum));
        // 清除筛选 in the menu shows every row again.
        chooseFromContextMenu(*grid.body(), 0, "清除筛选");
        journal.work().waitUntilDone();
        QCOMPARE(query.rowCount(), total);
    }

    void aTitlesFilterMarkOpensItsListAndTheRestOfTheTitleStillSorts() {
        MainOnDemo demo;
        Tfrm_xclquery& main = demo.main;
        demo.query("轴承");
        ResultGrid& grid = *main.dbg_xclinfo;
        GridHeader& titles = *grid.header();
        const int warehouse = grid.model()->columnOf("仓库名称");
        const int left = titles.sectionViewportPosition(warehouse);
        QVERIFY(whenOpen<FilterDialog>(
            [&] { QTest::mouseClick(titles.viewport(), Qt::LeftButton, {}, QPoint(left + 6, 6)); },
            [&](FilterDialog& dialog) {
                QCOMPARE(dialog.windowTitle(), QString("筛选：仓库名称"));
                dialog.reject();
            }));
        QVERIFY(grid.query().sortOrder().empty()); // the mark sorted nothing
        QTest::mouseClick(titles.viewport(), Qt::LeftButton, {},
                          QPoint(left + titles.sectionSize(warehouse) / 2, titles.height() / 2));
        main.work().waitUntilDone();
        QCOMPARE(QString::fromStdString(grid.query().sortOrder()), QString("仓库名称 ASC"));
    }
};

QTEST_MAIN(GridFilterTest)
#include "GridFilterTest.moc"
