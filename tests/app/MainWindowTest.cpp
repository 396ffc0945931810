#include "app/FirstStart.h"
#include "app/Tfrm_crquery.h"
#include "app/Tfrm_xclquery.h"
#include "forms/ChartCommand.h"
#include "forms/ContactColours.h"
#include "forms/ContactInfo.h"
#include "forms/Tfrm_link.h"
#include "forms/Tfrm_store.h"
#include "forms/WarehouseList.h"
#include "grid/GridBody.h"
#include "grid/ResultGrid.h"
#include "journal/JournalQuery.h"
#include "settings/DBLinkInfo.h"
#include "support/ContextMenuEntry.h"
#include "support/DemoDatabasePath.h"
#include "support/MessageBoxWatcher.h"
#include "support/Patience.h"
#include "support/SettingsSandbox.h"
#include "support/TabOrder.h"
#include "support/TempDir.h"
#include "table/ResultTableModel.h"

#include <QDateEdit>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include <QtTest>
#include <fstream>
#include <set>

namespace {

const QColor kRed(255, 0, 0), kYellow(255, 255, 0), kBlue(0, 0, 255);

// Receives what the program asks the shell to open.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened << url; }
};

QList<QLineEdit*> contactFields(const Tfrm_xclquery& w) {
    return {w.Edit3, w.Edit1, w.Edit2, w.Edit4, w.Edit5, w.Edit6};
}

// Shows a new main window and lets its start-up connection run.
std::unique_ptr<Tfrm_xclquery> startMainWindow() {
    auto window = std::make_unique<Tfrm_xclquery>();
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->show();
    QTest::qWait(50);
    window->work().waitUntilDone(); // a start-up connection under way ends first
    return window;
}

// The main window shown with no stored settings; the start-up connection's message is
// answered.
struct ShownWithoutSettings {
    ShownWithoutSettings() {
        main.setAttribute(Qt::WA_DeleteOnClose, false);
        main.show();
    }
    SettingsSandbox settings;
    MessageBoxWatcher boxes;
    Tfrm_xclquery main;
};

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void firstStartWithoutSettingsReportsOnceAndStaysUsable() {
        SettingsSandbox settings;
        MessageBoxWatcher boxes;
        auto window = startMainWindow();
        QCOMPARE(boxes.texts(), QStringList{"数据库连接失败,请点击连接重新设置!"});
        QCOMPARE(boxes.seen()[0].caption, QString("提示"));
        QCOMPARE(boxes.seen()[0].owner, window.get());
        QCOMPARE(boxes.seen()[0].buttons, 1);
        QVERIFY(!boxes.seen()[0].hasIcon);
        QVERIFY(!window->ado_conn.isOpen());
        QVERIFY(!window->t_action.isActive());
        QCOMPARE(fieldColour(*window->Edit3), QColor(Qt::black));
        QCOMPARE(window->Panel4->text(), QString("记录数为："));
        QCOMPARE(window->windowTitle(), QString("现存量查询"));
    }

    void aFirstStartWithoutAStoredConnectionMakesTheDemoAndConnectsToIt() {
#ifndef STOCKQUERY_PROGRAM
        QSKIP("the Windows build's first start is tried under Wine by its own script");
#else
        SettingsSandbox settings;
        TempDir data;
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(data.path().string()));
        prepareDemoOnFirstStart();
        qunsetenv("XDG_DATA_HOME");
        const std::filesystem::path demo =
            data / (QCoreApplication::applicationName() + "/demo-erp.sqlite").toStdString();
        QVERIFY(std::filesystem::exists(demo));
        MessageBoxWatcher boxes;
        auto main = startMainWindow();
        QVERIFY(main->ado_conn.isOpen());
        QCOMPARE(main->workStatus->text(), QString("已连接：demo-erp.sqlite / demo"));
        QVERIFY(boxes.seen().isEmpty());
        // A stored connection is left as it is.
        prepareDemoOnFirstStart();
        ConnectionSettings stored;
        QVERIFY(loadDBLinkInfo(stored));
        QCOMPARE(stored.server, "sqlite:" + demo.string());

        // The program itself, started with an empty home: the demo under its data folder and
        // its connection stored, before the window connects.
        TempDir home;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "STOCKQUERY_SETTINGS_ROOT"})
            environment.remove(name);
        environment.insert("HOME", QString::fromStdString(home.path().string()));
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(STOCKQUERY_PROGRAM, {});
        const std::filesystem::path link =
            home / ".config/stockquery/HKEY_LOCAL_MACHINE/SOFTWARE/QARVO/TOLMA/DBLinkInfo.reg";
        const auto storedText = [&] {
            std::ifstream file(link);
            return std::string(std::istreambuf_iterator<char>(file), {});
        };
        QVERIFY(QTest::qWaitFor(
            [&] { return storedText().find("dbuser\"=\"demo\"") != std::string::npos; },
            kEventWait));
        program.kill();
        program.waitForFinished();
        const std::filesystem::path made = home / ".local/share/stockquery/demo-erp.sqlite";
        QVERIFY(std::filesystem::exists(made));
        QVERIFY(storedText().find("\"dbserver\"=\"sqlite:" + made.string() + "\"") !=
                std::string::npos);
