#include "db/Connection.h"
#include "forms/ConnectionOptions.h"
#include "forms/DatabaseBox.h"
#include "forms/Tfrm_link.h"
#include "support/DemoDatabasePath.h"
#include "support/MessageBoxWatcher.h"
#include "support/SettingsSandbox.h"
#include "support/tds/TdsTable.h"
#include "support/tds/TestCertificates.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QtTest>

namespace {

// The dialog on a connection of its own, shown as the Connect button shows it (without its
// modal loop).
struct DialogOnConnection {
    DialogOnConnection() {
        dialog.show();
        QTest::qWait(20);
    }
    Connection connection;
    Tfrm_link dialog{connection};
};

void fill(Tfrm_link& d, const QString& server, const QString& database, const QString& user,
          const QString& password) {
    d.Edit1->setText(server);
    d.Edit2->setText(database);
    d.Edit3->setText(user);
    d.Edit4->setText(password);
}

QString demoServer() {
    return QString::fromStdString("sqlite:" + demoDatabasePath());
}

} // namespace

class LinkDialogTest : public QObject {
    Q_OBJECT
private slots:
    void emptyBoxesAreReportedOneAtATimeInOrder() {
        SettingsSandbox settings;
        MessageBoxWatcher boxes;
        DialogOnConnection w;
        const struct {
            QStringList values;
            QString message;
            QLineEdit* Tfrm_link::*focus;
        } cases[] = {
            {{"", "", "", ""}, "服务器不能为空！", &Tfrm_link::Edit1},
            {{"s", " \t", "", ""}, "数据库不能为空！", &Tfrm_link::Edit2},
            {{"s", "d", "  ", "pw"}, "用户名不能为空！", &Tfrm_link::Edit3},
        };
        for (const auto& c : cases) {
            fill(w.dialog, c.values[0], c.values[1], c.values[2], c.values[3]);
            const qsizetype before = boxes.seen().size();
            w.dialog.Button1->click();
            w.dialog.work().waitUntilDone();
            QCOMPARE(boxes.seen().size(), before + 1);
            QCOMPARE(boxes.seen().last().text, c.message);
            QCOMPARE(boxes.seen().last().caption, QString("提示"));
            QCOMPARE(boxes.seen().last().owner, &w.dialog);
            // The database's text box: its combo box takes the focus for it.
            QWidget* focused = w.dialog.focusWidget();
            QVERIFY(focused == w.dialog.*c.focus || focused->isAncestorOf(w.dialog.*c.focus));
        }
        QVERIFY(w.dialog.isVisible());
        QCOMPARE(settings.stored(), ConnectionSettings{});
    }

    void aWorkingConnectionIsReportedStoredTrimmedAndTheDialogCloses() {
        SettingsSandbox settings;
        MessageBoxWatcher boxes;
        DialogOnConnection w;
        fill(w.dialog, "  " + demoServer() + " ", " demo", "demo\t", "");
        w.dialog.Button1->click();
        w.dialog.work().waitUntilDone();
        QCOMPARE(boxes.texts(), QStringList{"登录成功！"});
        QCOMPARE(boxes.seen()[0].owner, &w.dialog);
        QVERIFY(!w.dialog.isVisible());
        QCOMPARE(w.dialog.result(), int(QDialog::Accepted));
        QVERIFY(w.connection.isOpen());
        QVERIFY(QString::fromStdString(w.connection.connectionString()).endsWith(";pwd="));
        QCOMPARE(settings.stored(),
                 (ConnectionSettings{"sqlite:" + demoDatabasePath(), "demo", "demo", ""}));
    }

    void aFailedAttemptStoresNothingAndLeavesTheConnectionClosed() {
        SettingsSandbox settings;
        settings.store({demoServer().toStdString(), "demo", "demo", ""});
        MessageBoxWatcher boxes;
        DialogOnConnection w;
        w.connection.setSettings(settings.stored());
        w.connection.open();
        fill(w.dialog, "sqlite:/nonexistent.sqlite", "db;x=1", "sa", "secret");
        w.dialog.Button1->click();
        w.dialog.work().waitUntilDone();
        QCOMPARE(boxes.texts(), QStringList{"数据库连接失败！"});
        QCOMPARE(boxes.seen()[0].caption, QCoreApplication::applicationName());
        QCOMPARE(boxes.seen()[0].owner, nullptr);
        QVERIFY(w.dialog.isVisible());
        QVERIFY(!w.connection.isOpen());
        QCOMPARE(w.connection.connectionString(),
                 std::string("Provider=sqloledb;uid=sa;database=db;x=1;server=sqlite:/"
                             "nonexistent.sqlite;pwd=secret"));
        QCOMPARE(settings.stored().server, demoServer().toStdString());
        QCOMPARE(w.dialog.Edit2->text(), QString("db;x=1"));
    }

