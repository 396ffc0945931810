#include "app/Tfrm_xclquery.h"
#include "common/Tfrm_crstore.h"
#include "common/Tfrm_store.h"
#include "common/WarehouseList.h"
#include "support/DemoDatabasePath.h"
#include "support/MessageBoxWatcher.h"
#include "support/TinyErp.h"

#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

namespace {

struct MainWindowOn {
    explicit MainWindowOn(const std::string& server) {
        main.setAttribute(Qt::WA_DeleteOnClose, false);
        main.ado_conn.setSettings({server, "d", "u", ""});
        main.ado_conn.open();
    }
    Tfrm_xclquery main;
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
        MainWindowOn w(demoServer());
        Tfrm_store picker(*w.main.lbb_store);
        picker.show();
        QCOMPARE(picker.windowTitle(), QString("仓库选择"));
        QCOMPARE(picker.clb_store->count(), 20);
        QCOMPARE(picker.clb_store->item(0)->text(), QString("01-原材料库"));
        QCOMPARE(picker.clb_store->item(2)->text(), QString("03-半成品库"));
        QCOMPARE(picker.clb_store->item(11)->text(), QString("12-半成品库"));
        QVERIFY(checkedLines(*picker.clb_store).isEmpty());
        setChecked(*picker.clb_store, {"07-备品备件库", "02-成品库"});
        picker.Button1->click();
        QCOMPARE(lines(*w.main.lbb_store), (QStringList{"02-成品库", "07-备品备件库"}));
        QVERIFY(!picker.isVisible());
    }

    void aSecondShowingChecksTheChosenLinesAndDropsRenamedOnes() {
        MainWindowOn w(demoServer());
        appendWarehouseLine(*w.main.lbb_store, "05-包装物库", "05");
        appendWarehouseLine(*w.main.lbb_store, "06-旧名字", "06"); // renamed since
        Tfrm_store picker(*w.main.lbb_store);
        picker.show();
        QCOMPARE(checkedLines(*picker.clb_store), QStringList{"05-包装物库"});
        picker.Button1->click();
        QCOMPARE(lines(*w.main.lbb_store), QStringList{"05-包装物库"});
    }

    void closingWithoutOkLeavesTheListAndOkWithNothingCheckedEmptiesIt() {
        MainWindowOn w(demoServer());
        appendWarehouseLine(*w.main.lbb_store, "01-原材料库", "01");
        {
            Tfrm_store picker(*w.main.lbb_store);
            picker.show();
            setChecked(*picker.clb_store, {"09-化工库"});
            picker.close();
        }
        QCOMPARE(lines(*w.main.lbb_store), QStringList{"01-原材料库"});
        Tfrm_store picker(*w.main.lbb_store);
        picker.show();
        setChecked(*picker.clb_store, {});
        picker.Button1->click();
        QCOMPARE(w.main.lbb_store->count(), 0);
    }

    void selectAllAndClearAllAreIndependentBoxes() {
        MainWindowOn w(demoServer());
        Tfrm_store picker(*w.main.lbb_store);
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
        MainWindowOn w(demoServer());
        QListWidget journalList;
        appendWarehouseLine(journalList, "01-原材料库", "01");
        Tfrm_crstore picker(journalList);
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
            MainWindowOn w(erp.server());
            Tfrm_store picker(*w.main.lbb_store);
            picker.show();
            QCOMPARE(lines(*picker.clb_store), (QStringList{"A-南仓", "WH-101-北仓"}));
            picker.cb_checked->click();
            picker.Button1->click();
            QCOMPARE(warehouseCodes(*w.main.lbb_store), (std::vector<std::string>{"A", "WH-101"}));
            erp.exec("DELETE FROM Warehouse");
            Tfrm_store again(*w.main.lbb_store);
            again.show();
            QCOMPARE(again.clb_store->count(), 0);
            again.Button1->click();
            QCOMPARE(w.main.lbb_store->count(), 0);
        }
    }

    void theButtonOpensAFreshPickerEachTimeAndForgetsItWhenClosed() {
        MainWindowOn w(demoServer());
        QStringList checkedOnShowing;
        const auto chooseAndConfirm = [&](const QStringList& choice) {
            QTimer::singleShot(0, [&, choice] {
                QVERIFY(frm_store && frm_store->isVisible());
                checkedOnShowing = checkedLines(*frm_store->clb_store);
                setChecked(*frm_store->clb_store, choice);
                frm_store->Button1->click();
            });
            w.main.BitBtn1->click();
            QCOMPARE(frm_store, nullptr);
        };
        chooseAndConfirm({"01-原材料库", "04-辅料库"});
        QVERIFY(checkedOnShowing.isEmpty());
        chooseAndConfirm({});
        QCOMPARE(checkedOnShowing, (QStringList{"01-原材料库", "04-辅料库"}));
        QCOMPARE(w.main.lbb_store->count(), 0);
    }

    void anUnreadableWarehouseTableIsReportedAndOkEmptiesTheList() {
        MessageBoxWatcher boxes;
        Tfrm_xclquery main;
        main.setAttribute(Qt::WA_DeleteOnClose, false);
        appendWarehouseLine(*main.lbb_store, "01-原材料库", "01");
        Tfrm_store picker(*main.lbb_store); // the connection is closed
        picker.show();
        QTRY_COMPARE(boxes.texts(), QStringList{"读取仓库信息出错，请与系统管理员联系！"});
        QCOMPARE(boxes.seen()[0].caption, QString("提示"));
        QCOMPARE(boxes.seen()[0].owner, &picker);
        QCOMPARE(picker.clb_store->count(), 0);
        QVERIFY(picker.isVisible());
        picker.Button1->click();
        QCOMPARE(main.lbb_store->count(), 0);
    }
};

QTEST_MAIN(WarehousePickerTest)
#include "WarehousePickerTest.moc"
