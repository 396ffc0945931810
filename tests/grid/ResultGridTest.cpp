#include "grid/ResultGrid.h"
#include "db/Connection.h"
#include "db/ResultQuery.h"
#include "grid/FindBar.h"
#include "grid/GridBody.h"
#include "grid/GridFooter.h"
#include "grid/GridHeader.h"
#include "stock/CurrentStockColumns.h"
#include "stock/CurrentStockFields.h"
#include "stock/CurrentStockStatement.h"
#include "support/ContextMenuEntry.h"
#include "support/DemoDatabasePath.h"
#include "support/Patience.h"
#include "table/ResultTableModel.h"

#include <QClipboard>
#include <QHelpEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QToolTip>
#include <QtTest>

namespace {

// The current-stock grid over the demo database, at a fixed size.
struct CurrentStockGrid {
    CurrentStockGrid() {
        connection.setSettings({"sqlite:" + demoDatabasePath(), "d", "u", ""});
        connection.open();
        grid.resize(1600, 600);
        // As the windows answer a title click.
        QObject::connect(&grid, &ResultGrid::titleClicked, &grid, &ResultGrid::sortByTitle);
    }
    void run(const std::string& name = "") {
        CurrentStockCriteria criteria;
        criteria.name = name;
        grid.clearForRun(currentStockStatement(criteria));
        QVERIFY(grid.showRows(connection.fetchAll(query.commandText(), currentStockFields())));
    }
    bool shown() {
        grid.show();
        return QTest::qWaitForWindowExposed(&grid, kEventWait);
    }
    int column(const char* field) const { return grid.model()->columnOf(field); }
    QString cell(int row, const char* field) const {
        return grid.model()->index(row, column(field)).data().toString();
    }
    Connection connection;
    ResultQuery query{connection, currentStockFields()};
    ResultGrid grid{query, currentStockColumns(), kCurrentStockFrozenColumns};
};

} // namespace

class ResultGridTest : public QObject {
    Q_OBJECT
private slots:
    void everyFooterShowsWholeAndHoveringACellShowsItsValue() {
        CurrentStockGrid g;
        QVERIFY(g.shown());
        g.run();
        const auto& columns = currentStockColumns();
        GridHeader* titles = g.grid.header();
        bool grew = false;
        for (int column = 0; column < static_cast<int>(columns.size()); ++column) {
            const QString text = g.grid.footerText(column);
            const GridFooter::Cell cell = g.grid.footerCell(column);
            // The text fits inside the cell's margins; no column is narrower than its table width.
            QVERIFY2(QFontMetrics(cell.font).horizontalAdvance(text) + 6 <
                         titles->sectionSize(column),
                     qPrintable(text));
            QVERIFY(titles->sectionSize(column) >= columns[column].width);
            grew |= titles->sectionSize(column) > columns[column].width;
        }
        QVERIFY(grew); // the demo's 现存量 total is wider than its column
        const int onHand = g.column("现存量");
        titles->resizeSection(onHand, 30); // the user can still narrow it
        QCOMPARE(titles->sectionSize(onHand), 30);
        GridFooter* footer = g.grid.footer();
        const QPoint at = footer->cellRect(onHand).center();
        QHelpEvent hover(QEvent::ToolTip, at, footer->mapToGlobal(at));
        QApplication::sendEvent(footer, &hover);
        QTRY_COMPARE(QToolTip::text(), g.grid.footerText(onHand));
    }

    void theFooterIsBlankWhileClosedAndShowsLabelAndSumsWhenOpen() {
        CurrentStockGrid g;
        QCOMPARE(g.grid.footerText(0), QString());
        g.run("no such item at all");
        QCOMPARE(g.grid.footerText(0), QString("合计"));
        QCOMPARE(g.grid.footerText(g.column("现存量")), QString("0"));
        QCOMPARE(g.grid.footerText(g.column("批号")), QString());
        g.run();
        QVERIFY(g.grid.footerText(g.column("现存量")) != QString("0"));
        g.grid.beginQueryChange();
        g.query.close();
        g.grid.endQueryChange();
        QCOMPARE(g.grid.footerText(0), QString());
    }

