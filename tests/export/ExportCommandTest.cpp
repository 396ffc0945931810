#include "app/Tfrm_crquery.h"
#include "app/Tfrm_xclquery.h"
#include "export/Cp936.h"
#include "forms/QtChinese.h"
#include "grid/GridExportLayout.h"
#include "grid/GridHeader.h"
#include "grid/ResultGrid.h"
#include "settings/ExportPreferences.h"
#include "stock/CurrentStockQuery.h"
#include "support/Bytes.h"
#include "support/DemoDatabasePath.h"
#include "support/MessageBoxWatcher.h"
#include "support/Patience.h"
#include "support/SettingsSandbox.h"
#include "support/SystemCp936.h"
#include "support/TempDir.h"
#include "support/TinyErp.h"
#include "table/BackgroundJob.h"
#include "table/ResultTableModel.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QStandardPaths>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>

#include <filesystem>
#include <fstream>

#include <QLabel>
#include <QPushButton>

namespace {

QString textOf(const std::filesystem::path& path) {
    return QString::fromStdU16String(path.u16string());
}

// Answers the next save dialog the way `answer` says, once it is open.
void answerSaveDialog(const std::function<void(QFileDialog&)>& answer) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, answer] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            answer(*dialog);
        }
    });
    poll->start(10);
}

// Accepts the save dialog in `folder`, with `fileType` (1 to 4) chosen as a user chooses it
// and, unless empty, `name`.
void saveIn(const TempDir& folder, int fileType, const QString& name = {}) {
    answerSaveDialog([&folder, fileType, name](QFileDialog& dialog) {
        dialog.setDirectory(textOf(folder.path()));
        auto* types = dialog.findChild<QComboBox*>("fileTypeCombo");
        types->setCurrentIndex(fileType - 1);
        emit types->activated(fileType - 1);
        emit types->textActivated(types->currentText());
        if (!name.isEmpty()) // typed into the name box
            dialog.findChild<QLineEdit*>("fileNameEdit")->setText(name);
        static_cast<QDialog&>(dialog).accept(); // what the Save button does
    });
}

// HOME for as long as it lives.
class HomeFolder {
public:
    explicit HomeFolder(const std::filesystem::path& folder) : real_(qgetenv("HOME")) {
        qputenv("HOME", QByteArray::fromStdString(folder.string()));
    }
    ~HomeFolder() { qputenv("HOME", real_); }

private:
    QByteArray real_;
};

// The main window on the demo, or another database, with a settings store of its own, where
// the export dialog keeps its folder and file type.
struct MainWindowOnDemo {
    explicit MainWindowOnDemo(const std::string& server = "sqlite:" + demoDatabasePath()) {
        main.setAttribute(Qt::WA_DeleteOnClose, false);
        main.ado_conn.setSettings({server, "d", "u", ""});
        main.ado_conn.open();
    }
    SettingsSandbox settings;
    Tfrm_xclquery main;
};

// Every row in the grid, then 输出 begun over a file of the folder that holds "old".
void exportEveryRowOver(MainWindowOnDemo& w, const TempDir& folder, int fileType,
                        const char* name) {
    w.main.tbn_query->click(); // every row: writing them takes a while
    w.main.work().waitUntilDone();
    std::ofstream(folder.path() / name) << "old";
    saveIn(folder, fileType, name);
    w.main.ToolButton8->click();
}

} // namespace

