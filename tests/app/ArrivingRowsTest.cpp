#include "app/Tfrm_crquery.h"
#include "app/Tfrm_summary.h"
#include "app/Tfrm_xclquery.h"
#include "db/sqlite/SqliteBackend.h"
#include "grid/GridBody.h"
#include "grid/ResultGrid.h"
#include "support/DemoDatabasePath.h"
#include "support/MessageBoxWatcher.h"
#include "support/Patience.h"
#include "support/tds/ErpTdsResponder.h"
#include "support/tds/TdsServer.h"
#include "table/CellText.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QtTest>

#include <cmath>

// Rows on the screen as they arrive: the test's TDS server sends the first part of each answer
// and holds the rest until the test lets it go, so that what the windows show while rows are
// still coming can be looked at, every statement passing through FreeTDS.
namespace {

constexpr std::size_t kHeldAfterBytes = 1 << 20;

TdsServerOptions holding() {
    TdsServerOptions options;
    options.holdAfterBytes = kHeldAfterBytes;
    return options;
}

// The same statement on the demo through SQLite: every row the server has to send.
ResultSet demoRowsOf(const ResultQuery& query) {
    return SqliteBackend(demoDatabasePath()).fetchAll(query.commandText(), query.declaredFields());
}

// Empty when every shown row of the grid, cell by cell, shows what the same row of `expected`
// holds (both in the server's order); else the first difference.
QString firstDifference(const ResultGrid& grid, const ResultSet& expected) {
    const ResultTableModel& model = *grid.model();
    const CellText text;
    for (int column = 0; column < model.columnCount(); ++column) {
        const auto field = expected.findColumn(grid.columns()[column].field);
        if (!field)
            return QString("no field for column %1").arg(column);
        for (int row = 0; row < model.rowCount(); ++row) {
            const QString shown = model.index(row, column).data().toString();
            const QString wanted = text(expected.column(*field), grid.query().rowAt(row));
            if (shown != wanted)
                return QString("row %1, %2: %3 instead of %4")
                    .arg(row)
                    .arg(QString::fromStdString(grid.columns()[column].field), shown, wanted);
        }
    }
    return {};
}

// A summed column's total over every row of `rows`, added in ten-thousandths by a plain loop.
double plainSum(const ResultSet& rows, const std::string& field) {
    const ResultColumn& column = rows.column(*rows.findColumn(field));
    std::int64_t tenThousandths = 0;
    for (std::size_t row = 0; row < rows.rowCount(); ++row)
        tenThousandths += std::llround(column.asFloat(row) * 10000);
    return static_cast<double>(tenThousandths) / 10000;
}

double footerNumber(const ResultGrid& grid, const char* field) {
    return grid.footerText(grid.model()->columnOf(field)).remove(',').toDouble();
}

// The test's server holding its answers, a connection to it, and the journal over every date.
struct JournalOnHeldServer {
    JournalOnHeldServer() {
        connection.setSettings({server.address(), "erp_2026", "reader", "pw"});
        connection.open();
        journal.show();
        journal.dates->setDate(QDate(1990, 1, 1));
        journal.datee->setDate(QDate(2100, 1, 1));
    }
    TdsServer server{ErpTdsResponder(demoDatabasePath()), holding()};
    Connection connection;
    Tfrm_crquery journal{connection};
};

// Turns the event loop until the window shows rows or its query ended.
void waitForRows(QueryWindowFrame& window) {
    QTRY_VERIFY_WITH_TIMEOUT(window.grid()->query().rowCount() > 0 || !window.work().busy(),
                             kEventWait);
}

} // namespace

