#include "app/Tfrm_crquery.h"
#include "app/Tfrm_xclquery.h"
#include "forms/WarehouseList.h"
#include "grid/GridBody.h"
#include "grid/GridHeader.h"
#include "grid/ResultGrid.h"
#include "support/DemoDatabasePath.h"
#include "support/MessageBoxWatcher.h"
#include "support/Patience.h"
#include "support/TabOrder.h"
#include "support/TinyErp.h"
#include "table/ResultTableModel.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

namespace {

struct JournalWindow {
    JournalWindow() : window(connection) {
        connection.setSettings({"sqlite:" + demoDatabasePath(), "d", "u", ""});
        connection.open();
    }
    bool shown() {
        window.show();
        return QTest::qWaitForWindowExposed(&window, kEventWait);
    }
    int column(const char* caption) const {
        const ResultTableModel& model = *window.dbg_crinfo->model();
        for (int c = 0; c < model.columnCount(); ++c)
            if (model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString() == caption)
                return c;
        return -1;
    }
    QString footer(const char* caption) const {
        return window.dbg_crinfo->footerText(column(caption));
    }
    Connection connection;
    Tfrm_crquery window;
};

} // namespace

class JournalWindowTest : public QObject {
    Q_OBJECT
private slots:
    void opensEmptyWithTheDefaultDates() {
        JournalWindow j;
        QVERIFY(j.shown());
        Tfrm_crquery& w = j.window;
        QCOMPARE(w.windowTitle(), QString("出入库流水帐"));
        QCOMPARE(w.size(), QSize(980, 500));
        const QDate today = QDate::currentDate();
        QCOMPARE(w.dates->date(), QDate(today.year(), 1, 1));
        QCOMPARE(w.datee->date(), today);
        QCOMPARE(w.cbb_sfflag->currentIndex(), -1);
        QCOMPARE(w.cbb_ordersource->currentIndex(), -1);
        QCOMPARE(w.cbb_sfflag->count(), 3);
        QCOMPARE(w.cbb_ordersource->count(), 16);
        QCOMPARE(w.cbb_ordersource->itemText(13), QString("库存"));
        QCOMPARE(w.Panel4->text(), QString());
        QVERIFY(!w.ado_crinfo.isOpen());
        QCOMPARE(j.footer("收发类别"), QString()); // blank while the query is closed
        QCOMPARE(w.dbg_crinfo->model()->columnCount(), 26);
        QVERIFY(w.dbg_crinfo->body()->frozenHeader() == nullptr);
        const QList<QWidget*> order = {w.BitBtn1,         w.lbb_store,   w.edt_code, w.edt_no,
                                       w.edt_spec,        w.dates,       w.datee,    w.cbb_sfflag,
                                       w.cbb_ordersource, w.edt_orderno, w.edt_name, w.edt_djno};
        for (int i = 0; i + 1 < order.size(); ++i)
            QCOMPARE(nextTabStop(order[i]), order[i + 1]);
    }

