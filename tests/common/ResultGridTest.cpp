#include "common/ResultGrid.h"
#include "common/GridHeader.h"
#include "connection/Connection.h"
#include "connection/ResultQuery.h"
#include "stock/CurrentStockColumns.h"
#include "stock/CurrentStockFields.h"
#include "stock/CurrentStockStatement.h"
#include "support/DemoDatabasePath.h"

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
    ResultGrid grid{query, currentStockColumns()};
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

    void theCurrentRowIsNavyWithWhiteTextAndTheFirstRowAfterARun() {
        CurrentStockGrid g;
        g.run("轴承");
        g.grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&g.grid));
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
