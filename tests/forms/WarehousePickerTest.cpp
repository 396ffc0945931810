#include "db/Connection.h"
#include "forms/Tfrm_crstore.h"
#include "forms/Tfrm_store.h"
#include "forms/WarehouseList.h"
#include "support/DemoDatabasePath.h"
#include "support/MessageBoxWatcher.h"
#include "support/Patience.h"
#include "support/TinyErp.h"

#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

namespace {

// A connection to a database and the calling window's warehouse list.
struct PickerOn {
    explicit PickerOn(const std::string& server) {
        connection.setSettings({server, "d", "u", ""});
        connection.open();
    }
    Connection connection;
    QListWidget list;
};

QStringList lines(const QListWidget& list) {
    QStringList texts;
    for (int i = 0; i < list.count(); ++i)
        texts << list.item(i)->text();
    return texts;
}

QStringList checkedLines(const QListWidget& list) {
    QStringList texts;
    for (int i = 0; i < list.count(); ++i)
        if (list.item(i)->checkState() == Qt::Checked)
            texts << list.item(i)->text();
    return texts;
}

void setChecked(QListWidget& list, const QStringList& texts) {
    for (int i = 0; i < list.count(); ++i)
        list.item(i)->setCheckState(texts.contains(list.item(i)->text()) ? Qt::Checked
                                                                         : Qt::Unchecked);
}

std::string demoServer() {
    return "sqlite:" + demoDatabasePath();
}

} // namespace

class WarehousePickerTest : public QObject {
    Q_OBJECT
private slots:
    void listsEveryWarehouseInCodeOrderAndOkWritesTheCheckedLines() {
        PickerOn w(demoServer());
        Tfrm_store picker(w.connection, w.list);
        picker.show();
        QCOMPARE(picker.windowTitle(), QString("仓库选择"));
        QCOMPARE(picker.clb_store->count(), 20);
        QCOMPARE(picker.clb_store->item(0)->text(), QString("01-原材料库"));
        QCOMPARE(picker.clb_store->item(2)->text(), QString("03-半成品库"));
        QCOMPARE(picker.clb_store->item(11)->text(), QString("12-半成品库"));
        QVERIFY(checkedLines(*picker.clb_store).isEmpty());
        setChecked(*picker.clb_store, {"07-备品备件库", "02-成品库"});
        picker.Button1->click();
        QCOMPARE(lines(w.list), (QStringList{"02-成品库", "07-备品备件库"}));
        QVERIFY(!picker.isVisible());
    }

    void aSecondShowingChecksTheChosenLinesAndDropsRenamedOnes() {
        PickerOn w(demoServer());
        appendWarehouseLine(w.list, "05-包装物库", "05");
        appendWarehouseLine(w.list, "06-旧名字", "06"); // renamed since
        Tfrm_store picker(w.connection, w.list);
        picker.show();
        QCOMPARE(checkedLines(*picker.clb_store), QStringList{"05-包装物库"});
        picker.Button1->click();
        QCOMPARE(lines(w.list), QStringList{"05-包装物库"});
    }

    void closingWithoutOkLeavesTheListAndOkWithNothingCheckedEmptiesIt() {
        PickerOn w(demoServer());
        appendWarehouseLine(w.list, "01-原材料库", "01");
        {
            Tfrm_store picker(w.connection, w.list);
            picker.show();
            setChecked(*picker.clb_store, {"09-化工库"});
            picker.close();
        }
        QCOMPARE(lines(w.list), QStringList{"01-原材料库"});
        Tfrm_store picker(w.connection, w.list);
        picker.show();
        setChecked(*picker.clb_store, {});
        picker.Button1->click();
        QCOMPARE(w.list.count(), 0);
    }

    void selectAllAndClearAllAreIndependentBoxes() {
        PickerOn w(demoServer());
        Tfrm_store picker(w.connection, w.list);
        picker.show();
        picker.cb_checked->click();
        QCOMPARE(checkedLines(*picker.clb_store).size(), 20);
        picker.clb_store->item(0)->setCheckState(Qt::Unchecked);
        QCOMPARE(checkedLines(*picker.clb_store).size(), 19);
        picker.cb_cancel->click();
        QVERIFY(checkedLines(*picker.clb_store).isEmpty());
        QVERIFY(picker.cb_checked->isChecked()); // still shown checked
        picker.cb_checked->click();              // unchecking does nothing
        QVERIFY(checkedLines(*picker.clb_store).isEmpty());
        picker.cb_checked->click();
        QCOMPARE(checkedLines(*picker.clb_store).size(), 20);
    }

    void theJournalPickerStartsWithNothingChecked() {
        PickerOn w(demoServer());
        QListWidget journalList;
        appendWarehouseLine(journalList, "01-原材料库", "01");
        Tfrm_crstore picker(w.connection, journalList);
        picker.show();
        QCOMPARE(picker.clb_store->count(), 20);
        QVERIFY(checkedLines(*picker.clb_store).isEmpty());
        setChecked(*picker.clb_store, {"04-辅料库"});
        picker.Button1->click();
        QCOMPARE(lines(journalList), QStringList{"04-辅料库"});
        QCOMPARE(warehouseCodes(journalList), std::vector<std::string>{"04"});
    }

    void linesKeepTheirWholeCodeAndAnEmptyTableGivesAnEmptyList() {
        {
            TinyErp erp;
            erp.addWarehouseWithStock("WH-101", "北仓", 1);
            erp.addWarehouseWithStock("A", "南仓", 2);
            PickerOn w(erp.server());
            Tfrm_store picker(w.connection, w.list);
            picker.show();
            QCOMPARE(lines(*picker.clb_store), (QStringList{"A-南仓", "WH-101-北仓"}));
            picker.cb_checked->click();
            picker.Button1->click();
            QCOMPARE(warehouseCodes(w.list), (std::vector<std::string>{"A", "WH-101"}));
            erp.exec("DELETE FROM Warehouse");
            Tfrm_store again(w.connection, w.list);
            again.show();
            QCOMPARE(again.clb_store->count(), 0);
            again.Button1->click();
            QCOMPARE(w.list.count(), 0);
        }
    }

    void anUnreadableWarehouseTableIsReportedAndOkEmptiesTheList() {
        MessageBoxWatcher boxes;
        Connection closed;
        QListWidget list;
        appendWarehouseLine(list, "01-原材料库", "01");
        Tfrm_store picker(closed, list);
        picker.show();
        QTRY_COMPARE(boxes.texts(), QStringList{"读取仓库信息出错，请与系统管理员联系！"});
        QCOMPARE(boxes.seen()[0].caption, QString("提示"));
        QCOMPARE(boxes.seen()[0].owner, &picker);
        QCOMPARE(picker.clb_store->count(), 0);
        QVERIFY(picker.isVisible());
        picker.Button1->click();
        QCOMPARE(list.count(), 0);
    }
};

QTEST_MAIN(WarehousePickerTest)
#include "WarehousePickerTest.moc"