class ExportCommandTest : public QObject {
    Q_OBJECT
private slots:
    void cancellingTheDialogWritesNothingAndSaysSo() {
        MainWindowOnDemo w;
        Tfrm_crquery journal(w.main.ado_conn);
        journal.RunQuery();
        journal.work().waitUntilDone();
        MessageBoxWatcher messages;
        answerSaveDialog([](QFileDialog& dialog) {
            QCOMPARE(dialog.nameFilters().size(), 7);
            QCOMPARE(dialog.nameFilters()[4], QString("Excel 工作簿 (*.xlsx)"));
            QCOMPARE(dialog.nameFilters()[5], QString("CSV 文件 (UTF-8) (*.csv)"));
            QCOMPARE(dialog.nameFilters()[6], QString("PDF 文件 (*.pdf)"));
            QCOMPARE(dialog.selectedNameFilter(), QString("Excel 文档( *.xls)"));
            QCOMPARE(dialog.defaultSuffix(), QString("xls"));
            dialog.reject();
        });
        journal.ToolButton8->click();
        journal.work().waitUntilDone();
        QCOMPARE(messages.seen().size(), 1);
        QCOMPARE(messages.seen()[0].caption, QString("提示"));
        QCOMPARE(messages.seen()[0].text, QString("出入库流水帐数据输出未完成！"));
        QCOMPARE(messages.seen()[0].owner, &journal);
    }

    void theDialogOpensInTheDocumentsFolderThenWhereTheLastFileWent() {
        MainWindowOnDemo w;
        w.main.edt_name->setText("轴承");
        w.main.RunQuery();
        w.main.work().waitUntilDone();
        // The user's documents: on Windows the account's own, elsewhere in a home of the
        // test's own. The program starts in neither.
#ifdef _WIN32
        const QString documents =
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
#else
        TempDir home;
        std::filesystem::create_directory(home.path() / "Documents");
        const HomeFolder homeFolder(home.path());
        const QString documents = textOf(home.path() / "Documents");
#endif
        QString opened;
        const auto seeWhereItOpens = [&opened] {
            answerSaveDialog([&opened](QFileDialog& dialog) {
                opened = dialog.directory().absolutePath();
                dialog.reject();
            });
        };
        MessageBoxWatcher messages;
        seeWhereItOpens();
        w.main.ToolButton8->click();
        QCOMPARE(opened, QDir(documents).absolutePath());

        TempDir folder;
        saveIn(folder, 3);
        w.main.ToolButton8->click();
        w.main.work().waitUntilDone();
        seeWhereItOpens();
        w.main.ToolButton8->click();
        QCOMPARE(opened, QDir(textOf(folder.path())).absolutePath());
    }

    void aNewRunOpensTheDialogWhereTheLastFileWentWithItsFileType() {
        MainWindowOnDemo w;
        w.main.edt_name->setText("轴承");
        w.main.RunQuery();
        w.main.work().waitUntilDone();
        TempDir folder;
        MessageBoxWatcher messages;
        saveIn(folder, 5); // Excel 工作簿
        w.main.ToolButton8->click();
        w.main.work().waitUntilDone();
        // The next run of the program: a window of its own on the same settings store.
        Tfrm_crquery journal(w.main.ado_conn);
        QString opened, type, suffix;
        answerSaveDialog([&](QFileDialog& dialog) {
            opened = dialog.directory().absolutePath();
            type = dialog.selectedNameFilter();
            suffix = dialog.defaultSuffix();
            dialog.reject();
        });
        journal.ToolButton8->click();
        QCOMPARE(opened, QDir(textOf(folder.path())).absolutePath());
        QCOMPARE(type, QString("Excel 工作簿 (*.xlsx)"));
        QCOMPARE(suffix, QString("xlsx"));
    }

