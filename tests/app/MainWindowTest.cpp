#include "app/Tfrm_crquery.h"
#include "app/Tfrm_xclquery.h"
#include "forms/ContactColours.h"
#include "forms/ContactInfo.h"
#include "forms/Tfrm_link.h"
#include "forms/Tfrm_store.h"
#include "grid/GridBody.h"
#include "grid/ResultGrid.h"
#include "support/DemoDatabasePath.h"
#include "support/MessageBoxWatcher.h"
#include "support/SettingsSandbox.h"
#include "support/TabOrder.h"

#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QtTest>

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

    void theToolbarHoldsItsFiveButtonsAndExitCloses() {
        SettingsSandbox settings;
        MessageBoxWatcher boxes;
        auto window = startMainWindow();
        const QList<QToolButton*> buttons = {window->tbn_query, window->ToolButton8,
                                             window->ToolButton2, window->ToolButton1,
                                             window->tb_exit};
        const QStringList captions = {"查询", "输出", "连接", "出入库流水帐", "退出"};
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

    void toolbarButtonsTakeNoFocusSoTabStaysInTheCriteria() {
        ShownWithoutSettings shown;
        Tfrm_xclquery& main = shown.main;
        for (QToolButton* button :
             {main.tbn_query, main.ToolButton8, main.ToolButton2, main.ToolButton1, main.tb_exit})
            QCOMPARE(button->focusPolicy(), Qt::NoFocus);
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