    void enterRunsTheQueryOnlyFromTheFirstThreeBoxes() {
        JournalWindow j;
        QVERIFY(j.shown());
        Tfrm_crquery& w = j.window;
        for (QLineEdit* box : {w.edt_name, w.edt_orderno, w.edt_djno}) {
            box->setFocus();
            QTest::keyClick(box, Qt::Key_Return);
            w.work().waitUntilDone();
            QVERIFY(!w.ado_crinfo.isOpen());
        }
        appendWarehouseLine(*w.lbb_store, "01-原材料库", "01");
        w.lbb_store->setFocus();
        QTest::keyClick(w.lbb_store, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), w.edt_code);
        QVERIFY(!w.ado_crinfo.isOpen());
        QVERIFY(w.isVisible()); // Enter does not close the window
        for (QLineEdit* box : {w.edt_code, w.edt_no, w.edt_spec}) {
            w.Panel4->clear();
            box->setText("0");
            box->setFocus();
            QTest::keyClick(box, Qt::Key_Return);
            w.work().waitUntilDone();
            QVERIFY(w.Panel4->text().startsWith("记录数为："));
            QCOMPARE(box->selectedText(), QString("0"));
            QCOMPARE(QApplication::focusWidget(), box);
            box->clear();
        }
        QCOMPARE(w.ado_crinfo.statementLines().size(), std::size_t{40});
    }

    void receiptsOnlyShowAZeroIssueTotalUnderTheLabel() {
        JournalWindow j;
        Tfrm_crquery& w = j.window;
        w.FormShow();
        QCOMPARE(w.workStatus->text(), QString("已连接：demo-test.sqlite / d"));
        w.dates->setDate(QDate(1990, 1, 1));
        w.datee->setDate(QDate(2100, 1, 1));
        w.cbb_sfflag->setCurrentIndex(1); // 收
        w.tbn_query->click();
        w.work().waitUntilDone();
        QCOMPARE(w.Panel4->text(), "记录数为：" + QString::number(w.ado_crinfo.rowCount()));
        QVERIFY(w.ado_crinfo.rowCount() > 0);
        QCOMPARE(j.footer("收发类别"), QString("合计"));
        QCOMPARE(j.footer("出库数量"), QString("0"));
        QVERIFY(j.footer("入库数量") != QString("0"));
        // The source-number column shows the related business document number.
        const int source = j.column("来源单据号");
        const auto& r = w.ado_crinfo.result();
        const ResultColumn& related = r.column(w.ado_crinfo.fieldIndex("对应业务单号"));
        const std::size_t first = w.ado_crinfo.rowAt(0);
        QCOMPARE(w.dbg_crinfo->model()->index(0, source).data().toString(),
                 related.isNull(first) ? QString() : QString::fromUtf8(related.text(first)));
        // A title click sorts the journal's rows in memory.
        const int received = j.column("入库数量");
        emit w.dbg_crinfo->header()->titleClicked(received);
        w.work().waitUntilDone();
        QCOMPARE(w.ado_crinfo.sortOrder(), std::string("入库数量 ASC"));
        const auto& model = *w.dbg_crinfo->model();
        QVERIFY(model.index(0, received).data().toString().toDouble() <=
                model.index(model.rowCount() - 1, received).data().toString().toDouble());
        // A start after the end finds nothing, without a message; the label still shows.
        MessageBoxWatcher messages;
        w.dates->setDate(QDate(2026, 6, 1));
        w.datee->setDate(QDate(2026, 5, 31));
        w.RunQuery();
        w.work().waitUntilDone();
        QCOMPARE(w.Panel4->text(), QString("记录数为：0"));
        QCOMPARE(j.footer("收发类别"), QString("合计"));
        QCOMPARE(j.footer("入库数量"), QString("0"));
        QVERIFY(messages.seen().isEmpty());
    }

    void aFailedRunIsReportedAndKeepsThePreviousCount() {
        JournalWindow j;
        QVERIFY(j.shown());
        Tfrm_crquery& w = j.window;
        w.RunQuery();
        w.work().waitUntilDone();
        const QString count = w.Panel4->text();
        QVERIFY(count.startsWith("记录数为："));
        TinyErp erp; // a database whose journal goes missing
        j.connection.setSettings({erp.server(), "d", "u", ""});
        j.connection.open();
        erp.exec("DROP TABLE rdrecords");
        MessageBoxWatcher messages;
        w.RunQuery();
        w.work().waitUntilDone();
        QTRY_COMPARE(messages.seen().size(), 1);
        QCOMPARE(messages.seen()[0].caption, QString("提示"));
        QCOMPARE(messages.seen()[0].text, QString("读取出入库流水帐出错！"));
        QCOMPARE(messages.seen()[0].owner, &w);
        QVERIFY(!messages.seen()[0].hasIcon);
        QCOMPARE(w.Panel4->text(), count);
        QVERIFY(!w.ado_crinfo.isOpen());
        QCOMPARE(j.footer("收发类别"), QString());
        QCOMPARE(w.dbg_crinfo->body()->currentRow(), -1);
    }

    void theMainWindowOpensAFreshModalJournalFromItsButtonAndItsGrid() {
        Tfrm_xclquery main;
        main.setAttribute(Qt::WA_DeleteOnClose, false);
        main.ado_conn.setSettings({"sqlite:" + demoDatabasePath(), "d", "u", ""});
        main.ado_conn.open();
        QStringList seen;
        const auto inspectAndClose = [&seen] {
            QTimer::singleShot(0, [&seen] {
                QVERIFY(frm_crquery && frm_crquery->isVisible() && frm_crquery->isModal());
                GridHeader* titles = frm_crquery->dbg_crinfo->header();
                seen << frm_crquery->edt_code->text() << frm_crquery->Panel4->text()
                     << QString::number(titles->sectionSize(0))
                     << QString::number(titles->visualIndex(0));
                frm_crquery->edt_code->setText("typed");
                titles->resizeSection(0, 200);
                titles->moveSection(0, 5);
                frm_crquery->tb_exit->click();
            });
        };
        inspectAndClose();
        main.ToolButton1->click();
        QVERIFY(frm_crquery == nullptr);
        main.edt_name->setText("轴承");
        main.RunQuery();
        main.work().waitUntilDone();
        inspectAndClose();
        GridBody* body = main.dbg_xclinfo->body();
        QTest::mouseDClick(body->viewport(), Qt::LeftButton, {}, body->cellRect(0, 3).center());
        QVERIFY(frm_crquery == nullptr);
        // Each journal is fresh, but for its columns, which stay as the user left them.
        QCOMPARE(seen, QStringList({"", "", "33", "0", "", "", "200", "5"}));
    }
};

QTEST_MAIN(JournalWindowTest)
#include "JournalWindowTest.moc"
