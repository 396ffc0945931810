#include "db/Connection.h"
#include "forms/Tfrm_link.h"
#include "support/DemoDatabasePath.h"
#include "support/MessageBoxWatcher.h"
#include "support/SettingsSandbox.h"

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