    void aResultTooLargeForAWorksheetIsToldBeforeTheNameAndOfferedTheWorkbook() {
        TinyErp erp;
        erp.addWarehouseWithStock("01", "原材料库", 5);
        erp.exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 65534)"
                 " INSERT INTO CurrentStock (cWhCode, cInvCode, cBatch, iQuantity)"
                 " SELECT '01', 'I1', 'C' || i, 1 FROM n");
        MainWindowOnDemo w(erp.server());
        w.main.RunQuery();
        w.main.work().waitUntilDone();
        QCOMPARE(w.main.Panel4->text(), QString("记录数为：65535"));
        MessageBoxWatcher messages;
        qsizetype toldBeforeTheDialog = -1;
        QString type;
        answerSaveDialog([&](QFileDialog& dialog) {
            toldBeforeTheDialog = messages.seen().size();
            type = dialog.selectedNameFilter();
            dialog.reject();
        });
        w.main.ToolButton8->click();
        QCOMPARE(toldBeforeTheDialog, 1);
        QCOMPARE(type, QString("Excel 工作簿 (*.xlsx)"));
        const QString told = messages.seen()[0].text;
        QVERIFY(told.startsWith("结果有 65535 条记录，Excel 文档 (*.xls) 最多只能放 65534 条。"));
        QVERIFY(told.contains("Excel 工作簿 (*.xlsx)"));
        QVERIFY(told.contains("CSV 文件 (UTF-8) (*.csv)"));
        QCOMPARE(messages.seen()[0].owner, &w.main);
    }

    void theProposedNameGetsAnExcelFile() {
        MainWindowOnDemo w;
        w.main.edt_name->setText("轴承");
        w.main.RunQuery();
        w.main.work().waitUntilDone();
        // What a printed page's heading says of the rows.
        QCOMPARE(exportLayout(*w.main.dbg_xclinfo).criteria, QString("查询条件：存货名称：轴承"));
        TempDir folder;
        MessageBoxWatcher messages;
        saveIn(folder, 1);
        w.main.ToolButton8->click();
        w.main.work().waitUntilDone();
        const auto path =
            folder.path() /
            ("现存量查询-" + QDate::currentDate().toString("yyyyMMdd") + ".xls").toStdU16String();
        QVERIFY(std::filesystem::exists(path));
        const std::string bytes = fileBytes(path);
        QVERIFY(bytes.starts_with(std::string("\x09\x08\x08\x00\x00\x00\x10\x00", 8)));
        QVERIFY(bytes.ends_with(std::string("\x0A\x00\x00\x00", 4)));
        QTest::qWait(30);
        for (const QString& text : messages.texts()) // at most the note on "?"
            QVERIFY(text.startsWith("文件已写好。"));
    }

    void aTypedNamesKnownExtensionDecidesTheFormatAndAnUnknownOneTakesTheChosenType() {
        MainWindowOnDemo w;
        w.main.edt_name->setText("轴承");
        w.main.RunQuery();
        w.main.work().waitUntilDone();
        // Sorted by a title click: the file holds the sorted rows and the marked title.
        emit w.main.dbg_xclinfo->titleClicked(7);
        w.main.work().waitUntilDone();
        TempDir folder;
        MessageBoxWatcher messages;
        saveIn(folder, 1, "stock.txt"); // the Excel worksheet chosen, a text file named
        w.main.ToolButton8->click();
        // Written on a worker thread: meanwhile nothing starts other work, a sort included.
        QVERIFY(w.main.work().busy());
        QVERIFY(!w.main.tbn_query->isEnabled());
        QVERIFY(!w.main.ToolButton8->isEnabled());
        emit w.main.dbg_xclinfo->titleClicked(2);
        QCOMPARE(w.main.ado_xclinfo.sortOrder(), std::string("现存量 ASC"));
        w.main.work().waitUntilDone();
        const QString text =
            decodedFromCp936(QByteArray::fromStdString(fileBytes(folder.path() / "stock.txt")));
        const QStringList lines = text.split("\r\n");
        QCOMPARE(lines.size(), int(w.main.ado_xclinfo.rowCount()) + 2);
        QVERIFY(lines.first().startsWith("存货编码\t存货代码\t"));
        QVERIFY(lines.first().contains("\t▲现存量\t"));
        QVERIFY(lines.last().startsWith("合计\t"));
        const auto onHand = [&](int line) { return lines[line].split('\t')[7].toDouble(); };
        QVERIFY(onHand(1) <= onHand(lines.size() - 2));
        // Each known extension, in any case, whatever type is chosen; the type is kept for the
        // next export as the name said.
        const std::vector<std::pair<QString, std::string>> named = {
            {"exist.csv", "\xEF\xBB\xBF存货编码,"}, {"a.XLSX", "PK"},     {"b.pdf", "%PDF"},
            {"c.Html", "<!DOCTYPE HTML"},           {"d.rtf", "{\\rtf0"}, {"e.xls", "\x09\x08"}};
        for (const auto& [name, start] : named) {
            saveIn(folder, name.endsWith("xls") ? 4 : 1, name);
            w.main.ToolButton8->click();
            w.main.work().waitUntilDone();
            QVERIFY2(fileBytes(folder.path() / name.toStdString()).starts_with(start),
                     qPrintable(name));
        }
        QCOMPARE(readExportPreferences().fileType, std::string("xls"));
        // An extension no type has: the chosen type's format under the name as typed.
        saveIn(folder, 3, "f.dat");
        w.main.ToolButton8->click();
        w.main.work().waitUntilDone();
        QVERIFY(fileBytes(folder.path() / "f.dat").starts_with("<!DOCTYPE HTML"));
        // Only the two code page 936 files (.txt, .xls) tell of characters written as "?".
        QCOMPARE(messages.seen().size(), 2);
    }

    void aCancelledExportKeepsTheOldFileAndANewQueryCanFollowAtOnce() {
        MainWindowOnDemo w;
        TempDir folder;
        MessageBoxWatcher messages;
        exportEveryRowOver(w, folder, 2, "stock.rtf");
        QVERIFY(w.main.work().busy());
        w.main.btn_cancel->click();
        QVERIFY(!w.main.work().busy());
        QCOMPARE(w.main.workStatus->text(), QString("输出已取消"));
        w.main.tbn_query->click(); // closes the rows the export was reading
        w.main.work().waitUntilDone();
        QCOMPARE(fileBytes(folder.path() / "stock.rtf"), std::string("old"));
        QCOMPARE(filesIn(folder.path()), std::vector<std::string>{"stock.rtf"});
        QCOMPARE(messages.seen().size(), 1); // whether to replace it: yes
        QVERIFY(messages.seen()[0].text.contains("stock.rtf"));
    }

    void aCancelWhileTheWorkbookIsZippedLeavesTheWindowLiveAndTheOldFileAsItWas() {
        MainWindowOnDemo w;
        TempDir folder;
        MessageBoxWatcher messages;
        exportEveryRowOver(w, folder, 5, "stock.xlsx");
        QVERIFY(QTest::qWaitFor(
            [&] { return w.main.workStatus->text().contains("正在压缩 Excel 工作簿"); },
            kEventWait));
        QElapsedTimer clock;
        clock.start();
        w.main.btn_cancel->click();
        QVERIFY2(clock.elapsed() < promptly(50), qPrintable(QString::number(clock.elapsed())));
        QVERIFY(!w.main.work().busy());
        QCOMPARE(w.main.workStatus->text(), QString("输出已取消"));
        w.main.tbn_query->click(); // the rows may change: the zip no longer reads them
        w.main.work().waitUntilDone();
        BackgroundJob::waitForAll();
        QCOMPARE(fileBytes(folder.path() / "stock.xlsx"), std::string("old"));
        QCOMPARE(filesIn(folder.path()), std::vector<std::string>{"stock.xlsx"});
        QCOMPARE(messages.seen().size(), 1); // whether to replace it: yes
    }

    void theSaveDialogAsksBeforeReplacingAFileAndListsFilesInChinese() {
        installQtChinese();
        QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
        MainWindowOnDemo w;
        w.main.tbn_query->click();
        w.main.work().waitUntilDone();
        TempDir folder;
        QDir(textOf(folder.path())).mkdir("子目录"); // a narrow path is not UTF-8 on Windows
        const std::string old = "old";
        std::ofstream(folder.path() / "stock.rtf") << old;
        MessageBoxWatcher messages;
        messages.answerQuestionsWith(QMessageBox::No);
        std::map<QString, std::pair<QString, QString>> listed; // name: type and date
        bool stayedOpen = false;
        answerSaveDialog([&](QFileDialog& dialog) {
            dialog.setDirectory(textOf(folder.path()));
            dialog.selectNameFilter(dialog.nameFilters()[1]); // Word: the .rtf file shows
            auto* files = dialog.findChild<QTreeView*>("treeView");
            // The list is read in the background.
            if (!QTest::qWaitFor([&] { return files->model()->rowCount(files->rootIndex()) == 2; },
                                 kEventWait))
                return dialog.reject();
            for (int row = 0; row < 2; ++row) {
                const auto cell = [&](int column) {
                    return files->model()->index(row, column, files->rootIndex()).data().toString();
                };
                listed[cell(0)] = {cell(2), cell(3)};
            }
            // The titles in Chinese (Qt's own read 体积 for the size).
            QStringList titles;
            for (int column = 0; column < 4; ++column)
                titles << files->model()->headerData(column, Qt::Horizontal).toString();
            QCOMPARE(titles, (QStringList{"名称", "大小", "类型", "修改日期"}));
            dialog.findChild<QLineEdit*>("fileNameEdit")->setText("stock.rtf");
            static_cast<QDialog&>(dialog).accept(); // asks; 否 keeps the dialog open
            stayedOpen = dialog.isVisible();
            dialog.reject();
        });
        w.main.ToolButton8->click();
        w.main.work().waitUntilDone();
        QLocale::setDefault(QLocale::c());
        QVERIFY2(stayedOpen, qPrintable(messages.texts().join("|")));
        QCOMPARE(fileBytes(folder.path() / "stock.rtf"), old);
        QCOMPARE(messages.seen().size(), 2); // whether to replace, and that nothing was written
        QVERIFY(messages.seen()[0].text.contains("stock.rtf"));
        QVERIFY(!messages.seen()[0].text.contains("exists"));
        QCOMPARE(messages.seen()[1].text, QString("现存量查询数据输出未完成！"));
        // Each entry's type and date in the Chinese short form.
        const QString today = QLocale(QLocale::Chinese, QLocale::China)
                                  .toString(QDate::currentDate(), QLocale::ShortFormat);
        QCOMPARE(listed.size(), std::size_t(2));
        QCOMPARE(listed["子目录"].first, QString("文件夹"));
        QCOMPARE(listed["stock.rtf"].first, QString("RTF 文件"));
        for (const auto& [name, typeAndDate] : listed)
            QVERIFY2(typeAndDate.second.startsWith(today + " "), qPrintable(typeAndDate.second));
    }

    void aReadOnlyFileIsKeptAndTheWindowSaysSo() {
        MainWindowOnDemo w;
        w.main.tbn_query->click();
        w.main.work().waitUntilDone();
        TempDir folder;
        const std::filesystem::path kept = folder.path() / "stock.txt";
        std::ofstream(kept) << "old";
        std::filesystem::permissions(kept, std::filesystem::perms::owner_read);
        MessageBoxWatcher messages; // yes to replacing it
        saveIn(folder, 4, "stock.txt");
        w.main.ToolButton8->click();
        w.main.work().waitUntilDone();
        QTRY_COMPARE(messages.seen().size(), 2);
        QCOMPARE(messages.seen()[1].text,
                 QString("文件“%1”是只读的，没有替换它。请另选文件名再输出。")
                     .arg(QDir::toNativeSeparators(textOf(kept))));
        QCOMPARE(messages.seen()[1].caption, QString("提示"));
        QCOMPARE(fileBytes(kept), std::string("old"));
        QCOMPARE(filesIn(folder.path()), std::vector<std::string>{"stock.txt"});
    }

    void aNameTypedWithoutSuffixTakesTheChosenTypesSuffix() {
        MainWindowOnDemo w;
        w.main.tbn_query->click();
        w.main.work().waitUntilDone();
        TempDir folder;
        MessageBoxWatcher messages;
        saveIn(folder, 3, "page");
        w.main.ToolButton8->click();
        w.main.work().waitUntilDone();
        QVERIFY(messages.seen().isEmpty());
        QVERIFY(fileBytes(folder.path() / "page.html").starts_with("<!DOCTYPE HTML"));
        saveIn(folder, 2, "document");
        w.main.ToolButton8->click();
        w.main.work().waitUntilDone();
        QVERIFY(std::filesystem::exists(folder.path() / "document.rtf"));
        QVERIFY(!std::filesystem::exists(folder.path() / "page.xls"));
        saveIn(folder, 5, "book");
        w.main.ToolButton8->click();
        w.main.work().waitUntilDone();
        QVERIFY(fileBytes(folder.path() / "book.xlsx").starts_with("PK"));
        saveIn(folder, 6, "sheet");
        w.main.ToolButton8->click();
        w.main.work().waitUntilDone();
        QVERIFY(fileBytes(folder.path() / "sheet.csv").starts_with("\xEF\xBB\xBF存货编码,"));
        QVERIFY(messages.seen().isEmpty()); // both keep every character
    }

    void cellsWrittenWithQuestionMarksAreToldAfterwardsInOneMessage() {
        MainWindowOnDemo w;
        w.main.tbn_query->click();
        w.main.work().waitUntilDone();
        // The cells that code page 936 cannot hold whole, found by a converter not the program's.
        const ResultTableModel& model = *w.main.dbg_xclinfo->model();
        int changed = 0;
        for (int row = 0; row < model.rowCount(); ++row)
            for (int column = 0; column < model.columnCount(); ++column)
                changed += !heldByCp936(model.index(row, column).data().toString());
        QVERIFY(changed > 0); // the demo has "2.5mm²"
        TempDir folder;
        MessageBoxWatcher messages;
        saveIn(folder, 4, "stock.txt");
        w.main.ToolButton8->click();
        w.main.work().waitUntilDone();
        QCOMPARE(
            messages.texts(),
            QStringList{QString("文件已写好。其中 %1 个单元格含有 GBK（代码页 936）无法表示的"
                                "字符，已写成“?”；Html、Word、Excel 工作簿和 CSV (UTF-8) 格式会保留"
                                "所有字符。")
                            .arg(changed)});
        QCOMPARE(messages.seen()[0].owner, &w.main);
        saveIn(folder, 2, "stock.rtf");
        w.main.ToolButton8->click();
        w.main.work().waitUntilDone();
        QCOMPARE(messages.seen().size(), 1); // RTF keeps them: nothing to tell
    }

    void anExportBeforeAnyQueryReportsTheClosedResultAndLeavesNoFile() {
        MainWindowOnDemo w;
        TempDir folder;
        MessageBoxWatcher messages;
        saveIn(folder, 4, "closed.txt");
        w.main.ToolButton8->click();
        w.main.work().waitUntilDone();
        QTRY_COMPARE(messages.seen().size(), 1);
        QCOMPARE(messages.seen()[0].text, QString("查询结果未打开，无法输出。"));
        QCOMPARE(messages.seen()[0].owner, nullptr);
        QVERIFY(std::filesystem::is_empty(folder.path()));
    }

    void theLayoutFollowsTheGridsColumnsAsTheyStandNow() {
        MainWindowOnDemo w;
        w.main.RunQuery();
        w.main.work().waitUntilDone();
        GridHeader* titles = w.main.dbg_xclinfo->header();
        titles->moveSection(titles->visualIndex(7), 0);
        titles->resizeSection(3, 250);
        const ExportLayout layout = exportLayout(*w.main.dbg_xclinfo);
        QCOMPARE(layout.name, QString("dbg_xclinfo"));
        QCOMPARE(int(layout.columns.size()), 14);
        QCOMPARE(layout.columns[0].caption, QString("现存量"));
        QCOMPARE(layout.columns[0].alignment, Alignment::Right);
        QCOMPARE(layout.columns[0].footer.type, FooterValue::Sum);
        QCOMPARE(layout.columns[1].caption, QString("存货编码"));
        QCOMPARE(layout.columns[1].footer.text, QString("合计"));
        QCOMPARE(layout.columns[1].footer.colour, qRgb(255, 179, 102));
        QVERIFY(layout.columns[1].footer.font.bold);
        QCOMPARE(layout.columns[1].footer.font.pixelSize, 14);
        QCOMPARE(layout.columns[4].width, 250);
        QCOMPARE(layout.columns[4].font.family, QString("宋体"));
    }
};

QTEST_MAIN(ExportCommandTest)
#include "ExportCommandTest.moc"
