#include "forms/QtChinese.h"

#include <QCalendarWidget>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QLocale>
#include <QPushButton>
#include <QtTest>

// Qt's standard texts speak Chinese even when the system language is English.
class QtChineseTest : public QObject {
    Q_OBJECT
private slots:
    void standardDialogsAndButtonsSpeakChineseUnderAnEnglishLocale() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QDialogButtonBox before(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        QCOMPARE(before.button(QDialogButtonBox::Cancel)->text(), QString("Cancel"));
        QVERIFY(installQtChinese());
        QDialogButtonBox after(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        QCOMPARE(after.button(QDialogButtonBox::Ok)->text(), QString("确定"));
        QCOMPARE(after.button(QDialogButtonBox::Cancel)->text(), QString("取消"));
        QCOMPARE(QCoreApplication::translate("QFileDialog", "Save As"), QString("另存为"));
    }

    void withoutASystemLocaleDatesAndCalendarsReadAsChinese() {
        QLocale::setDefault(QLocale::c());
        useChineseWithoutSystemLocale(QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(QLocale().language(), QLocale::C); // a real locale is kept
        useChineseWithoutSystemLocale(QLocale::c());
        QCOMPARE(QLocale().name(), QString("zh_CN"));
        QDateEdit picker(QDate(2026, 1, 1));
        picker.setCalendarPopup(true);
        picker.setDisplayFormat(QLocale().dateFormat(QLocale::ShortFormat));
        QCOMPARE(picker.text(), QString("2026/1/1"));
        QCOMPARE(picker.calendarWidget()->locale().name(), QString("zh_CN"));
        QCOMPARE(picker.calendarWidget()->locale().monthName(1), QString("一月"));
        QLocale::setDefault(QLocale::c());
    }
};

QTEST_MAIN(QtChineseTest)
#include "QtChineseTest.moc"