class ArrivingRowsTest : public QObject {
    Q_OBJECT
private slots:
    void theMainWindowShowsTheRowsSoFarAndSumsThemOnceTheLastIsIn() {
        MessageBoxWatcher boxes;
        TdsServer server(ErpTdsResponder(demoDatabasePath()), holding());
        Tfrm_xclquery main;
        main.setAttribute(Qt::WA_DeleteOnClose, false);
        main.ado_conn.setSettings({server.address(), "erp_2026", "reader", "pw"});
        main.ado_conn.open();
        ResultGrid& grid = *main.dbg_xclinfo;
        main.tbn_query->click();
        waitForRows(main);
        QVERIFY(main.work().busy()); // the rest is still held

        // While the server holds the rest: the rows so far, in the server's order, each cell
        // right; the count says how many; sums wait; what needs every row is not offered.
        const ResultSet expected = demoRowsOf(grid.query());
        const int soFar = grid.model()->rowCount();
        QVERIFY(soFar < static_cast<int>(expected.rowCount()));
        QCOMPARE(firstDifference(grid, expected), QString());
        QCOMPARE(main.Panel4->text(), "正在读取：" + CellText::groupedCount(soFar) + " 行");
        QCOMPARE(grid.footerText(grid.model()->columnOf("现存量")), QString("…"));
        QVERIFY(!main.findChild<QToolButton*>("ToolButton8")->isEnabled()); // 输出
        QVERIFY(!main.findChild<QToolButton*>("tbn_print")->isEnabled());
        const int code = grid.model()->columnOf("存货编码");
        emit grid.titleClicked(code); // sorting waits for the last row: nothing moves
        QVERIFY(grid.query().sortOrder().empty());
        QCOMPARE(grid.titles()[static_cast<std::size_t>(code)].caption, std::string("存货编码"));
        grid.body()->setCurrentCell(5, code);
        const std::size_t currentRow = grid.query().currentRow();

        server.releaseHeldAnswer();
        main.work().waitUntilDone();
        QVERIFY(boxes.seen().isEmpty());
        QCOMPARE(grid.model()->rowCount(), static_cast<int>(expected.rowCount()));
        QCOMPARE(firstDifference(grid, expected), QString());
        QCOMPARE(main.Panel4->text(), "记录数为：" + QString::number(expected.rowCount()));
        QCOMPARE(grid.body()->currentRow(), 5); // the place the user went to stays
        QCOMPARE(grid.query().currentRow(), currentRow);
        QCOMPARE(footerNumber(grid, "现存量"), plainSum(expected, "现存量"));
        QVERIFY(main.findChild<QToolButton*>("ToolButton8")->isEnabled());

        // Now a title click sorts; the next query keeps the marked title's order, which the
        // rows take once the last is in.
        emit grid.titleClicked(code);
        main.work().waitUntilDone();
        QCOMPARE(grid.query().sortOrder(), std::string("存货编码 ASC"));
        server.holdAgain();
        main.tbn_query->click();
        waitForRows(main);
        QVERIFY(main.work().busy());                          // the rest is still held
        QCOMPARE(firstDifference(grid, expected), QString()); // as they come, unsorted
        server.releaseHeldAnswer();
        main.work().waitUntilDone();
        QCOMPARE(grid.query().sortOrder(), std::string("存货编码 ASC"));
        QCOMPARE(grid.model()->rowCount(), static_cast<int>(expected.rowCount()));
        const ResultColumn& codes =
            grid.query().result().column(*grid.query().result().findColumn("存货编码"));
        for (std::size_t position = 1; position < grid.query().rowCount(); ++position)
            QVERIFY2(codes.text(grid.query().rowAt(position - 1)) <=
                         codes.text(grid.query().rowAt(position)),
                     qPrintable(QString("position %1").arg(position)));
    }

    void escapeWhileRowsArriveLeavesNoRows() {
        JournalOnHeldServer held;
        Tfrm_crquery& journal = held.journal;
        journal.RunQuery();
        waitForRows(journal);
        QVERIFY(journal.work().busy());
        QTest::keyClick(&journal, Qt::Key_Escape);
        QVERIFY(!journal.work().busy());
        held.server.releaseHeldAnswer(); // the cancelled statement ends on the server too
        ResultGrid& grid = *journal.grid();
        QCOMPARE(grid.model()->rowCount(), 0);
        QCOMPARE(journal.Panel4->text(), QString("记录数为："));
        QCOMPARE(journal.workStatus->text(), QString("查询已取消"));
        for (int column = 0; column < grid.model()->columnCount(); ++column)
            if (grid.columns()[column].footer == FooterValue::Sum)
                QCOMPARE(grid.footerText(column), QString());
    }

    void theJournalAndTheSummaryShowTheirRowsAsTheyArriveToo() {
        JournalOnHeldServer held;
        TdsServer& server = held.server;
        Tfrm_crquery& journal = held.journal;
        Tfrm_summary summary(held.connection);
        summary.show();
        summary.dates->setDate(QDate(1990, 1, 1));
        summary.chk_batch->setChecked(true);
        for (QueryWindowFrame* window : std::vector<QueryWindowFrame*>{&journal, &summary}) {
            server.holdAgain();
            window->RunQuery();
            waitForRows(*window);
            QVERIFY(window->work().busy());
            ResultGrid& grid = *window->grid();
            const ResultSet expected = demoRowsOf(grid.query());
            QVERIFY(grid.model()->rowCount() < static_cast<int>(expected.rowCount()));
            QCOMPARE(firstDifference(grid, expected), QString());
            for (int column = 0; column < grid.model()->columnCount(); ++column)
                if (grid.columns()[column].footer == FooterValue::Sum)
                    QCOMPARE(grid.footerText(column), QString("…"));
            server.releaseHeldAnswer();
            window->work().waitUntilDone();
            QCOMPARE(grid.model()->rowCount(), static_cast<int>(expected.rowCount()));
            QCOMPARE(firstDifference(grid, expected), QString());
            for (int column = 0; column < grid.model()->columnCount(); ++column)
                if (grid.columns()[column].footer == FooterValue::Sum)
                    QCOMPARE(footerNumber(grid, grid.columns()[column].field.c_str()),
                             plainSum(expected, grid.columns()[column].field));
        }
    }
};

QTEST_MAIN(ArrivingRowsTest)
#include "ArrivingRowsTest.moc"
