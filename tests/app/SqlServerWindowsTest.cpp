#include "app/Tfrm_ageing.h"
#include "app/Tfrm_crquery.h"
#include "app/Tfrm_stockcard.h"
#include "app/Tfrm_summary.h"
#include "app/Tfrm_xclquery.h"
#include "db/SessionTurns.h"
#include "db/sqlite/SqliteBackend.h"
#include "forms/Tfrm_link.h"
#include "forms/Tfrm_store.h"
#include "grid/ResultGrid.h"
#include "journal/JournalFields.h"
#include "ledger/PeriodSummaryColumns.h"
#include "ledger/StockCardColumns.h"
#include "stock/CurrentStockFields.h"
#include "stock/CurrentStockStatement.h"
#include "support/DemoDatabasePath.h"
#include "support/MessageBoxWatcher.h"
#include "support/Patience.h"
#include "support/SettingsSandbox.h"
#include "support/tds/DemoOverTds.h"
#include "support/tds/ErpTdsResponder.h"
#include "table/ResultTableModel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

#include <functional>
#include <memory>
#include <optional>
#include <type_traits>

// The windows on a SQL Server: every statement goes through unixODBC and FreeTDS to a TDS
// server in the test, which answers from the demo database in the ERP's column types.
namespace {

struct MainWindowOnServer {
    MainWindowOnServer() {
        main.setAttribute(Qt::WA_DeleteOnClose, false);
        main.ado_conn.setSettings(settingsFor(server));
        main.ado_conn.open();
    }
    QString count() const { return main.Panel4->text(); }
    TdsServer server{ErpTdsResponder(demoDatabasePath())};
    Tfrm_xclquery main;
};

// The connection dialog over a main window, as the Connect button opens it.
struct LinkDialog {
    LinkDialog() {
        main.setAttribute(Qt::WA_DeleteOnClose, false);
        dialog.show();
    }
    void submit(const TdsServer& server, const char* database, const char* user,
                const char* password) {
        dialog.Edit1->setText(QString::fromStdString(server.address()));
        dialog.Edit2->setText(database);
        dialog.Edit3->setText(user);
        dialog.Edit4->setText(password);
        dialog.Button1->click();
        dialog.work().waitUntilDone();
    }
    Tfrm_xclquery main;
    Tfrm_link dialog{main.ado_conn};
};

QString countOfDemo(const std::vector<std::string>& lines, std::span<const FieldDecl> fields) {
    const ResultSet rows =
        SqliteBackend(demoDatabasePath()).fetchAll(joinedStatement(lines), fields);
    return "记录数为：" + QString::number(rows.rowCount());
}

// Every way a server can answer wrongly, met by one window: told in the window's own words, and
// the next query works without 连接.
template <class Window>
void toldOfWrongAnswersAndStillUsable(const std::function<void(Window&)>& prepare = {}) {
    SettingsSandbox settings;
    MessageBoxWatcher boxes;
    TdsServer server{ErpTdsResponder(demoDatabasePath())};
    settings.store(settingsFor(server)); // the main window connects at start
    QElapsedTimer closing;
    {
        Connection connection;
        connection.setSettings(settingsFor(server));
        connection.open();
        std::unique_ptr<Window> made;
        if constexpr (std::is_constructible_v<Window, Connection&>)
            made = std::make_unique<Window>(connection);
        else
            made = std::make_unique<Window>();
        Window& window = *made;
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        // One kind of item: rows enough to answer wrongly in every way, few enough to be quick.
        if constexpr (std::is_base_of_v<ItemCriteriaFields, Window>)
            window.edt_name->setText("轴承");
        if (prepare)
            prepare(window);
        const auto query = [&] {
            window.tbn_query->click();
            window.work().waitUntilDone();
        };
        window.show();
        window.activateWindow(); // Escape is the active window's
        QVERIFY(QTest::qWaitForWindowActive(&window, kEventWait));
        window.work().waitUntilDone();
        QElapsedTimer usual;
        usual.start();
        query();
        const qint64 usualMs = usual.elapsed();
        const QString full = window.Panel4->text();
        using Wrong = TdsServer::Misbehaviour;
        for (const Wrong wrong :
             {Wrong::closeMidRow, Wrong::unknownToken, Wrong::wrongColumnType}) {
            const qsizetype before = boxes.seen().size();
            server.misbehave(wrong);
            query();
            QCOMPARE(boxes.seen().size(), before + 1);
            const QString told = boxes.texts().last();
            QVERIFY2(told.front().unicode() >= 0x4E00, qPrintable(told));
            QCOMPARE(boxes.seen().last().owner, static_cast<QWidget*>(&window));
            server.misbehave(Wrong::none);
            query();
            QCOMPARE(boxes.seen().size(), before + 1);
            QCOMPARE(window.Panel4->text(), full);
        }
        const qsizetype told = boxes.seen().size();
        // An answer that stops midway, one that takes ten seconds and one that never comes (to
        // the cancel neither) are waited for until Escape, which ends the wait at once; the next
        // query runs within seconds, on a new session where the server never answered the last.
        for (const Wrong wrong : {Wrong::truncatedAnswer, Wrong::slowAnswer, Wrong::neverAnswer}) {
            server.misbehave(wrong);
            window.tbn_query->click();
            QTest::qWait(300);
            QVERIFY(window.work().busy());
            window.activateWindow(); // as it is again once a message box over it closes
            QVERIFY(QTest::qWaitForWindowActive(&window, kEventWait));
            QElapsedTimer clock;
            clock.start();
            QTest::keyClick(&window, Qt::Key_Escape);
            QTRY_VERIFY2_WITH_TIMEOUT(!window.work().busy(), qPrintable(window.windowTitle()),
                                      kEventWait);
            QVERIFY(clock.elapsed() < promptly(1000));
            server.misbehave(Wrong::none);
            clock.restart();
            query();
            // (FreeTDS waits a minute for a session that answers nothing)
            QVERIFY2(clock.elapsed() < promptly(usualMs + 5000),
                     qPrintable(QString("%1 ms, usually %2").arg(clock.elapsed()).arg(usualMs)));
            QCOMPARE(boxes.seen().size(), told);
            QCOMPARE(window.Panel4->text(), full);
        }
        // Closed while the server holds its answer for ever (and the one let go above still
        // stuck in the driver): the window waits a moment for its cancel, then goes.
        server.misbehave(Wrong::neverAnswer);
        window.tbn_query->click();
        QTest::qWait(300);
        QVERIFY(window.work().busy());
        closing.start();
    }
    // The window and its connection leave the statements the server never answered behind,
    // stuck in the driver until the server goes.
    QVERIFY2(closing.elapsed() < promptly(1000) + SessionTurns::kLeftBehindAfter.count(),
             qPrintable(QString::number(closing.elapsed())));
}

} // namespace

class SqlServerWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void theMainWindowsQueryArrivesWholeAndFillsTheGrid() {
        MessageBoxWatcher boxes;
        MainWindowOnServer w;
        w.main.edt_name->setText(" 轴承 ");
        w.main.edt_spec->setText("mm²");
        QTest::keyClick(w.main.edt_name, Qt::Key_Return);
        w.main.work().waitUntilDone();
        QVERIFY(boxes.seen().isEmpty());
        CurrentStockCriteria criteria;
        criteria.name = "轴承";
        criteria.spec = "mm²";
        QCOMPARE(w.server.batches().back(), joinedStatement(currentStockStatement(criteria)));
        QCOMPARE(w.count(), countOfDemo(currentStockStatement(criteria), currentStockFields()));

        w.main.edt_name->clear();
        w.main.edt_spec->clear();
        w.main.tbn_query->click();
        w.main.work().waitUntilDone();
        QCOMPARE(w.count(), countOfDemo(currentStockStatement({}), currentStockFields()));
        QVERIFY(!w.main.dbg_xclinfo->model()->index(0, 0).data().toString().isEmpty());
    }

    void aRestartedServerIsReconnectedWithoutTheUsersHelp() {
        MessageBoxWatcher boxes;
        std::optional<TdsServer> server(std::in_place, ErpTdsResponder(demoDatabasePath()));
        const int port = server->port();
        Tfrm_xclquery main;
        main.setAttribute(Qt::WA_DeleteOnClose, false);
        main.ado_conn.setSettings(settingsFor(*server));
        main.ado_conn.open();
        main.tbn_query->click();
        main.work().waitUntilDone();
        const QString full = main.Panel4->text();

        server->dropConnections();
        main.tbn_query->click();
        main.work().waitUntilDone();
        QVERIFY(boxes.seen().isEmpty());
        QCOMPARE(main.Panel4->text(), full);

        server.reset(); // stopped: the window's own message, the grid empty
        main.tbn_query->click();
        main.work().waitUntilDone();
        QCOMPARE(boxes.texts(), QStringList{"读取现存量数据出错，请与系统管理员联系！"});
        QVERIFY(!main.ado_xclinfo.isOpen());

        server.emplace(ErpTdsResponder(demoDatabasePath()), TdsServerOptions{.port = port});
        main.tbn_query->click(); // started again: no need to open 连接
        main.work().waitUntilDone();
        QCOMPARE(boxes.seen().size(), 1);
        QVERIFY(main.ado_xclinfo.isOpen());
        QCOMPARE(main.Panel4->text(), full);
    }

    void thePickerListsTheServersWarehouses() {
        MessageBoxWatcher boxes;
        MainWindowOnServer w;
        Tfrm_store picker(w.main.ado_conn, *w.main.lbb_store);
        picker.show();
        QVERIFY(boxes.seen().isEmpty());
        QCOMPARE(picker.clb_store->count(), 20);
        QCOMPARE(picker.clb_store->item(0)->text(), QString("01-原材料库"));
        QCOMPARE(w.server.batches().back(),
                 std::string("select cwhcode,cwhname\r\nfrom warehouse\r\norder by cwhcode\r\n"));
    }

    void theJournalWindowsQueryArrivesWholeAndFillsTheGrid() {
        MessageBoxWatcher boxes;
        DemoOverTds tds;
        Tfrm_crquery window(tds.connection);
        window.show();
        window.edt_name->setText("轴承");
        window.cbb_sfflag->setCurrentText("收");
        window.tbn_query->click();
        window.work().waitUntilDone();
        QVERIFY(boxes.seen().isEmpty());
        const std::vector<std::string> lines = window.ado_crinfo.statementLines();
        QCOMPARE(tds.server.batches().back(), joinedStatement(lines));
        QVERIFY(tds.server.batches().back().find("('收'='收' and a.bRdFlag = 1 )") !=
                std::string::npos);
        QCOMPARE(window.Panel4->text(), countOfDemo(lines, journalFields()));
        QVERIFY(window.ado_crinfo.rowCount() > 0);
    }

    void theSummaryAndTheCardArriveThroughFreeTdsAsOnTheDemo() {
        MessageBoxWatcher boxes;
        DemoOverTds tds;
        Tfrm_summary summary(tds.connection);
        summary.show();
        summary.dates->setDate(QDate::currentDate().addMonths(-2));
        summary.chk_batch->setChecked(true);
        summary.edt_name->setText("轴承");
        summary.tbn_query->click();
        summary.work().waitUntilDone();
        QVERIFY(boxes.seen().isEmpty());
        const std::vector<std::string> lines = summary.resultQuery().statementLines();
        QCOMPARE(tds.server.batches().back(), joinedStatement(lines));
        QCOMPARE(summary.Panel4->text(), countOfDemo(lines, periodSummaryFields(true)));
        const ResultQuery& rows = summary.resultQuery();
        QVERIFY(rows.rowCount() > 0);
        // The same figures as the demo's own answer.
        const ResultSet demo = SqliteBackend(demoDatabasePath())
                                   .fetchAll(joinedStatement(lines), periodSummaryFields(true));
        const auto total = [](const ResultSet& result, const char* field) {
            const ResultColumn& column = result.column(ResultQuery::fieldIndexIn(result, field));
            double sum = 0;
            for (std::size_t row = 0; row < result.rowCount(); ++row)
                sum += column.asFloat(row);
            return sum;
        };
        for (const char* field : {"期初数量", "入库数量", "出库数量", "期末数量"})
            QVERIFY2(std::abs(total(rows.result(), field) - total(demo, field)) < 1e-3, field);

        Tfrm_stockcard card(tds.connection);
        card.show();
        card.edt_whcode->setText("12");
        card.edt_code->setText("0002091");
        card.dates->setDate(QDate(QDate::currentDate().year(), 1, 1));
        card.tbn_query->click();
        card.work().waitUntilDone();
        QVERIFY(boxes.seen().isEmpty());
        const std::vector<std::string> cardLines = card.resultQuery().statementLines();
        QCOMPARE(tds.server.batches().back(), joinedStatement(cardLines));
        // The lines are counted, not the opening and the closing.
        const ResultSet demoLines = SqliteBackend(demoDatabasePath())
                                        .fetchAll(joinedStatement(cardLines), stockCardFields());
        QCOMPARE(card.Panel4->text(), "记录数为：" + QString::number(demoLines.rowCount() - 2));
        const ResultQuery& cardRows = card.resultQuery();
        const ResultColumn& balance = cardRows.result().column(cardRows.fieldIndex("结存数量"));
        const ResultColumn& demoBalance =
            demoLines.column(ResultQuery::fieldIndexIn(demoLines, "结存数量"));
        for (std::size_t row = 0; row < demoLines.rowCount(); ++row)
            QCOMPARE(std::llround(balance.asFloat(row) * 1e6),
                     std::llround(demoBalance.asFloat(row) * 1e6));
    }

    void theConnectionDialogLogsInThroughFreeTdsAndStoresTheValues() {
        SettingsSandbox settings;
        MessageBoxWatcher boxes;
        TdsServer server;
        LinkDialog link;
        link.submit(server, "erp_2026", "仓管员", "密码;}=");
        QCOMPARE(boxes.texts(), QStringList{"登录成功！"});
        QCOMPARE(server.logins().size(), std::size_t{1});
        QCOMPARE(server.logins()[0].user, std::string("仓管员"));
        QCOMPARE(server.logins()[0].password, std::string("密码;}="));
        QCOMPARE(settings.stored(),
                 (ConnectionSettings{server.address(), "erp_2026", "仓管员", "密码;}="}));
        QVERIFY(link.main.ado_conn.isOpen());
    }

    void aPasswordThatIsNotStoredIsAskedForAtStartAndTheStatusNamesTheDriver() {
        SettingsSandbox settings;
        MessageBoxWatcher boxes;
        TdsServer server;
        ConnectionSettings stored = settingsFor(server);
        stored.password.clear();
        stored.rememberPassword = false;
        settings.store(stored);
        // The question is answered as a user types into it.
        QString asked;
        QTimer answer;
        answer.callOnTimeout([&] {
            if (auto* question = qobject_cast<QInputDialog*>(QApplication::activeModalWidget())) {
                asked = question->labelText();
                question->setTextValue("typed;pw");
                question->accept();
            }
        });
        answer.start(20);
        Tfrm_xclquery main;
        main.setAttribute(Qt::WA_DeleteOnClose, false);
        main.show();
        QTRY_VERIFY_WITH_TIMEOUT(main.ado_conn.isOpen(), kEventWait);
        QCOMPARE(asked, QString::fromStdString("请输入用户“reader”在服务器“" + server.address() +
                                               "”上的密码："));
        QCOMPARE(server.logins().size(), std::size_t{1});
        QCOMPARE(server.logins()[0].password, std::string("typed;pw"));
        QVERIFY(boxes.seen().isEmpty());
        const QString hover = main.findChild<QLabel*>("workStatus")->toolTip();
        QVERIFY2(hover.contains("服务器：Microsoft SQL Server 15.00.2000\n驱动：FreeTDS "),
                 qPrintable(hover));
        QVERIFY(hover.endsWith(
            "加密：可选（服务器要求时加密）\n身份验证：SQL Server 身份验证（reader）"));
        QCOMPARE(settings.stored().password, std::string()); // still not stored
    }

    // Each window on its own, so that a busy machine does not make one test of all five.
    void aServerThatAnswersWronglyIsToldInTheMainWindowWhichStaysUsable() {
        toldOfWrongAnswersAndStillUsable<Tfrm_xclquery>();
    }
    void aServerThatAnswersWronglyIsToldInTheJournalWhichStaysUsable() {
        toldOfWrongAnswersAndStillUsable<Tfrm_crquery>();
    }
    void aServerThatAnswersWronglyIsToldInTheSummaryWhichStaysUsable() {
        toldOfWrongAnswersAndStillUsable<Tfrm_summary>();
    }
    void aServerThatAnswersWronglyIsToldInTheCardWhichStaysUsable() {
        toldOfWrongAnswersAndStillUsable<Tfrm_stockcard>([](Tfrm_stockcard& card) {
            card.edt_whcode->setText("12");
            card.edt_code->setText("0002091");
        });
    }
    void aServerThatAnswersWronglyIsToldInTheAgeingWhichStaysUsable() {
        toldOfWrongAnswersAndStillUsable<Tfrm_ageing>();
    }

    void aRefusedLogInIsReportedAndNothingStored() {
        SettingsSandbox settings;
        MessageBoxWatcher boxes;
        TdsServer server({}, {.refuseLogin = true});
        LinkDialog link;
        link.submit(server, "erp", "sa", "wrong");
        QCOMPARE(boxes.texts(), QStringList{"数据库连接失败！"});
        QCOMPARE(settings.stored(), ConnectionSettings{});
        QVERIFY(!link.main.ado_conn.isOpen());
        QVERIFY(link.dialog.isVisible());
    }
};

QTEST_MAIN(SqlServerWindowsTest)
#include "SqlServerWindowsTest.moc"
