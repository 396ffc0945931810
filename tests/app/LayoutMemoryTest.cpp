// The grid and the window as the user left them: stored when the window closes, put back when
// it opens again, damaged stored values ignored, 显示的列… and 恢复默认列, and a window stored
// off every screen brought back onto one.
#include "app/Tfrm_crquery.h"
#include "app/Tfrm_xclquery.h"
#include "db/Connection.h"
#include "forms/WindowMemory.h"
#include "grid/GridHeader.h"
#include "grid/ResultGrid.h"
#include "settings/WindowLayouts.h"
#include "support/ContextMenuEntry.h"
#include "support/DemoDatabasePath.h"
#include "support/MessageBoxWatcher.h"
#include "support/SettingsSandbox.h"
#include "support/WhenOpen.h"
#include "table/ResultTableModel.h"

#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QtTest>

namespace {

// The columns as a title row shows them: "field width" in display order, "-" before hidden.
QStringList shownColumns(const ResultGrid& grid) {
    QStringList columns;
    for (const StoredColumn& column : grid.columnLayout())
        columns << QString("%1%2 %3")
                       .arg(column.hidden ? "-" : "", QString::fromStdString(column.field))
                       .arg(column.width);
    return columns;
}

} // namespace

class LayoutMemoryTest : public QObject {
    Q_OBJECT
private slots:
    void theColumnsAndThePlaceComeBackAsTheUserLeftThem() {
        SettingsSandbox settings;
        MessageBoxWatcher boxes;
        QStringList left;
        QStringList defaults;
        {
            Tfrm_xclquery main;
            main.setAttribute(Qt::WA_DeleteOnClose, false);
            main.show();
            ResultGrid& grid = *main.dbg_xclinfo;
            defaults = shownColumns(grid);
            GridHeader& titles = *grid.header();
            titles.resizeSection(3, 150);
            titles.moveSection(titles.visualIndex(6), 1);
            titles.setSectionHidden(4, true);
            main.showNormal();
            main.setGeometry(40, 50, 900, 560);
            left = shownColumns(grid);
            QVERIFY(left != defaults);
            main.close();
        }
        Tfrm_xclquery again;
        again.setAttribute(Qt::WA_DeleteOnClose, false);
        QCOMPARE(shownColumns(*again.dbg_xclinfo), left);
        again.show();
        again.ado_conn.setSettings({"sqlite:" + demoDatabasePath(), "d", "u", ""});
        again.ado_conn.open();
        again.edt_name->setText("轴承");
        again.RunQuery();
        again.work().waitUntilDone();
        QCOMPARE(again.geometry().size(), QSize(900, 560));
        QVERIFY(!again.isMaximized());
        // 恢复默认列 from the grid's menu.
        chooseFromContextMenu(*again.dbg_xclinfo->body(), 0, "恢复默认列");
        // The first order, every column shown, at its own width (grown for this result's sums).
        QStringList restored;
        for (int column = 0; column < static_cast<int>(defaults.size()); ++column)
            restored << QString("%1 %2")
                            .arg(defaults[column].section(' ', 0, 0))
                            .arg(again.dbg_xclinfo->model()->displayWidth(column));
        QCOMPARE(shownColumns(*again.dbg_xclinfo), restored);
    }

    void damagedStoredLayoutsAreIgnoredAndNeverHideEveryColumn() {
        SettingsSandbox settings;
        Connection connection;
        Tfrm_crquery fresh(connection);
        const QStringList defaults = shownColumns(*fresh.dbg_crinfo);
        const auto reopened = [&](const std::string& stored) {
            writeGridColumns("dbg_crinfo", columnsFromText(stored));
            Tfrm_crquery journal(connection);
            return shownColumns(*journal.dbg_crinfo);
        };
        // Nothing readable, or nothing the grid knows: the default layout.
        QCOMPARE(reopened("garbage;;:;x:y:z:w"), defaults);
        QCOMPARE(reopened("没有这一列:80;another:20"), defaults);
        // Every column in reverse, one of them with an absurd width and again further on, and
        // one unknown: the reversed order, the first mention's place, the column's own width.
        QStringList fields;
        for (const QString& column : defaults)
            fields.prepend(column.section(' ', 0, 0));
        std::string reversed;
        for (const QString& field : fields)
            reversed += field.toStdString() + (field == fields[2] ? ":99999;" : ":60;");
        reversed += fields[2].toStdString() + ":20;没有这一列:80";
        QStringList expected;
        for (const QString& field : fields)
            expected << (field == fields[2] ? defaults[defaults.size() - 3] : field + " 60");
        QCOMPARE(reopened(reversed), expected);
        // Every column hidden: every column shown.
        std::string allHidden;
        for (const QString& field : fields)
            allHidden += field.toStdString() + ":50:hidden;";
        for (const QString& column : reopened(allHidden))
            QVERIFY2(!column.startsWith('-') && column.endsWith(" 50"), qPrintable(column));
    }

