// Long work off the interface thread: the windows stay live while a query or a connection
// attempt runs, and a cancel leaves them ready at once with nothing reported.
#include "app/Tfrm_crquery.h"
#include "app/Tfrm_xclquery.h"
#include "forms/ConnectionStatus.h"
#include "forms/ProgramEnd.h"
#include "forms/Tfrm_link.h"
#include "grid/ResultGrid.h"
#include "support/DemoDatabasePath.h"
#include "support/MessageBoxWatcher.h"
#include "support/Patience.h"
#include "support/SettingsSandbox.h"
#include "support/TickWatch.h"
#include "support/TinyErp.h"
#include "support/tds/ErpTdsResponder.h"
#include "support/tds/TdsServer.h"
#include "table/ResultTableModel.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {

// A main window on a small ERP of its own with one stock row, connected at start-up as a user
// would find it, that can then be made slow.
struct MainWindowOnTinyErp {
    MainWindowOnTinyErp() {
        erp.addWarehouseWithStock("01", "原材料库", 5);
        settings.store({erp.server(), "d", "u", ""});
        main.setAttribute(Qt::WA_DeleteOnClose, false);
        main.show();
    }
    bool connected() {
        return QTest::qWaitForWindowActive(&main, kEventWait) &&
               QTest::qWaitFor([this] { return main.t_action.isActive(); }, kEventWait);
    }
    QList<QWidget*> workButtons() const {
        return {main.tbn_query,   main.ToolButton8, main.tbn_print, main.tbn_chart,
                main.ToolButton2, main.ToolButton1, main.BitBtn1};
    }
    TinyErp erp;
    SettingsSandbox settings;
    MessageBoxWatcher boxes;
    Tfrm_xclquery main;
};

// The connection is free again: a statement of its own runs at once instead of waiting for
// one that was cancelled.
bool connectionFree(Connection& connection) {
    QElapsedTimer clock;
    clock.start();
    const bool answered = connection.fetchAll("select 1 as one", {}).rowCount() == 1;
    return answered && clock.elapsed() < promptly(2000);
}

} // namespace

class BackgroundWorkTest : public QObject {
    Q_OBJECT
private slots:
    void aSlowQueryKeepsTheWindowLiveAndEscapeCancelsIt() {
        MainWindowOnTinyErp w;
        QVERIFY(w.connected());
        w.main.tbn_query->click();
        w.main.work().waitUntilDone();
        QCOMPARE(w.main.Panel4->text(), QString("记录数为：1"));
        w.erp.slowDown();

        const TickWatch ticks;
        w.main.tbn_query->click();
        QVERIFY(w.main.work().busy());
        QCOMPARE(w.main.dbg_xclinfo->model()->rowCount(), 0); // emptied at once
        for (QWidget* button : w.workButtons())
            QVERIFY(!button->isEnabled());
        QCOMPARE(w.main.cursor().shape(), Qt::WaitCursor);
        QVERIFY(w.main.btn_cancel->isVisible());
        QTest::qWait(300);
        QVERIFY2(ticks.ticks() >= 10, qPrintable(QString::number(ticks.ticks())));
        QVERIFY(w.main.work().busy());
        // No row yet: the server is still at work.
        QCOMPARE(w.main.workStatus->text(), QString("正在等待数据库……"));
        const QRect cancelPlace = w.main.btn_cancel->geometry();
        const QRect webPlace = w.main.Edit4->geometry();

        QTest::keyClick(&w.main, Qt::Key_Escape);
        QVERIFY(!w.main.work().busy());
        QCOMPARE(w.main.workStatus->text(), QString("查询已取消"));
        QCOMPARE(w.main.Panel4->text(), QString("记录数为：")); // no rows, no count
        // The hidden 取消 keeps its place: a late click on it lands on nothing.
        QCOMPARE(w.main.Edit4->geometry(), webPlace);
        QCOMPARE(w.main.btn_cancel->parentWidget()->childAt(cancelPlace.center()), nullptr);
        QVERIFY(!w.main.ado_xclinfo.isOpen());
        QCOMPARE(w.main.dbg_xclinfo->model()->rowCount(), 0);
        for (QWidget* button : w.workButtons())
            QVERIFY(button->isEnabled());
        QCOMPARE(w.main.cursor().shape(), Qt::ArrowCursor);
        QVERIFY(!w.main.btn_cancel->isVisible());
        QVERIFY(connectionFree(w.main.ado_conn));
        QTest::qWait(50); // a result on its way would arrive now
        QVERIFY(w.boxes.seen().isEmpty());
        QVERIFY(!w.main.ado_xclinfo.isOpen());
        QCOMPARE(w.main.workStatus->text(), QString("查询已取消")); // until the next work
    }