    void aCutCellShowsItsWholeTextOnHover() {
        CurrentStockGrid g;
        QVERIFY(g.shown());
        g.run("轴承");
        GridBody* body = g.grid.body();
        const int name = g.column("存货名称");
        const auto hover = [&] {
            const QPoint at = body->cellRect(2, name).center();
            QToolTip::hideText();
            QHelpEvent help(QEvent::ToolTip, at, body->viewport()->mapToGlobal(at));
            QApplication::sendEvent(body->viewport(), &help);
        };
        hover(); // whole: no tip
        QVERIFY(!QToolTip::isVisible());
        g.grid.header()->resizeSection(name, 30);
        hover();
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), g.cell(2, "存货名称"));
    }

    void ctrlFFindsFromTheCurrentRowCountsOnAWorkerAndStepsThroughTheHits() {
        CurrentStockGrid g;
        QVERIFY(g.shown());
        g.run("轴承");
        GridBody* body = g.grid.body();
        FindBar* bar = g.grid.findBar();
        QVERIFY(!bar->isVisible());
        body->setCurrentCell(5, 0);
        QTest::keyClick(body, Qt::Key_F, Qt::ControlModifier);
        QVERIFY(bar->isVisible());
        QVERIFY(bar->edit()->hasFocus());
        QTest::keyClicks(bar->edit(), "B0001"); // batch numbers, typed in another case
        QTRY_VERIFY(bar->hits().has_value());
        const std::vector<std::uint32_t> hits = *bar->hits();
        QVERIFY(hits.size() >= 3);
        for (int row = 0; row < g.grid.model()->rowCount();
             ++row) // the hits are the rows that show it
            QCOMPARE(std::binary_search(hits.begin(), hits.end(), std::uint32_t(row)),
                     g.cell(row, "批号").contains("b0001", Qt::CaseInsensitive));
        // From row 5, the first hit at or after it is current.
        const auto firstFrom5 = *std::lower_bound(hits.begin(), hits.end(), 5U);
        QCOMPARE(body->currentRow(), int(firstFrom5));
        const int index = int(std::lower_bound(hits.begin(), hits.end(), 5U) - hits.begin());
        QCOMPARE(bar->statusText(), QString("第 %1 个，共 %2 个").arg(index + 1).arg(hits.size()));
        QTest::keyClick(bar->edit(), Qt::Key_Return);
        QCOMPARE(body->currentRow(), int(hits[std::size_t(index) + 1]));
        QTest::keyClick(bar->edit(), Qt::Key_F3, Qt::ShiftModifier);
        QTest::keyClick(bar->edit(), Qt::Key_F3, Qt::ShiftModifier);
        QCOMPARE(body->currentRow(), int(index > 0 ? hits[std::size_t(index) - 1] : hits.back()));
        // A sort moves the rows: the hits are counted again in the new order.
        emit g.grid.header()->titleClicked(g.column("现存量"));
        QTRY_VERIFY(bar->hits().has_value());
        QCOMPARE(bar->hits()->size(), hits.size());
        QTest::keyClick(bar->edit(), Qt::Key_Escape);
        QVERIFY(!bar->isVisible());
        QVERIFY(body->hasFocus());
        // 查找 in the context menu opens it again with its text.
        chooseFromContextMenu(*body, 1, "查找");
        QVERIFY(bar->isVisible());
        QCOMPARE(bar->edit()->selectedText(), QString("B0001"));
    }

    void aHitAboveTheCurrentRowBeyondTheRowsLookedAtOnTheSpotIsGoneToOnceCounted() {
        CurrentStockGrid g;
        QVERIFY(g.shown());
        g.run();
        QVERIFY(g.grid.model()->rowCount() > int(FindBar::kNearbyRows) + 10);
        GridBody* body = g.grid.body();
        FindBar* bar = g.grid.findBar();
        // A text that only a row above the current one shows: going on from the current row,
        // the rows looked at on the spot end before they come round to it.
        bool found = false;
        for (int above = 0; above < 10 && !found; ++above) {
            body->setCurrentCell(10, 0);
            QTest::keyClick(body, Qt::Key_F, Qt::ControlModifier);
            bar->edit()->setText(g.cell(above, "批号"));
            QTRY_VERIFY(bar->hits().has_value());
            if (*bar->hits() != std::vector<std::uint32_t>{std::uint32_t(above)})
                continue;
            found = true;
            QCOMPARE(body->currentRow(), above);
            QCOMPARE(bar->statusText(), QString("第 1 个，共 1 个"));
        }
        QVERIFY(found);
    }

    void titleClicksSortTheRowsAndMarkTheTitleWhileSumsAndCountStay() {
        CurrentStockGrid g;
        g.run("轴承");
        const QString sum = g.grid.footerText(g.column("现存量"));
        const int rows = g.grid.model()->rowCount();
        const int onHand = g.column("现存量");
        const int width = g.grid.header()->sectionSize(onHand);
        emit g.grid.header()->titleClicked(onHand);
        QCOMPARE(QString::fromStdString(g.grid.titles()[std::size_t(onHand)].caption),
                 QString("▲现存量"));
        QVERIFY(g.cell(0, "现存量").toDouble() <= g.cell(rows - 1, "现存量").toDouble());
        emit g.grid.header()->titleClicked(onHand);
        QVERIFY(g.cell(0, "现存量").toDouble() >= g.cell(rows - 1, "现存量").toDouble());
        QCOMPARE(g.grid.footerText(onHand), sum);
        QCOMPARE(g.grid.model()->rowCount(), rows);
        QCOMPARE(g.grid.header()->sectionSize(onHand), width);
    }

    void frozenColumnsStayInPlaceWhenTheGridScrollsSideways() {
        CurrentStockGrid g;
        g.run("轴承");
        g.grid.resize(700, 400);
        QVERIFY(g.shown());
        GridBody* body = g.grid.body();
        GridHeader* frozen = body->frozenHeader();
        QVERIFY(frozen && frozen->isVisible());
        for (int c = 0; c < int(currentStockColumns().size()); ++c)
            QCOMPARE(frozen->isSectionHidden(c), c >= kCurrentStockFrozenColumns);
        const int frozenWidth = 86 + 101 + 88;
        QCOMPARE(frozen->width(), frozenWidth);
        const QRect titlesBefore = frozen->geometry();
        const QRect labelBefore = g.grid.footer()->cellRect(0);
        const QRect strip(GridBody::kIndicatorWidth, 0, frozenWidth, 200);
        const QImage before = body->viewport()->grab().toImage();
        QScrollBar* sideways = body->horizontalScrollBar();
        sideways->setValue(sideways->maximum());
        QVERIFY(g.grid.header()->sectionViewportPosition(0) < 0);
        const QImage after = body->viewport()->grab().toImage();
        QCOMPARE(after.copy(strip), before.copy(strip));
        const QRect scrolled(strip.right() + 1, 0, 300, 200);
        QVERIFY(after.copy(scrolled) != before.copy(scrolled));
        QCOMPARE(frozen->geometry(), titlesBefore);
        QCOMPARE(g.grid.footer()->cellRect(0), labelBefore);
        // A cell to the right comes out from under the frozen columns when it becomes current.
        body->setCurrentCell(5, 3);
        QVERIFY(body->cellRect(5, 3).left() >= GridBody::kIndicatorWidth + frozenWidth);
        // Frozen and scrolled columns scroll down together.
        body->verticalScrollBar()->setValue(7);
        QCOMPARE(body->rowAt(0), 7);
        const QImage down = body->viewport()->grab().toImage();
        QVERIFY(down.copy(strip) != after.copy(strip));
    }

    void theFooterFollowsAResizedAndAMovedColumn() {
        CurrentStockGrid g;
        g.run();
        QVERIFY(g.shown());
        const int onHand = g.column("现存量");
        QHeaderView* titles = g.grid.header();
        titles->resizeSection(onHand, 150);
        QCOMPARE(g.grid.footer()->cellRect(onHand).width(), 150);
        titles->moveSection(titles->visualIndex(onHand), 4);
        const int left = g.grid.footer()->cellRect(onHand).left();
        QCOMPARE(left - g.grid.footer()->cellRect(0).left(), titles->sectionPosition(onHand));
        QCOMPARE(g.grid.header()->sectionSize(g.column("存货名称")), 198);
    }

    void titleButtonsAloneShowThePressedLookAndAdvanceTheirMarkers() {
        CurrentStockGrid g;
        g.run("轴承");
        QVERIFY(g.shown());
        GridHeader* titles = g.grid.header();
        QSignalSpy clicks(titles, &GridHeader::titleClicked);
        const auto centre = [&](int column) {
            return QPoint(titles->sectionViewportPosition(column) + titles->sectionSize(column) / 2,
                          titles->height() / 2);
        };
        const int frozenQty = g.column("冻结量"); // the one title button of this grid
        const int batch = g.column("批号");
        const QImage plain = titles->viewport()->grab().toImage();
        QTest::mousePress(titles->viewport(), Qt::LeftButton, {}, centre(frozenQty));
        const QImage held = titles->viewport()->grab().toImage();
        QVERIFY(held != plain); // drawn pressed while held
        QTest::mouseRelease(titles->viewport(), Qt::LeftButton, {}, centre(frozenQty));
        QCOMPARE(g.grid.titles()[std::size_t(frozenQty)].marker, GridTitles::Marker::Down);
        QCOMPARE(clicks.size(), 1);
        QCOMPARE(QString::fromStdString(g.grid.titles()[std::size_t(frozenQty)].caption),
                 QString("▲冻结量"));
        // Not a title button: no pressed look, no marker, but the click still sorts.
        const QImage before = titles->viewport()->grab().toImage();
        QTest::mousePress(titles->viewport(), Qt::LeftButton, {}, centre(batch));
        QCOMPARE(titles->viewport()->grab().toImage(), before);
        QTest::mouseRelease(titles->viewport(), Qt::LeftButton, {}, centre(batch));
        QCOMPARE(g.grid.titles()[std::size_t(batch)].marker, GridTitles::Marker::None);
        QCOMPARE(g.grid.titles()[std::size_t(frozenQty)].marker, GridTitles::Marker::Down);
        QCOMPARE(g.query.sortOrder(), std::string("批号 ASC"));
        QCOMPARE(clicks.size(), 2);
    }

    void widthDragsAreNoClicksAndRightDragsMoveAnyTitle() {
        CurrentStockGrid g;
        g.run("轴承");
        QVERIFY(g.shown());
        GridHeader* titles = g.grid.header();
        QSignalSpy clicks(titles, &GridHeader::titleClicked);
        const int name = g.column("存货名称");
        const int border = titles->sectionViewportPosition(name) + titles->sectionSize(name) - 1;
        const int y = titles->height() / 2;
        QTest::mousePress(titles->viewport(), Qt::LeftButton, {}, QPoint(border, y));
        QTest::mouseMove(titles->viewport(), QPoint(border + 40, y));
        QTest::mouseRelease(titles->viewport(), Qt::LeftButton, {}, QPoint(border + 40, y));
        QCOMPARE(clicks.size(), 0);
        QCOMPARE(g.query.sortOrder(), std::string());
        // The right button drags "冻结量", a title button, to the front of the scrolled part.
        const int frozenQty = g.column("冻结量");
        const QPoint from(titles->sectionViewportPosition(frozenQty) + 20, y);
        const QPoint to(titles->sectionViewportPosition(g.column("存货代码")) + 5, y);
        QTest::mousePress(titles->viewport(), Qt::RightButton, {}, from);
        for (int step = 1; step <= 10; ++step)
            QTest::mouseMove(titles->viewport(), from + (to - from) * step / 10);
        QTest::mouseRelease(titles->viewport(), Qt::RightButton, {}, to);
        QVERIFY(titles->visualIndex(frozenQty) < frozenQty);
        // Dropping a column in its new place is no click: nothing is sorted.
        QCOMPARE(clicks.size(), 0);
        // Nor with the left button, which drags titles that are not buttons.
        const int batch = g.column("批号");
        const int visualBefore = titles->visualIndex(batch);
        const QPoint batchFrom(titles->sectionViewportPosition(batch) + 20, y);
        const QPoint batchTo(titles->sectionViewportPosition(g.column("存货名称")) + 60, y);
        QTest::mousePress(titles->viewport(), Qt::LeftButton, {}, batchFrom);
        for (int step = 1; step <= 10; ++step)
            QTest::mouseMove(titles->viewport(), batchFrom + (batchTo - batchFrom) * step / 10, 0);
        QTest::mouseRelease(titles->viewport(), Qt::LeftButton, {}, batchTo);
        QVERIFY(titles->visualIndex(batch) != visualBefore);
        QCOMPARE(clicks.size(), 0);
        QCOMPARE(g.query.sortOrder(), std::string());
        // A right-button drag that moves nothing still counts as a click.
        const QPoint inside(titles->sectionViewportPosition(frozenQty) + 6, y);
        const QPoint along = inside + QPoint(QApplication::startDragDistance() + 2, 0);
        QVERIFY(titles->logicalIndexAt(along) == frozenQty);
        QTest::mousePress(titles->viewport(), Qt::RightButton, {}, inside);
        QTest::mouseMove(titles->viewport(), along);
        QTest::mouseRelease(titles->viewport(), Qt::RightButton, {}, along);
        QCOMPARE(clicks.size(), 1);
    }

    void theCurrentRecordStaysCurrentWhenTheRowsAreSorted() {
        CurrentStockGrid g;
        g.run("轴承");
        GridBody* body = g.grid.body();
        body->setCurrentCell(9, 2);
        const QString batch = g.cell(9, "批号");
        const QString onHand = g.cell(9, "现存量");
        g.grid.sortByTitle(g.column("现存量"));
        const int row = body->currentRow();
        QCOMPARE(g.cell(row, "批号"), batch);
        QCOMPARE(g.cell(row, "现存量"), onHand);
        QCOMPARE(body->currentColumn(), 2);
    }

    void theCurrentRowIsNavyWithWhiteTextAcrossAllColumnsAndTheFirstRowAfterARun() {
        CurrentStockGrid g;
        g.run("轴承");
        QVERIFY(g.shown());
        GridBody* body = g.grid.body();
        QCOMPARE(body->currentRow(), 0);
        body->setCurrentCell(2, 5);
        QCOMPARE(int(g.query.position()), 2);
        const QImage image = body->viewport()->grab().toImage();
        const auto colourAt = [&](int row, int column) {
            return image.pixelColor(body->cellRect(row, column).topLeft() + QPoint(1, 2));
        };
        for (int column : {0, 3, 5}) { // frozen, scrolled and the current cell's column
            QCOMPARE(colourAt(2, column), QColor(0, 0, 128));
            QCOMPARE(colourAt(1, column), QColor(255, 255, 255));
        }
        // The text of the current row is drawn light on the navy.
        const QRect cell = body->cellRect(2, g.column("存货名称")).adjusted(2, 1, -3, -2);
        int light = 0;
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            for (int x = cell.left(); x <= cell.right(); ++x)
                light += image.pixelColor(x, y).lightness() > 200;
        QVERIFY(light > 10);
        g.run("轴承");
        QCOMPARE(body->currentRow(), 0);
    }

    void keysMoveTheCurrentCellAndKeepItInView() {
        CurrentStockGrid g;
        g.run("轴承");
        g.grid.resize(700, 400);
        QVERIFY(g.shown());
        GridBody* body = g.grid.body();
        body->setFocus();
        const int rows = int(g.query.rowCount());
        QTest::keyClick(body, Qt::Key_Down);
        QTest::keyClick(body, Qt::Key_Down);
        QCOMPARE(body->currentRow(), 2);
        QTest::keyClick(body, Qt::Key_PageDown);
        const int page = body->currentRow() - 2;
        QVERIFY(page > 5);
        QVERIFY(body->rowAt(body->cellRect(body->currentRow(), 0).top()) == body->currentRow());
        QTest::keyClick(body, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(body->currentRow(), rows - 1);
        QCOMPARE(body->rowAt(body->cellRect(rows - 1, 0).top()), rows - 1);
        QTest::keyClick(body, Qt::Key_Up);
        QCOMPARE(body->currentRow(), rows - 2);
        QTest::keyClick(body, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(body->currentRow(), 0);
        QCOMPARE(body->topRow(), 0);
        QTest::keyClick(body, Qt::Key_Up);
        QCOMPARE(body->currentRow(), 0);
        // Tab walks the columns in display order, on to the next row after the last one;
        // the scrolled columns come into view right of the frozen ones.
        const int columns = int(currentStockColumns().size());
        for (int c = 1; c < columns; ++c) {
            QTest::keyClick(body, Qt::Key_Tab);
            QCOMPARE(body->currentColumn(), c);
            const QRect cell = body->cellRect(0, c);
            QVERIFY(c < kCurrentStockFrozenColumns ||
                    cell.left() >= GridBody::kIndicatorWidth + 86 + 101 + 88);
            QVERIFY(cell.right() < body->viewport()->width());
        }
        QTest::keyClick(body, Qt::Key_Right);
        QCOMPARE(body->currentColumn(), columns - 1);
        QTest::keyClick(body, Qt::Key_Tab);
        QCOMPARE(body->currentRow(), 1);
        QCOMPARE(body->currentColumn(), 0);
        QTest::keyClick(body, Qt::Key_Backtab);
        QCOMPARE(body->currentRow(), 0);
        QCOMPARE(body->currentColumn(), columns - 1);
        QVERIFY(body->hasFocus()); // Tab never leaves the grid
        QTest::keyClick(body, Qt::Key_Home);
        QCOMPARE(body->currentColumn(), 0);
    }

    void clicksMakeACellCurrentAndEveryDoubleClickIsReported() {
        CurrentStockGrid g;
        g.run("轴承");
        QVERIFY(g.shown());
        GridBody* body = g.grid.body();
        QSignalSpy doubles(&g.grid, &ResultGrid::doubleClicked);
        const QPoint inCell = body->cellRect(4, g.column("批号")).center();
        QTest::mouseClick(body->viewport(), Qt::LeftButton, {}, inCell);
        QCOMPARE(body->currentRow(), 4);
        QCOMPARE(body->currentColumn(), g.column("批号"));
        QTest::mouseDClick(body->viewport(), Qt::LeftButton, {}, inCell);
        QCOMPARE(doubles.size(), 1);
        // Over an empty result too, and no row becomes current.
        g.run("轴承 no such item");
        QTest::mouseDClick(body->viewport(), Qt::LeftButton, {}, inCell);
        QCOMPARE(doubles.size(), 2);
        QCOMPARE(body->currentRow(), -1);
    }

    void f2OpensAnEditorThatChangesNothing() {
        CurrentStockGrid g;
        g.run("轴承");
        QVERIFY(g.shown());
        GridBody* body = g.grid.body();
        body->setFocus();
        body->setCurrentCell(1, g.column("存货名称"));
        const QString name = g.cell(1, "存货名称");
        QTest::keyClick(body, Qt::Key_F2);
        QVERIFY(body->isEditorOpen());
        auto* editor = body->viewport()->findChild<QLineEdit*>();
        QVERIFY(editor && editor->isReadOnly());
        QCOMPARE(editor->text(), name);
        QTest::keyClicks(editor, "xyz");
        QCOMPARE(editor->text(), name);
        QTest::keyClick(editor, Qt::Key_Escape);
        QVERIFY(!body->isEditorOpen());
        QVERIFY(body->hasFocus());
        QCOMPARE(g.cell(1, "存货名称"), name);
    }

    void ctrlCCopiesThePickedRowsOrTheCurrentOneAsShownInDisplayOrder() {
        CurrentStockGrid g;
        g.run("轴承");
        QVERIFY(g.shown());
        GridBody* body = g.grid.body();
        body->setFocus();
        g.grid.header()->moveSection(g.grid.header()->visualIndex(g.column("批号")), 0);
        const auto line = [&](int row) {
            QStringList cells;
            for (int visual = 0; visual < g.grid.header()->count(); ++visual)
                cells << g.grid.model()
                             ->index(row, g.grid.header()->logicalIndex(visual))
                             .data()
                             .toString();
            return cells.join('\t') + '\n';
        };
        QVERIFY(line(0).startsWith(g.cell(0, "批号") + '\t'));
        const auto copied = [] { return QGuiApplication::clipboard()->text(); };

        body->setCurrentCell(2, 0); // nothing picked: the current row
        QTest::keyClick(body, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(copied(), line(2));

        QTest::keyClick(body, Qt::Key_Down, Qt::ShiftModifier); // rows 2 and 3
        QTest::mouseClick(body->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          body->cellRect(5, 0).center()); // and row 5
        QCOMPARE(body->selection().rows(), (std::vector<int>{2, 3, 5}));
        QTest::keyClick(body, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(copied(), line(2) + line(3) + line(5));
        QTest::mouseClick(body->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                          body->cellRect(1, 0).center()); // from the anchor, row 5, up to row 1
        QCOMPARE(body->selection().count(), 5U);

        QTest::keyClick(body, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(int(body->selection().count()), g.grid.model()->rowCount());
        g.grid.copyToClipboard(true);
        const QStringList lines = copied().split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), g.grid.model()->rowCount() + 1);
        QVERIFY(lines[0].startsWith("批号\t存货编码\t"));
        g.grid.sortByTitle(g.column("现存量")); // picked places would hold other rows
        QVERIFY(body->selection().isEmpty());
        QTest::mouseClick(body->viewport(), Qt::LeftButton, {}, body->cellRect(3, 0).center());
        QVERIFY(body->selection().isEmpty());
    }

    void theContextMenuCopiesWithAndWithoutTitles() {
        CurrentStockGrid g;
        g.run("轴承");
        QVERIFY(g.shown());
        GridBody* body = g.grid.body();
        body->setCurrentCell(1, 0);
        for (const QString& entry : {QString("复制(含标题)"), QString("复制")}) {
            chooseFromContextMenu(*body, 1, entry);
            const QString text = QGuiApplication::clipboard()->text();
            QCOMPARE(text.count('\n'), entry == "复制" ? 1 : 2);
            QVERIFY(text.contains(g.cell(1, "存货名称")));
        }
    }
};

QTEST_MAIN(ResultGridTest)
#include "ResultGridTest.moc"