    void theShownColumnsAreTickedOnAndOff() {
        SettingsSandbox settings;
        Connection connection;
        connection.setSettings({"sqlite:" + demoDatabasePath(), "d", "u", ""});
        connection.open();
        Tfrm_crquery journal(connection);
        journal.FormShow();
        journal.RunQuery();
        journal.work().waitUntilDone();
        ResultGrid& grid = *journal.dbg_crinfo;
        QVERIFY(whenOpen<QDialog>([&] { chooseFromContextMenu(*grid.body(), 0, "显示的列…"); },
                                  [&](QDialog& dialog) {
                                      QCOMPARE(dialog.objectName(), QString("frm_columns"));
                                      auto* list = dialog.findChild<QListWidget*>("lst_columns");
                                      QCOMPARE(list->count(),
                                               static_cast<int>(grid.columns().size()));
                                      list->item(1)->setCheckState(Qt::Unchecked);
                                      list->item(2)->setCheckState(Qt::Unchecked);
                                      dialog.accept();
                                  }));
        const std::vector<StoredColumn> layout = grid.columnLayout();
        for (std::size_t visual = 0; visual < layout.size(); ++visual)
            QCOMPARE(layout[visual].hidden, visual == 1 || visual == 2);
    }

    void aWindowStoredOffEveryScreenComesBackOntoOne() {
        // The nearest screen takes it, shrunk to fit; one on a screen stays where it was.
        const std::vector<QRect> screens{{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}};
        QCOMPARE(placeOnScreens({100, 100, 800, 600}, screens), QRect(100, 100, 800, 600));
        QCOMPARE(placeOnScreens({3000, 200, 800, 600}, screens), QRect(3000, 200, 800, 600));
        QCOMPARE(placeOnScreens({5000, 300, 800, 600}, screens), QRect(2400, 300, 800, 600));
        QCOMPARE(placeOnScreens({-3000, -900, 2500, 1500}, screens), QRect(0, 0, 1920, 1080));
        QCOMPARE(placeOnScreens({200, 1070, 800, 600}, screens), QRect(200, 480, 800, 600));

        SettingsSandbox settings;
        MessageBoxWatcher boxes;
        writeWindowPlace("dbg_xclinfo.window", {9000, 7000, 700, 500, false});
        Tfrm_xclquery main;
        main.setAttribute(Qt::WA_DeleteOnClose, false);
        main.show();
        // On the screen, whole or nearly (the platform may add its frame).
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        const QRect seen = screen.intersected(main.geometry());
        QVERIFY2(seen.width() >= main.width() - 8 && seen.height() >= main.height() - 8,
                 qPrintable(QString("%1,%2 %3x%4")
                                .arg(main.x())
                                .arg(main.y())
                                .arg(main.width())
                                .arg(main.height())));
    }

    void storedTextsReadBackAndDamagedPartsAreLeftOut() {
        const std::vector<StoredColumn> columns{{"存货编码", 86, false}, {"批号", 120, true}};
        const std::vector<StoredColumn> read = columnsFromText(columnsText(columns));
        QCOMPARE(read.size(), 2U);
        QCOMPARE(QString::fromStdString(read[1].field), QString("批号"));
        QCOMPARE(read[1].width, 120);
        QVERIFY(read[1].hidden && !read[0].hidden);
        QCOMPARE(columnsFromText("a:1;b:x;:5;c:7:hidden;d:9:bogus;e;f:2:hidden:more").size(), 2U);
        const auto place = placeFromText(placeText({-10, 20, 800, 600, true}));
        QVERIFY(place && place->x == -10 && place->height == 600 && place->maximised);
        for (const char* damaged :
             {"", "1,2,3", "1,2,0,5", "1,2,3,4,max", "a,b,c,d", "1,2,3,4,5,6"})
            QVERIFY2(!placeFromText(damaged), damaged);
    }
};

QTEST_MAIN(LayoutMemoryTest)
#include "LayoutMemoryTest.moc"