    void whileAQueryRunsTitleClicksDoubleClicksAndEnterStartNothing() {
        MainWindowOnTinyErp w;
        QVERIFY(w.connected());
        w.erp.slowDown();
        w.main.tbn_query->click();
        QVERIFY(w.main.work().busy());
        QTest::keyClick(w.main.edt_code, Qt::Key_Return);
        w.main.dbg_xclinfoDblClick();
        QCOMPARE(frm_crquery, nullptr);
        w.main.btn_cancel->click();
        QVERIFY(!w.main.work().busy());
        QVERIFY(w.boxes.seen().isEmpty());
    }

    void closingTheJournalWhileItsQueryRunsDropsTheQuery() {
        MainWindowOnTinyErp w;
        QVERIFY(w.connected());
        w.erp.slowDown();
        auto* journal = new Tfrm_crquery(w.main.ado_conn);
        journal->show();
        journal->RunQuery();
        QVERIFY(journal->work().busy());
        QCOMPARE(journal->workStatus->text(), QString("正在等待数据库……"));
        delete journal;
        QVERIFY(connectionFree(w.main.ado_conn));
        QTest::qWait(50);
        QVERIFY(w.boxes.seen().isEmpty());
    }

    void closingTheMainWindowWhileItsQueryRunsEndsTheProgramCleanly() {
        TinyErp erp;
        erp.addWarehouseWithStock("01", "原材料库", 5);
        erp.slowDown();
        SettingsSandbox settings;
        settings.store({erp.server(), "d", "u", ""});
        MessageBoxWatcher boxes;
        QPointer<Tfrm_xclquery> main = new Tfrm_xclquery; // deleted when it closes
        main->show();
        QVERIFY(QTest::qWaitFor([&] { return main->t_action.isActive(); }, kEventWait));
        main->RunQuery();
        QVERIFY(main->work().busy());
        QElapsedTimer clock;
        clock.start();
        main->close();
        QTRY_VERIFY(main.isNull());
        BackgroundJob::waitForAll();               // nothing left running
        QVERIFY(clock.elapsed() < promptly(2000)); // the statement was interrupted, not waited for
        QVERIFY(boxes.seen().isEmpty());
    }

    void theProgramEndsASecondAfterItsWindowThoughTheServerStoppedAnswering() {
        SettingsSandbox settings;
        MessageBoxWatcher boxes;
        TdsServer server{ErpTdsResponder(demoDatabasePath())};
        settings.store({server.address(), "erp_2026", "reader", "pw"});
        // Here the program's end stands for ending the process: it lets the server go, which
        // is what the blocked window waits for.
        auto ended = std::make_shared<std::atomic<qint64>>(0);
        QElapsedTimer clock;
        programEnd::arm(std::chrono::seconds(1), [ended, &server, &clock] {
            *ended = clock.elapsed();
            server.dropConnections();
        });
        QPointer<Tfrm_xclquery> main = new Tfrm_xclquery; // deleted when it closes
        main->show();
        QVERIFY(QTest::qWaitFor([&] { return main->t_action.isActive(); }, kEventWait));
        server.fallSilent(); // as when the server's process is stopped
        const std::size_t heard = server.batches().size();
        main->RunQuery();
        QVERIFY(main->work().busy());
        // The statement has reached the server, which keeps it, when it is cancelled.
        QTRY_VERIFY(server.batches().size() > heard);
        QTest::keyClick(main, Qt::Key_Escape);
        QVERIFY(!main->work().busy());
        qint64 gone = 0;
        connect(main, &QObject::destroyed, [&] { gone = clock.elapsed(); });
        clock.start();
        main->close(); // 退出: the window goes, waiting for the statement it let go
        QTRY_VERIFY_WITH_TIMEOUT(main.isNull(), kEventWait);
        programEnd::disarm();
        QVERIFY2(*ended >= 1000, qPrintable(QString::number(*ended)));
        QVERIFY(gone >= *ended); // the window could not go before the program's end
        QVERIFY2(*ended < 1500, qPrintable(QString::number(*ended)));
        BackgroundJob::waitForAll();
        QVERIFY(boxes.seen().isEmpty());
    }

