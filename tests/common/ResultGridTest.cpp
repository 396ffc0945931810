#include "common/ResultGrid.h"
#include "common/GridHeader.h"
#include "connection/Connection.h"
#include "connection/ResultQuery.h"
#include "stock/CurrentStockColumns.h"
#include "stock/CurrentStockFields.h"
#include "stock/CurrentStockStatement.h"
#include "support/DemoDatabasePath.h"

#include "common/GridFooter.h"
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QtTest>

namespace {

// The current-stock grid over the demo database, at a fixed size.
struct CurrentStockGrid {
    CurrentStockGrid() {
        connection.setSettings({"sqlite:" + demoDatabasePath(), "d", "u", ""});
        connection.open();
        grid.resize(1600, 600);
    }
    void run(const std::string& name = "") {
        CurrentStockCriteria criteria;
        criteria.name = name;
        grid.beginQueryChange();
        query.close();
        query.clearStatement();
        for (const std::string& line : currentStockStatement(criteria))
            query.appendLine(line);
        query.open();
        grid.endQueryChange();
    }
    bool shown() {
        grid.show();
        return QTest::qWaitForWindowExposed(&grid);
    }
    int column(const char* field) const {
        const auto& columns = currentStockColumns();
        for (std::size_t i = 0; i < columns.size(); ++i)
            if (columns[i].field == field)
                return static_cast<int>(i);
        return -1;
    }
    QString cell(int row, const char* field) const {
        return grid.view()->model()->index(row, column(field)).data().toString();
    }
    Connection connection;
    ResultQuery query{connection, currentStockFields()};
    ResultGrid grid{query, currentStockColumns(), kCurrentStockFrozenColumns};
};

} // namespace

class ResultGridTest : public QObject {
    Q_OBJECT
private slots:
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

    void titleClicksSortTheRowsAndMarkTheTitleWhileSumsAndCountStay() {
        CurrentStockGrid g;
        g.run("轴承");
        const QString sum = g.grid.footerText(g.column("现存量"));
        const int rows = g.grid.view()->model()->rowCount();
        const int onHand = g.column("现存量");
        emit g.grid.header()->titleClicked(onHand);
        QCOMPARE(QString::fromStdString(g.grid.titles()[std::size_t(onHand)].caption),
                 QString("▲现存量"));
        QVERIFY(g.cell(0, "现存量").toDouble() <= g.cell(rows - 1, "现存量").toDouble());
        emit g.grid.header()->titleClicked(onHand);
        QVERIFY(g.cell(0, "现存量").toDouble() >= g.cell(rows - 1, "现存量").toDouble());
        QCOMPARE(g.grid.footerText(onHand), sum);
        QCOMPARE(g.grid.view()->model()->rowCount(), rows);
        QCOMPARE(g.grid.view()->columnWidth(onHand), 71);
    }

    void frozenColumnsStayInPlaceWhenTheGridScrollsSideways() {
        CurrentStockGrid g;
        g.run("轴承");
        g.grid.resize(700, 400);
        QVERIFY(g.shown());
        QTableView* frozen = g.grid.frozenView();
        QVERIFY(frozen && frozen->isVisible());
        for (int c = 0; c < int(currentStockColumns().size()); ++c)
            QCOMPARE(frozen->isColumnHidden(c), c >= kCurrentStockFrozenColumns);
        QCOMPARE(frozen->width(), 86 + 101 + 88);
        const QRect before = frozen->geometry();
        const QRect labelBefore = g.grid.footer()->cellRect(0);
        QScrollBar* sideways = g.grid.view()->horizontalScrollBar();
        sideways->setValue(sideways->maximum());
        QVERIFY(g.grid.view()->columnViewportPosition(0) < 0);
        QCOMPARE(frozen->geometry(), before);
        QCOMPARE(g.grid.footer()->cellRect(0), labelBefore);
        // A cell to the right comes out from under the frozen columns when it becomes current.
        g.grid.view()->setCurrentIndex(g.grid.view()->model()->index(5, 3));
        QVERIFY(g.grid.view()->columnViewportPosition(3) >= frozen->width());
        // Both views scroll down together.
        g.grid.view()->verticalScrollBar()->setValue(7);
        QCOMPARE(frozen->verticalScrollBar()->value(), 7);
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
        QCOMPARE(g.grid.view()->columnWidth(g.column("存货名称")), 198);
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
        QCOMPARE(clicks.size(), 1); // the drag's release counts as a click
    }

    void theCurrentRecordStaysCurrentWhenTheRowsAreSorted() {
        CurrentStockGrid g;
        g.run("轴承");
        QTableView* view = g.grid.view();
        view->setCurrentIndex(view->model()->index(9, 2));
        const QString batch = g.cell(9, "批号");
        const QString onHand = g.cell(9, "现存量");
        g.grid.sortByTitle(g.column("现存量"));
        const int row = view->currentIndex().row();
        QCOMPARE(g.cell(row, "批号"), batch);
        QCOMPARE(g.cell(row, "现存量"), onHand);
        QCOMPARE(view->currentIndex().column(), 2);
    }

    void theCurrentRowIsNavyWithWhiteTextAndTheFirstRowAfterARun() {
        CurrentStockGrid g;
        g.run("轴承");
        QVERIFY(g.shown());
        QCOMPARE(g.grid.view()->currentIndex().row(), 0);
        g.grid.view()->setCurrentIndex(g.grid.view()->model()->index(2, 5));
        const QImage image = g.grid.view()->viewport()->grab().toImage();
        const int rowHeight = g.grid.view()->rowHeight(0);
        const auto colourAt = [&](int row) {
            return image.pixelColor(g.grid.view()->columnViewportPosition(3) + 1,
                                    row * rowHeight + 2);
        };
        QCOMPARE(colourAt(2), QColor(0, 0, 128));
        QCOMPARE(colourAt(1), QColor(255, 255, 255));
        g.run("轴承");
        QCOMPARE(g.grid.view()->currentIndex().row(), 0);
    }
};

QTEST_MAIN(ResultGridTest)
#include "ResultGridTest.moc"
