#include "app/Tfrm_xclquery.h"
#include "forms/WarehouseList.h"
#include "support/DemoDatabasePath.h"
#include "support/MessageBoxWatcher.h"
#include "support/SettingsSandbox.h"
#include "support/TabOrder.h"
#include "support/TinyErp.h"

#include "grid/GridBody.h"
#include "grid/GridHeader.h"
#include "grid/ResultGrid.h"
#include "support/Patience.h"
#include "table/ResultTableModel.h"
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

namespace {

// A main window on the given database, stored as its connection too, so that showing the
// window connects there again instead of to whatever this machine has stored.
struct ConnectedMainWindow {
    explicit ConnectedMainWindow(const std::string& server = "sqlite:" + demoDatabasePath()) {
        settings.store({server, "d", "u", ""});
        main.setAttribute(Qt::WA_DeleteOnClose, false);
        main.ado_conn.setSettings({server, "d", "u", ""});
        main.ado_conn.open();
    }
    int shownRows() const { return main.dbg_xclinfo->model()->rowCount(); }
    QString count() const { return main.Panel4->text(); }
    SettingsSandbox settings;
    Tfrm_xclquery main;
};

QString rowCountText(const ConnectedMainWindow& w) {
    return "记录数为：" + QString::number(w.main.ado_xclinfo.rowCount());
}

} // namespace

class CriteriaPanelTest : public QObject {
    Q_OBJECT
private slots:
    void controlsStandWhereTheFormPutsThemInTabOrder() {
        ConnectedMainWindow w;
        QCOMPARE(w.main.edt_code->geometry(), QRect(245, 9, 150, 20));
        QCOMPARE(w.main.edt_name->geometry(), QRect(453, 36, 140, 20));
        QCOMPARE(w.main.lbb_store->geometry(), QRect(35, 3, 152, 78));
        QCOMPARE(w.main.BitBtn1->text(), QString(">>"));
        const QList<QWidget*> order = {w.main.BitBtn1, w.main.lbb_store, w.main.edt_code,
                                       w.main.edt_no,  w.main.edt_spec,  w.main.edt_name};
        for (int i = 0; i + 1 < order.size(); ++i)
            QCOMPARE(nextTabStop(order[i]), order[i + 1]);
    }