    void aServerThatNeverAnswersCanBeLeftAtStartUp() {
        SettingsSandbox settings;
        MessageBoxWatcher boxes;
        auto server =
            std::make_unique<TdsServer>(TdsServer::Responder{}, TdsServerOptions{.silent = true});
        settings.store({server->address(), "demo", "sa", "secret"});
        Tfrm_xclquery main;
        main.setAttribute(Qt::WA_DeleteOnClose, false);
        main.show();
        QVERIFY(QTest::qWaitFor([&] { return main.work().busy(); }, kEventWait));
        const TickWatch ticks;
        QTest::qWait(300);
        QVERIFY2(ticks.ticks() >= 10, qPrintable(QString::number(ticks.ticks())));
        QVERIFY(main.work().busy());
        QVERIFY(main.workStatus->text().startsWith("正在连接数据库"));
        QVERIFY(!main.tbn_query->isEnabled());

        main.btn_cancel->click(); // a failed attempt without its message
        QVERIFY(!main.work().busy());
        QVERIFY(!main.ado_conn.isOpen());
        QVERIFY(!main.t_action.isActive());
        QVERIFY(main.tbn_query->isEnabled());
        QTest::qWait(50);
        QVERIFY(boxes.seen().isEmpty());
        server.reset(); // the attempt left behind ends with the server's sockets
        BackgroundJob::waitForAll();
        QVERIFY(boxes.seen().isEmpty());
        // Not connected: 查询 says so and how to connect, and runs nothing.
        main.tbn_query->click();
        QVERIFY(!main.work().busy());
        QCOMPARE(boxes.texts(), QStringList{kNotConnectedMessage});
        QCOMPARE(boxes.seen()[0].owner, &main);
        main.work().showOutcome({});
        QCOMPARE(main.workStatus->text(), QString("未连接数据库"));
    }

    void theDialogsCancelStopsTheAttemptAndKeepsTheBoxesAndTheConnection() {
        MainWindowOnTinyErp w;
        QVERIFY(w.connected());
        Tfrm_xclquery& main = w.main;
        const QString connectedTo = "已连接：erp.sqlite / d";
        QCOMPARE(main.workStatus->text(), connectedTo);
        auto server =
            std::make_unique<TdsServer>(TdsServer::Responder{}, TdsServerOptions{.silent = true});
        Tfrm_link dialog(main.ado_conn);
        dialog.show();
        dialog.Edit1->setText(QString::fromStdString(server->address()));
        dialog.Edit2->setText("demo");
        dialog.Edit3->setText("sa");
        dialog.Button1->click();
        QVERIFY(dialog.work().busy());
        QVERIFY(!dialog.Edit1->isEnabled());
        QVERIFY(!dialog.Button1->isEnabled());
        QCOMPARE(dialog.cursor().shape(), Qt::WaitCursor);
        QVERIFY(dialog.workStatus->text().startsWith("正在连接数据库"));

        dialog.Button2->click(); // stops the attempt instead of emptying the boxes
        QVERIFY(!dialog.work().busy());
        QCOMPARE(dialog.Edit3->text(), QString("sa"));
        QVERIFY(dialog.Edit1->isEnabled());
        QVERIFY(dialog.isVisible());
        QTest::qWait(50);
        QVERIFY(w.boxes.seen().isEmpty());
        QCOMPARE(w.settings.stored().server, w.erp.server()); // nothing new stored
        // The connection that was open before the attempt still works.
        QVERIFY(main.ado_conn.isOpen());
        QCOMPARE(main.ado_conn.settings().server, w.erp.server());
        dialog.close();
        main.tbn_query->click();
        main.work().waitUntilDone();
        QCOMPARE(main.Panel4->text(), QString("记录数为：1"));
        QCOMPARE(main.workStatus->text(), connectedTo);
        QVERIFY(w.boxes.seen().isEmpty());
        server.reset();
        BackgroundJob::waitForAll();
    }
};

QTEST_MAIN(BackgroundWorkTest)
#include "BackgroundWorkTest.moc"