    void cancelEmptiesTheBoxesAndAReopenedDialogShowsTheStoredValues() {
        SettingsSandbox settings;
        settings.store({"erp-db", "erp_001", "sa", "pw"});
        MessageBoxWatcher boxes;
        {
            DialogOnConnection w;
            QCOMPARE(w.dialog.Edit1->text(), QString("erp-db"));
            QCOMPARE(w.dialog.Edit4->text(), QString("pw"));
            QCOMPARE(w.dialog.Edit4->echoMode(), QLineEdit::Password);
            QCOMPARE(w.dialog.Edit4->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter),
                     int('*'));
            w.dialog.Button2->click();
            for (QLineEdit* box : {w.dialog.Edit1, w.dialog.Edit2, w.dialog.Edit3, w.dialog.Edit4})
                QVERIFY(box->text().isEmpty());
            QVERIFY(w.dialog.isVisible());
        }
        DialogOnConnection again;
        QCOMPARE(again.dialog.Edit3->text(), QString("sa"));
        QVERIFY(boxes.seen().isEmpty());
    }

    void enterAndEscapeDoNothing() {
        SettingsSandbox settings;
        MessageBoxWatcher boxes;
        DialogOnConnection w;
        w.dialog.Edit1->setFocus();
        QTest::keyClick(w.dialog.Edit1, Qt::Key_Return);
        QTest::keyClick(w.dialog.Edit1, Qt::Key_Escape);
        QTest::keyClick(&w.dialog, Qt::Key_Escape);
        QVERIFY(w.dialog.isVisible());
        QVERIFY(boxes.seen().isEmpty());
    }

    void theOptionsAreStoredWithTheConnectionAndShownAgain() {
        SettingsSandbox settings;
        MessageBoxWatcher boxes;
        {
            DialogOnConnection w;
            // With the defaults the dialog is as it always was.
            QVERIFY(!w.dialog.options->isVisible());
            QCOMPARE(w.dialog.size(), QSize(334, 212));
            fill(w.dialog, demoServer(), "demo", "demo", "secret");
            w.dialog.optionsButton->click();
            QVERIFY(w.dialog.testButton->isVisible());
            QVERIFY(!w.dialog.options->trustCertificate->isEnabled()); // nothing to trust yet
            w.dialog.options->encryption->setCurrentIndex(1);
            w.dialog.options->trustCertificate->setChecked(true);
            QVERIFY(!w.dialog.options->certificateFile->isEnabled()); // nothing is checked
            w.dialog.options->rememberPassword->setChecked(false);
            w.dialog.Button1->click();
            w.dialog.work().waitUntilDone();
            QCOMPARE(boxes.texts(), QStringList{"登录成功！"});
        }
        ConnectionSettings expected{demoServer().toStdString(), "demo", "demo", ""};
        expected.encryption = Encryption::mandatory;
        expected.trustServerCertificate = true;
        expected.rememberPassword = false; // and so no password is stored
        QCOMPARE(settings.stored(), expected);
        DialogOnConnection again;
        QVERIFY(again.dialog.options->isVisible()); // options beyond the defaults are shown
        QCOMPARE(again.dialog.options->encryption->currentIndex(), 1);
        QVERIFY(again.dialog.options->trustCertificate->isChecked());
        QVERIFY(!again.dialog.options->rememberPassword->isChecked());
        QVERIFY(again.dialog.Edit4->text().isEmpty());
    }

    void testingNamesTheServerAndTheDriverOrSaysWhyItFailed() {
        SettingsSandbox settings;
        MessageBoxWatcher boxes;
        TdsServer plain;
        TdsServer stranger({}, encryptingWith("stranger"));
        DialogOnConnection w;
        w.dialog.optionsButton->click();
        fill(w.dialog, QString::fromStdString(plain.address()), "", "reader", "pw");
        w.dialog.testButton->click();
        w.dialog.work().waitUntilDone();
        QCOMPARE(boxes.seen().size(), 1);
        QVERIFY2(boxes.texts()[0].startsWith("连接成功！\n服务器：Microsoft SQL Server 15.00.2000"
                                             "\n驱动：FreeTDS "),
                 qPrintable(boxes.texts()[0]));
        QCOMPARE(boxes.seen()[0].owner, &w.dialog);
        w.dialog.Edit1->setText(QString("localhost,%1").arg(stranger.port()));
        w.dialog.options->encryption->setCurrentIndex(1);
        w.dialog.options->certificateFile->setText(
            QString::fromStdString(testCertificate("ca.pem")));
        w.dialog.testButton->click();
        w.dialog.work().waitUntilDone();
        QCOMPARE(boxes.texts().last(), QString("连接失败：服务器证书不受信任"));
        w.dialog.Edit1->setText("127.0.0.1,1");
        w.dialog.testButton->click();
        w.dialog.work().waitUntilDone();
        QVERIFY(boxes.texts().last().startsWith("连接失败：无法连接到服务器"));
        // A test changes nothing: no connection, nothing stored, the dialog open.
        QVERIFY(!w.connection.isOpen());
        QCOMPARE(settings.stored(), ConnectionSettings{});
        QVERIFY(w.dialog.isVisible());
        QCOMPARE(plain.logins().size(), 1U);
        QVERIFY(stranger.logins().empty());
    }

    void theDatabasesTheLoginMayOpenAreListedWhenTheListOpens() {
        SettingsSandbox settings;
        MessageBoxWatcher boxes;
        TdsServer server([](const std::string&) {
            tds::Table names({{"name", tds::Type::NVarChar, 128}});
            for (const char* name : {"erp_2025", "erp_2026", "master"})
                names.text(name);
            return std::make_shared<const std::string>(names.finish());
        });
        DialogOnConnection w;
        fill(w.dialog, QString::fromStdString(server.address()), "erp", "reader", "pw");
        w.dialog.databaseBox->showPopup();
        w.dialog.work().waitUntilDone();
        QCOMPARE(w.dialog.databaseBox->count(), 3);
        QCOMPARE(w.dialog.databaseBox->itemText(1), QString("erp_2026"));
        QCOMPARE(w.dialog.Edit2->text(), QString("erp")); // what was typed stays
        QCOMPARE(server.batches(),
                 std::vector<std::string>{
                     "SELECT name FROM sys.databases WHERE HAS_DBACCESS(name) = 1 ORDER BY name"});
        QCOMPARE(server.logins().back().database, std::string("master"));
        // Opened again for the same login, it is not read again; for another, it is.
        w.dialog.databaseBox->hidePopup();
        w.dialog.databaseBox->showPopup();
        w.dialog.work().waitUntilDone();
        QCOMPARE(server.batches().size(), 1U);
        w.dialog.databaseBox->hidePopup();
        QTest::keyClick(w.dialog.Edit3, Qt::Key_X);
        w.dialog.databaseBox->showPopup();
        w.dialog.work().waitUntilDone();
        QCOMPARE(server.batches().size(), 2U);
        QVERIFY(boxes.seen().isEmpty());
    }

    void aStoreErrorAfterASuccessfulLoginStillClosesTheDialog() {
        SettingsSandbox settings;
        settings.storeRaw("this line is no value\n");
        MessageBoxWatcher boxes;
        DialogOnConnection w; // reading the broken key on showing reports it too
        fill(w.dialog, demoServer(), "demo", "demo", "");
        w.dialog.Button1->click();
        w.dialog.work().waitUntilDone();
        const QStringList expected = {"在对系统注册表进行操作时发现错误！", "登录成功！",
                                      "在对系统注册表进行操作时发现错误！"};
        QCOMPARE(boxes.texts(), expected);
        QCOMPARE(boxes.seen()[2].caption, QString("错误信息"));
        QVERIFY(!w.dialog.isVisible());
        QVERIFY(w.connection.isOpen());
    }
};

QTEST_MAIN(LinkDialogTest)
#include "LinkDialogTest.moc"