#endif
    }

    void everyStatusBarFieldShowsWholeOrCutWithAnEllipsisAndItsWholeTextOnHover() {
        SettingsSandbox settings;
        settings.store({"sqlite:" + demoDatabasePath(), "demo", "demo", ""});
        auto main = startMainWindow();
        Tfrm_crquery journal(main->ado_conn);
        journal.show();
        for (const QSize size : {QSize(942, 500), QSize(1024, 600), QSize(1280, 720)}) {
            for (QWidget* window :
                 {static_cast<QWidget*>(main.get()), static_cast<QWidget*>(&journal)}) {
                window->resize(size);
                window->grab(); // laid out and painted at that size
                const QList<QLineEdit*> fields =
                    window == main.get()
                        ? QList<QLineEdit*>{main->Edit4, main->Edit5, main->Edit6}
                        : QList<QLineEdit*>{journal.Edit4, journal.Edit5, journal.Edit6};
                for (QLineEdit* field : fields) {
                    const bool cut = field->fontMetrics().horizontalAdvance(field->text()) >
                                     field->contentsRect().width() - 4;
                    QCOMPARE(field->toolTip(), cut ? field->text() : QString());
                    QVERIFY(field->width() > 0);
                }
                // What is drawn of each field ends before the next one begins.
                for (int i = 1; i < fields.size(); ++i)
                    QVERIFY(fields[i - 1]->geometry().right() < fields[i]->geometry().left());
            }
        }
    }

    void storedDemoConnectionOpensAndStartsTheColourCycle() {
        SettingsSandbox settings;
        settings.store({"sqlite:" + demoDatabasePath(), "demo", "demo", ""});
        MessageBoxWatcher boxes;
        auto window = startMainWindow();
        QVERIFY(boxes.seen().isEmpty());
        QVERIFY(window->ado_conn.isOpen());
        QVERIFY(window->t_action.isActive());
        QCOMPARE(window->t_action.interval(), 1000);
        window->Timer1Timer();
        for (QLineEdit* field : contactFields(*window))
            QCOMPARE(fieldColour(*field), kRed);
        for (int tick = 0; tick < 4; ++tick)
            window->Timer1Timer();
        for (QLineEdit* field : contactFields(*window))
            QCOMPARE(fieldColour(*field), kRed);
    }

    void contactFieldsShowTheirTextsFromTheFirstCharacter() {
        SettingsSandbox settings;
        MessageBoxWatcher boxes;
        auto window = startMainWindow();
        // A line edit shows the part of its text around the cursor: at the start, nothing of
        // the beginning is clipped.
        for (QLineEdit* field : contactFields(*window)) {
            QVERIFY(!field->text().isEmpty());
            QCOMPARE(field->cursorPosition(), 0);
        }
    }

    void aUserOfBlanksCountsAsGivenAndStoredValuesAreNotTrimmed() {
        SettingsSandbox settings;
        settings.store({"sqlite:" + demoDatabasePath(), "demo", "  ", ""});
        MessageBoxWatcher boxes;
        auto window = startMainWindow();
        QVERIFY(boxes.seen().isEmpty());
        QVERIFY(window->ado_conn.isOpen());
        QCOMPARE(window->ado_conn.connectionString(),
                 "Provider=sqloledb;uid=  ;database=demo;server=sqlite:" + demoDatabasePath() +
                     ";pwd=");
    }

    void anUnreachableServerGivesExactlyOneMessage() {
        SettingsSandbox settings;
        settings.store({"sqlite:/nonexistent/erp.sqlite", "erp", "sa", "secret"});
        MessageBoxWatcher boxes;
        auto window = startMainWindow();
        QCOMPARE(boxes.texts(), QStringList{"数据库连接失败,请点击连接重新设置!"});
        QVERIFY(!window->ado_conn.isOpen());
        QVERIFY(!window->t_action.isActive());
    }

    void aSettingOfAnotherTypeReportsTheRegistryErrorThenTheMissingUser() {
        SettingsSandbox settings;
        // The user is read first and is fine; the database is a number.
        settings.storeRaw("\"dbuser\"=\"sa\"\n\"dbdatabase\"=dword:00000001\n"
                          "\"dbserver\"=\"srv\"\n");
        MessageBoxWatcher boxes;
        auto window = startMainWindow();
        const QStringList expected = {"建立数据库连接时发现错误,请点击连接重新设置！",
                                      "数据库连接失败,请点击连接重新设置!"};
        // The attempt starts only once the first message is answered.
        QTRY_COMPARE(boxes.texts(), expected);
        QCOMPARE(boxes.seen()[0].caption, QString("错误信息"));
        QCOMPARE(boxes.seen()[0].owner, nullptr);
        // The server was never read, so the attempt went to an empty server and failed.
        QCOMPARE(window->ado_conn.settings().server, std::string());
    }

    void aClickOnTheWebAddressTurnsItRedAndOpensTheAddress() {
        SettingsSandbox settings;
        settings.store({"sqlite:" + demoDatabasePath(), "demo", "demo", ""});
        MessageBoxWatcher boxes;
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler("https", &catcher, "open");
        auto window = startMainWindow();
        window->Timer1Timer();
        window->Timer1Timer(); // all yellow
        QCOMPARE(fieldColour(*window->Edit4), kYellow);
        QTest::mouseClick(window->Edit4, Qt::LeftButton);
        QCOMPARE(fieldColour(*window->Edit4), kRed);
        QCOMPARE(catcher.opened, QList<QUrl>{QUrl(contact_info::kWebAddress)});
        window->Timer1Timer();
        QCOMPARE(fieldColour(*window->Edit4), kYellow);
        QCOMPARE(fieldColour(*window->Edit5), kBlue);
        QTest::mouseClick(window->Edit3, Qt::RightButton);
        QCOMPARE(catcher.opened.size(), 2);
        QDesktopServices::unsetUrlHandler("https");
    }

    void theToolbarHoldsItsSevenButtonsAndExitCloses() {
        SettingsSandbox settings;
        MessageBoxWatcher boxes;
        auto window = startMainWindow();
        const QList<QToolButton*> buttons = {
            window->tbn_query,   window->ToolButton8, window->tbn_print, window->tbn_chart,
            window->ToolButton2, window->ToolButton1, window->tb_exit};
        const QStringList captions = {"查询", "输出",         "打印", "图表",
                                      "连接", "出入库流水帐", "退出"};
        for (int i = 0; i < buttons.size(); ++i) {
            QCOMPARE(buttons[i]->text(), captions[i]);
            QVERIFY(!buttons[i]->icon().isNull());
            QCOMPARE(buttons[i]->height(), 35);
            if (i > 0)
                QVERIFY(buttons[i]->x() >= buttons[i - 1]->geometry().right() + 8);
        }
        QCOMPARE(window->ToolButton1->width(), 79);
        window->tb_exit->click();
        QVERIFY(!window->isVisible());
    }

    void theConnectButtonOpensAFreshDialogAndForgetsItWhenClosed() {
        SettingsSandbox settings;
        MessageBoxWatcher boxes;
        Tfrm_xclquery main;
        main.setAttribute(Qt::WA_DeleteOnClose, false);
        QPointer<Tfrm_link> seen;
        QTimer::singleShot(50, [&] {
            seen = frm_link;
            QVERIFY(frm_link && frm_link->isVisible());
            frm_link->close(); // the close box
        });
        main.ToolButton2Click();
        QVERIFY(seen.isNull());
        QCOMPARE(frm_link, nullptr);
        QVERIFY(!main.ado_conn.isOpen());
    }

    void aLoginThroughTheConnectButtonLeavesTheRetryTimerAlone() {
        SettingsSandbox settings;
        MessageBoxWatcher boxes;
        Tfrm_xclquery main;
        main.setAttribute(Qt::WA_DeleteOnClose, false);
        QTimer::singleShot(50, [&] {
            frm_link->Edit1->setText(QString::fromStdString("sqlite:" + demoDatabasePath()));
            frm_link->Edit2->setText("demo");
            frm_link->Edit3->setText("demo");
            frm_link->Button1->click();
        });
        main.ToolButton2Click();
        QCOMPARE(boxes.texts(), QStringList{"登录成功！"});
        QVERIFY(main.ado_conn.isOpen());
        QVERIFY(!main.t_action.isActive()); // only the start-up connection starts it
    }

    void theRowsOfTheOldDatabaseGoWhenAnotherIsConnectedAndStayWhenNothingChanged() {
        SettingsSandbox settings;
        settings.store({"sqlite:" + demoDatabasePath(), "demo", "demo", ""});
        MessageBoxWatcher boxes;
        auto main = startMainWindow();
        main->RunQuery();
        main->work().waitUntilDone();
        const int rows = main->dbg_xclinfo->model()->rowCount();
        QVERIFY(rows > 0);
        // Closed without logging in: the same connection, the same rows.
        QTimer::singleShot(50, [] { frm_link->close(); });
        main->ToolButton2Click();
        QCOMPARE(main->dbg_xclinfo->model()->rowCount(), rows);
        QCOMPARE(main->Panel4->text(), "记录数为：" + QString::number(rows));
        // Another database: its name in the status bar, none of the old rows or sums.
        TempDir other;
        std::filesystem::copy_file(demoDatabasePath(), other / "other.sqlite");
        QTimer::singleShot(50, [&] {
            frm_link->Edit1->setText(
                QString::fromStdString("sqlite:" + (other / "other.sqlite").string()));
            frm_link->Edit2->setText("other");
            frm_link->Edit3->setText("demo");
            frm_link->Button1->click();
        });
        main->ToolButton2Click();
        QVERIFY(main->ado_conn.isOpen());
        QCOMPARE(main->workStatus->text(), QString("已连接：other.sqlite / other"));
        QCOMPARE(main->dbg_xclinfo->model()->rowCount(), 0);
        QVERIFY(!main->dbg_xclinfo->query().isOpen());
        QCOMPARE(main->Panel4->text(), QString("记录数为："));
        for (int column = 0; column < main->dbg_xclinfo->model()->columnCount(); ++column)
            QCOMPARE(main->dbg_xclinfo->footerText(column), QString());
    }

    void aRowOfAWarehouseWhoseNameAnotherSharesGoesToItsOwnWarehouseWithoutAsking() {
        SettingsSandbox settings;
        settings.store({"sqlite:" + demoDatabasePath(), "demo", "demo", ""});
        auto main = startMainWindow();
        GridBody* body = main->dbg_xclinfo->body();
        const ResultTableModel& stock = *main->dbg_xclinfo->model();
        const auto firstRowIn = [&](const QString& warehouse) {
            for (int row = 0; row < stock.rowCount(); ++row)
                if (stock.index(row, stock.columnOf("仓库名称")).data().toString() == warehouse)
                    return row;
            return -1;
        };
        // The journal the drill-down opens: its warehouse lines, once it has queried.
        const auto journalLines = [&] {
            QStringList lines;
            bool seen = false;
            QTimer look;
            look.setInterval(20);
            QObject::connect(&look, &QTimer::timeout, [&] {
                QVERIFY2(!frm_store, "no question: the row names its warehouse");
                if (!frm_crquery || frm_crquery->work().busy() ||
                    !frm_crquery->Panel4->text().startsWith("记录数为"))
                    return;
                for (int i = 0; i < frm_crquery->lbb_store->count(); ++i)
                    lines << frm_crquery->lbb_store->item(i)->text();
                seen = true;
                look.stop();
                frm_crquery->close();
            });
            look.start();
            main->ShowRowJournal();
            return QTest::qWaitFor([&] { return seen; }, kEventWait) ? lines : QStringList{"none"};
        };
        // Over every warehouse the two of one name show their codes and keep their rows apart;
        // limited to 03, its rows still read with the code, as its name is shared.
        for (const bool limited : {false, true}) {
            main->lbb_store->clear();
            if (limited)
                appendWarehouseLine(*main->lbb_store, "03-半成品库", "03");
            main->RunQuery();
            main->work().waitUntilDone();
            QCOMPARE(firstRowIn("半成品库"), -1);
            for (const QString code : {"03", "12"}) {
                const int row = firstRowIn("半成品库（" + code + "）");
                QCOMPARE(row >= 0, !limited || code == "03");
                if (row < 0)
                    continue;
                body->setCurrentCell(row, 0);
                QCOMPARE(journalLines(), QStringList{code + "-半成品库"});
            }
        }
    }

    void theWarehouseButtonOpensAFreshPickerEachTimeAndForgetsItWhenClosed() {
        SettingsSandbox settings;
        Tfrm_xclquery main;
        main.setAttribute(Qt::WA_DeleteOnClose, false);
        main.ado_conn.setSettings({"sqlite:" + demoDatabasePath(), "d", "u", ""});
        main.ado_conn.open();
        QStringList checkedOnShowing;
        const auto chooseAndConfirm = [&](const QStringList& choice) {
            QTimer::singleShot(0, [&, choice] {
                QVERIFY(frm_store && frm_store->isVisible());
                QListWidget& list = *frm_store->clb_store;
                checkedOnShowing.clear();
                for (int i = 0; i < list.count(); ++i) {
                    if (list.item(i)->checkState() == Qt::Checked)
                        checkedOnShowing << list.item(i)->text();
                    list.item(i)->setCheckState(
                        choice.contains(list.item(i)->text()) ? Qt::Checked : Qt::Unchecked);
                }
                frm_store->Button1->click();
            });
            main.BitBtn1->click();
            QCOMPARE(frm_store, nullptr);
        };
        chooseAndConfirm({"01-原材料库", "04-辅料库"});
        QVERIFY(checkedOnShowing.isEmpty());
        chooseAndConfirm({});
        QCOMPARE(checkedOnShowing, (QStringList{"01-原材料库", "04-辅料库"}));
        QCOMPARE(main.lbb_store->count(), 0);
    }

    void aDoubleClickOnTheGridOpensTheJournalAlsoBeforeAnyQuery() {
        ShownWithoutSettings shown;
        Tfrm_xclquery& main = shown.main;
        bool opened = false;
        QTimer::singleShot(50, [&] {
            opened = frm_crquery && frm_crquery->isVisible();
            if (frm_crquery)
                frm_crquery->close();
        });
        QWidget* body = main.dbg_xclinfo->body()->viewport();
        QTest::mouseDClick(body, Qt::LeftButton, {}, body->rect().center());
        QVERIFY(opened);
        QCOMPARE(frm_crquery, nullptr);
    }

    void ctrlJAndTheMenuOpenTheJournalOfTheCurrentRowsItemInItsWarehouseQueriedAtOnce() {
        SettingsSandbox settings;
        settings.store({"sqlite:" + demoDatabasePath(), "demo", "demo", ""});
        auto main = startMainWindow();
        main->edt_name->setText("轴承");
        main->RunQuery();
        main->work().waitUntilDone();
        GridBody* body = main->dbg_xclinfo->body();
        const ResultTableModel& stock = *main->dbg_xclinfo->model();
        // Rows whose item moved in its warehouse this year, from the journal's own statement.
        JournalCriteria thisYear;
        thisYear.dateFrom = QString("%1-01-01").arg(QDate::currentDate().year()).toStdString();
        thisYear.dateTo = QDate::currentDate().toString("yyyy-MM-dd").toStdString();
        ResultQuery journalLines(main->ado_conn, journalQuery().shape.fields);
        for (const std::string& line : journalQuery().statement(thisYear))
            journalLines.appendLine(line);
        journalLines.open();
        std::set<std::pair<std::string, std::string>> moved;
        const ResultColumn& movedCode =
            journalLines.result().column(journalLines.fieldIndex("存货编码"));
        const ResultColumn& movedIn = journalLines.result().column(journalLines.fieldIndex("仓库"));
        for (std::size_t line = 0; line < journalLines.rowCount(); ++line)
            moved.emplace(movedCode.text(line), movedIn.text(line));
        std::vector<int> movedRows;
        for (int row = 0; row < stock.rowCount(); ++row)
            if (moved.contains(
                    {stock.index(row, stock.columnOf("存货编码")).data().toString().toStdString(),
                     stock.index(row, stock.columnOf("仓库名称")).data().toString().toStdString()}))
                movedRows.push_back(row);
        QVERIFY(movedRows.size() >= 2);
        // Opens the journal from `row` by `open`, and checks it against the row.
        const auto journalOfRow = [&](int row, const std::function<void()>& open) {
            body->setCurrentCell(row, 0);
            const auto stockCell = [&](const char* field) {
                return stock.index(row, stock.columnOf(field)).data().toString();
            };
            QStringList warehouseLines, codes, warehouses;
            QString dateFrom, codeBox;
            bool seen = false;
            // The journal runs modally on a loop of its own: looked at there once it has
            // queried, then closed.
            QTimer look;
            look.setInterval(20);
            QObject::connect(&look, &QTimer::timeout, [&] {
                if (!frm_crquery || frm_crquery->work().busy() ||
                    !frm_crquery->Panel4->text().startsWith("记录数为"))
                    return;
                Tfrm_crquery& journal = *frm_crquery;
                for (int i = 0; i < journal.lbb_store->count(); ++i)
                    warehouseLines << journal.lbb_store->item(i)->text();
                dateFrom = journal.dates->date().toString("yyyy-MM-dd");
                codeBox = journal.edt_code->text();
                const ResultTableModel& lines = *journal.dbg_crinfo->model();
                for (int line = 0; line < lines.rowCount(); ++line) {
                    codes << lines.index(line, lines.columnOf("存货编码")).data().toString();
                    warehouses << lines.index(line, lines.columnOf("仓库")).data().toString();
                }
                look.stop();
                seen = true;
                journal.close();
            });
            look.start();
            open();
            QTRY_VERIFY_WITH_TIMEOUT(seen, kEventWait);
            QCOMPARE(frm_crquery, nullptr);
            QCOMPARE(codeBox, stockCell("存货编码"));
            QCOMPARE(warehouseLines.size(), 1);
            QVERIFY(warehouseLines[0].endsWith("-" + stockCell("仓库名称")));
            QCOMPARE(dateFrom, QString("%1-01-01").arg(QDate::currentDate().year()));
            QVERIFY(!codes.isEmpty()); // the demo's stock came in through the journal
            codes.removeDuplicates();
            QCOMPARE(codes, QStringList{stockCell("存货编码")});
            warehouses.removeDuplicates();
            QCOMPARE(warehouses, QStringList{stockCell("仓库名称")});
        };
        journalOfRow(movedRows[0], [&] { QTest::keyClick(body, Qt::Key_J, Qt::ControlModifier); });
        const int row = movedRows[1];
        journalOfRow(row, [&] { chooseFromContextMenu(*body, row, "查看出入库流水"); });
    }

    void toolbarButtonsTakeNoFocusSoTabStaysInTheCriteria() {
        ShownWithoutSettings shown;
        Tfrm_xclquery& main = shown.main;
        for (QToolButton* button :
             {main.tbn_query, main.ToolButton8, main.tbn_print, main.tbn_chart, main.ToolButton2,
              main.ToolButton1, main.tb_exit})
            QVERIFY(!button || button->focusPolicy() == Qt::NoFocus);
        // The whole tab chain, which Shift+Tab walks backwards, holds no toolbar button.
        QWidget* stop = main.edt_code;
        do {
            stop = nextTabStop(stop);
            QVERIFY(!qobject_cast<QToolButton*>(stop));
        } while (stop != main.edt_code);
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
