#include "forms/QtChinese.h"

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
};

QTEST_MAIN(QtChineseTest)
#include "QtChineseTest.moc"
