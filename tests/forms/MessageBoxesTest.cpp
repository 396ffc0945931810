#include "forms/MessageBoxes.h"
#include "support/MessageBoxWatcher.h"
#include "support/Patience.h"

#include <QFontMetrics>
#include <QMainWindow>
#include <QScreen>
#include <QtTest>

// Message boxes show their caption whole and stand over the window they belong to.
class MessageBoxesTest : public QObject {
    Q_OBJECT
private slots:
    void aBoxIsWideEnoughForItsCaptionAndStandsOverItsWindow() {
        MessageBoxWatcher boxes;
        QCoreApplication::setApplicationName("stockquery 现存量与出入库流水帐查询");
        QMainWindow window;
        window.setGeometry(300, 200, 900, 600);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window, kEventWait));
        showPrompt(&window, "读取现存量数据出错，请与系统管理员联系！");
        showPlainMessage("x");
        QCOMPARE(boxes.seen().size(), 2);
        const QPoint windowCentre = window.frameGeometry().center();
        QVERIFY((boxes.seen()[0].geometry.center() - windowCentre).manhattanLength() <= 2);
        // A one-letter text under a long caption: the caption sets the width.
        const QFontMetrics metrics(QApplication::font());
        QVERIFY(boxes.seen()[1].geometry.width() >
                metrics.horizontalAdvance(QCoreApplication::applicationName()));
        const QPoint screenCentre = window.screen()->availableGeometry().center();
        QVERIFY((boxes.seen()[1].geometry.center() - screenCentre).manhattanLength() <= 2);
    }
};

QTEST_MAIN(MessageBoxesTest)
#include "MessageBoxesTest.moc"