    void theQueryButtonRunsTheQueryAndShowsTheRowCount() {
        ConnectedMainWindow w;
        QCOMPARE(w.count(), QString("记录数为："));
        w.main.tbn_query->click();
        w.main.work().waitUntilDone();
        QVERIFY(w.main.ado_xclinfo.rowCount() > 20'000);
        QCOMPARE(w.count(), rowCountText(w));
        QCOMPARE(w.shownRows(), int(w.main.ado_xclinfo.rowCount()));
        QCOMPARE(w.main.ado_xclinfo.statementLines().size(), std::size_t{26});
        // The columns in their display order.
        QCOMPARE(
            w.main.dbg_xclinfo->model()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
            QString("存货编码"));
        QCOMPARE(w.main.dbg_xclinfo->header()->sectionSize(3), 198);
    }

    void aClickOnATitleSortsTheWindowsResult() {
        ConnectedMainWindow w;
        w.main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.main, kEventWait));
        QTRY_VERIFY(w.main.t_action.isActive()); // connected again at start-up
        GridHeader* titles = w.main.dbg_xclinfo->header();
        const int onHand = 7; // 现存量, scrolled by the frozen columns
        const QPoint centre(titles->sectionViewportPosition(onHand) + 20, titles->height() / 2);
        QTest::mouseClick(titles->viewport(), Qt::LeftButton, {}, centre);
        QCOMPARE(w.main.ado_xclinfo.sortOrder(), std::string()); // closed: nothing to sort
        w.main.tbn_query->click();
        w.main.work().waitUntilDone();
        // The sort runs on the worker: the window says so, and Escape keeps the order shown.
        QTest::mouseClick(titles->viewport(), Qt::LeftButton, {}, centre);
        QVERIFY(w.main.work().busy());
        QCOMPARE(w.main.workStatus->text(), QString("正在排序……"));
        QCOMPARE(w.main.cursor().shape(), Qt::WaitCursor);
        QVERIFY(!w.main.tbn_query->isEnabled());
        QTest::keyClick(w.main.dbg_xclinfo->body(), Qt::Key_Escape);
        QVERIFY(!w.main.work().busy());
        w.main.work().waitUntilDone();
        QTest::qWait(50); // the dropped sort ends on its own and changes nothing
        QCOMPARE(w.main.ado_xclinfo.sortOrder(), std::string());
        QCOMPARE(w.main.dbg_xclinfo->titles()[onHand].caption, std::string("现存量"));
        QTest::mouseClick(titles->viewport(), Qt::LeftButton, {}, centre);
        w.main.work().waitUntilDone();
        QCOMPARE(w.main.ado_xclinfo.sortOrder(), std::string("现存量 ASC"));
        QCOMPARE(w.main.dbg_xclinfo->titles()[onHand].caption, std::string("▲现存量"));
        QTest::mouseClick(titles->viewport(), Qt::LeftButton, {}, centre);
        w.main.work().waitUntilDone();
        QCOMPARE(w.main.ado_xclinfo.sortOrder(), std::string("现存量 DESC"));
        // The work's place names the connection again.
        QCOMPARE(w.main.workStatus->text(), QString("已连接：demo-test.sqlite / d"));
        // The next query's rows come as the marked title says.
        w.main.edt_name->setText("轴承");
        w.main.tbn_query->click();
        w.main.work().waitUntilDone();
        QCOMPARE(w.main.dbg_xclinfo->titles()[onHand].caption, std::string("▼现存量"));
        QCOMPARE(w.main.ado_xclinfo.sortOrder(), std::string("现存量 DESC"));
        const ResultTableModel& rows = *w.main.dbg_xclinfo->model();
        QVERIFY(rows.rowCount() > 1);
        for (int row = 1; row < rows.rowCount(); ++row)
            QVERIFY(rows.index(row - 1, onHand).data().toString().toDouble() >=
                    rows.index(row, onHand).data().toString().toDouble());
    }

    void ctrlACtrlCCopiesEveryRowOnTheWorkerAndEscapeLeavesTheClipboard() {
        ConnectedMainWindow w;
        w.main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.main, kEventWait));
        QTRY_VERIFY(w.main.t_action.isActive());
        w.main.tbn_query->click();
        w.main.work().waitUntilDone();
        QWidget* body = w.main.dbg_xclinfo->body();
        QGuiApplication::clipboard()->setText("before");
        QTest::keyClick(body, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(body, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(w.main.workStatus->text(), QString("正在复制……"));
        QTest::keyClick(body, Qt::Key_Escape);
        w.main.work().waitUntilDone();
        QTest::qWait(50);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("before"));
        QTest::keyClick(body, Qt::Key_C, Qt::ControlModifier);
        w.main.work().waitUntilDone();
        const QString copied = QGuiApplication::clipboard()->text();
        QCOMPARE(copied.count('\n'), qsizetype(w.main.ado_xclinfo.rowCount()));
        const ResultTableModel& table = *w.main.dbg_xclinfo->model();
        QVERIFY(copied.section('\n', -2, -2)
                    .contains(table.index(table.rowCount() - 1, table.columnOf("存货名称"))
                                  .data()
                                  .toString()));
    }

    void enterRunsTheQueryAndSelectsTheBoxTextExceptInTheNameBox() {
        ConnectedMainWindow w;
        for (QLineEdit* box : {w.main.edt_code, w.main.edt_no, w.main.edt_spec}) {
            box->setText("  ");
            QTest::keyClick(box, Qt::Key_Return);
            w.main.work().waitUntilDone();
            QCOMPARE(w.count(), rowCountText(w));
            QVERIFY(box->hasSelectedText());
            box->clear();
        }
        // Blanks and control characters alone restrict nothing.
        const std::size_t all = w.main.ado_xclinfo.rowCount();
        w.main.edt_name->setText("\t接头 ");
        w.main.edt_name->setCursorPosition(1);
        QTest::keyClick(w.main.edt_name, Qt::Key_Enter);
        w.main.work().waitUntilDone();
        QVERIFY(w.main.ado_xclinfo.rowCount() < all);
        QVERIFY(!w.main.edt_name->hasSelectedText());
        QCOMPARE(w.main.edt_name->cursorPosition(), 1);
        QCOMPARE(w.main.ado_xclinfo.statementLines()[22],
                 std::string("  ('接头'='' or dbo.Inventory.cInvName like '%接头%' ) "));
    }

    void enterInTheWarehouseListMovesOnWithoutAQuery() {
        ConnectedMainWindow w;
        appendWarehouseLine(*w.main.lbb_store, "01-原材料库", "01");
        w.main.lbb_store->setFocus();
        QTest::keyClick(w.main.lbb_store, Qt::Key_Return);
        QCOMPARE(w.main.focusWidget(), w.main.edt_code);
        QCOMPARE(w.count(), QString("记录数为："));
        QVERIFY(!w.main.ado_xclinfo.isOpen());
    }

    void aFailedRunReportsAndKeepsThePreviousCount() {
        MessageBoxWatcher boxes;
        TinyErp erp;
        erp.addWarehouseWithStock("01", "原材料库", 5);
        ConnectedMainWindow w(erp.server());
        w.main.tbn_query->click();
        w.main.work().waitUntilDone();
        const QString previous = w.count();
        QCOMPARE(previous, QString("记录数为：1"));
        erp.exec("DROP TABLE CurrentStock"); // the server now refuses the statement
        w.main.tbn_query->click();
        w.main.work().waitUntilDone();
        QCOMPARE(boxes.texts(), QStringList{"读取现存量数据出错，请与系统管理员联系！"});
        QCOMPARE(boxes.seen()[0].caption, QString("提示"));
        QCOMPARE(boxes.seen()[0].owner, &w.main);
        QCOMPARE(w.count(), previous);
        QVERIFY(!w.main.ado_xclinfo.isOpen());
        QCOMPARE(w.shownRows(), 0);
    }

    void chosenWarehousesRestrictByTheirWholeCodes() {
        {
            TinyErp erp;
            erp.addWarehouseWithStock("WH-101", "北仓", 7);
            erp.addWarehouseWithStock("WH-102", "南仓", 9);
            ConnectedMainWindow w(erp.server());
            appendWarehouseLine(*w.main.lbb_store, "WH-102-南仓", "WH-102");
            w.main.tbn_query->click();
            w.main.work().waitUntilDone();
            QCOMPARE(w.count(), QString("记录数为：1"));
            const QModelIndex warehouse = w.main.dbg_xclinfo->model()->index(0, 6);
            QCOMPARE(warehouse.data().toString(), QString("南仓"));
            QCOMPARE(w.main.dbg_xclinfo->model()->index(0, 7).data().toString(), QString("9"));
            w.main.lbb_store->clear();
            w.main.tbn_query->click();
            w.main.work().waitUntilDone();
            QCOMPARE(w.count(), QString("记录数为：2"));
        }
    }
};

QTEST_MAIN(CriteriaPanelTest)
#include "CriteriaPanelTest.moc"
