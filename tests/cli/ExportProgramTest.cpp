// stockquery-export as a script runs it, beside the files that the windows' 输出 writes.
#include "app/Tfrm_crquery.h"
#include "app/Tfrm_xclquery.h"
#include "export/GridExportLayout.h"
#include "export/TDBGridExportAsHTML.h"
#include "export/TDBGridExportAsRTF.h"
#include "export/TDBGridExportAsText.h"
#include "export/TDBGridExportAsUtf8CSV.h"
#include "export/TDBGridExportAsXLS.h"
#include "grid/ResultGrid.h"
#include "support/Bytes.h"
#include "support/DemoDatabasePath.h"
#include "support/SettingsSandbox.h"
#include "support/TempDir.h"
#include "support/TinyErp.h"
#include "support/tds/ErpTdsResponder.h"
#include "support/tds/TdsServer.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QProcess>
#include <QtTest>

#include <csignal>
#include <fstream>
#include <memory>

namespace {

struct Run {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

Run runProgram(const QString& program, const QStringList& arguments,
               const QString& folder = QDir::tempPath()) {
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(program, arguments);
    Run run;
    if (!process.waitForFinished(120000))
        return run;
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

Run exportProgram(const QStringList& arguments) {
    return runProgram(STOCKQUERY_EXPORT_PROGRAM, arguments);
}

QStringList onDemo(const QStringList& arguments) {
    return arguments +
           QStringList{"--server",   QString::fromStdString("sqlite:" + demoDatabasePath()),
                       "--database", "d",
                       "--user",     "u"};
}

// The window's 输出 of its grid in one format, as bytes.
template <typename Writer> std::string windowFile(ResultGrid& grid, const TempDir& folder) {
    const std::string path = (folder / "window.out").string();
    Writer().WriteGridToFile(QString::fromStdString(path), exportLayout(grid), grid.query());
    return fileBytes(path);
}

std::string programFile(const QStringList& arguments, const TempDir& folder) {
    const std::string path = (folder / "program.out").string();
    const Run run =
        exportProgram(onDemo(arguments + QStringList{"--output", QString::fromStdString(path)}));
    return run.status == 0 ? fileBytes(path)
                           : "exit " + std::to_string(run.status) + ": " + run.err.toStdString();
}

} // namespace

class ExportProgramTest : public QObject {
    Q_OBJECT
private slots:
    void aStockExportIsByteForByteTheWindowsFile() {
        SettingsSandbox settings;
        Tfrm_xclquery main;
        main.setAttribute(Qt::WA_DeleteOnClose, false);
        main.ado_conn.setSettings({"sqlite:" + demoDatabasePath(), "d", "u", ""});
        main.ado_conn.open();
        main.edt_name->setText("轴承");
        main.RunQuery();
        main.work().waitUntilDone();
        TempDir folder;
        const QStringList stock{"stock", "--name", "轴承"};
        ResultGrid& grid = *main.dbg_xclinfo;
        QCOMPARE(programFile(stock + QStringList{"--format", "txt"}, folder),
                 windowFile<TDBGridExportAsText>(grid, folder));
        QCOMPARE(programFile(stock + QStringList{"--format", "xls"}, folder),
                 windowFile<TDBGridExportAsXLS>(grid, folder));
        QCOMPARE(programFile(stock + QStringList{"--format", "rtf"}, folder),
                 windowFile<TDBGridExportAsRTF>(grid, folder));
        QCOMPARE(programFile(stock + QStringList{"--format", "html"}, folder),
                 windowFile<TDBGridExportAsHTML>(grid, folder));
        // Sorted down by a quantity as two title clicks sort it, the title marked.
        const int onHand = 7;
        main.dbg_xclinfoTitleClick(onHand);
        main.dbg_xclinfoTitleClick(onHand);
        QCOMPARE(
            programFile(stock + QStringList{"--sort", "现存量", "desc", "--format", "csv-utf8"},
                        folder),
            windowFile<TDBGridExportAsUtf8CSV>(grid, folder));
    }

    void aJournalOnStandardOutputIsTheWindowsText() {
        SettingsSandbox settings;
        Tfrm_xclquery main;
        main.setAttribute(Qt::WA_DeleteOnClose, false);
        main.ado_conn.setSettings({"sqlite:" + demoDatabasePath(), "d", "u", ""});
        main.ado_conn.open();
        Tfrm_crquery journal(main.ado_conn);
        journal.FormShow(); // this year up to today
        journal.RunQuery();
        journal.work().waitUntilDone();
        TempDir folder;
        const Run run =
            exportProgram(onDemo({"journal", "--from", journal.dates->date().toString("yyyy-MM-dd"),
                                  "--to", journal.datee->date().toString("yyyy-MM-dd")}));
        QCOMPARE(run.status, 0);
        QVERIFY(run.err.isEmpty());
        QCOMPARE(run.out.toStdString(),
                 windowFile<TDBGridExportAsText>(*journal.dbg_crinfo, folder));
    }

    void throughFreeTdsTheFilesAreThoseOfTheDemo() {
        SettingsSandbox settings;
        TdsServer server{ErpTdsResponder(demoDatabasePath())};
        qputenv("STOCKQUERY_PASSWORD", "pw");
        const QStringList overTds{"--server",   QString::fromStdString(server.address()),
                                  "--database", "erp_2026",
                                  "--user",     "reader"};
        for (const QStringList& command : {QStringList{"stock", "--name", "轴承", "--sort", "批号"},
                                           QStringList{"--list-warehouses"}}) {
            const Run sqlServer = exportProgram(command + overTds);
            QCOMPARE(sqlServer.status, 0);
            QVERIFY(!sqlServer.out.isEmpty());
            QCOMPARE(sqlServer.out, exportProgram(onDemo(command)).out);
        }
        QVERIFY(server.batches().size() >= 2);
        qunsetenv("STOCKQUERY_PASSWORD");
    }

    void theWarehousesAreListedACodeAndNameALine() {
        SettingsSandbox settings;
        settings.store({"sqlite:" + demoDatabasePath(), "d", "u", ""}); // the stored connection
        const Run run = exportProgram({"--list-warehouses"});
        QCOMPARE(run.status, 0);
        const QStringList lines = QString::fromUtf8(run.out).split('\n', Qt::SkipEmptyParts);
        QVERIFY(lines.size() >= 5);
        QVERIFY(lines[0].contains('\t'));
        QVERIFY(lines[0] < lines[1]);
    }

    void eachFailureHasItsStatusAndOneLineWithoutThePassword() {
        SettingsSandbox settings;
        qputenv("STOCKQUERY_PASSWORD", "pw-not-shown");
        const auto oneLine = [](const Run& run) {
            return run.err.count('\n') == 1 && !run.err.contains("pw-not-shown");
        };
        Run run = exportProgram({"stock", "--colour", "red"});
        QCOMPARE(run.status, 2);
        QCOMPARE(run.err, "stockquery-export: unknown option for stock: --colour (--help shows "
                          "the usage)\n");
        run = exportProgram(
            {"stock", "--server", "sqlite:/no/such/file.sqlite", "--database", "d", "--user", "u"});
        QCOMPARE(run.status, 3);
        QVERIFY(run.err.startsWith("stockquery-export: cannot connect to database d on "));
        QVERIFY(oneLine(run));
        TinyErp broken; // no unit table: the statement cannot run
        broken.exec("DROP TABLE ComputationUnit");
        run = exportProgram({"stock", "--server", QString::fromStdString(broken.server()),
                             "--database", "d", "--user", "u"});
        QCOMPARE(run.status, 4);
        QVERIFY(run.err.startsWith("stockquery-export: the query failed: "));
        QVERIFY(oneLine(run));
        run = exportProgram(onDemo({"stock", "--output", "/no/such/folder/out.txt"}));
        QCOMPARE(run.status, 5);
        QVERIFY(run.err.startsWith("stockquery-export: cannot write /no/such/folder/out.txt: "));
        QVERIFY(oneLine(run));
        run = exportProgram(onDemo({"stock", "--sort", "颜色"}));
        QCOMPARE(run.status, 2);
        QVERIFY(run.err.contains("no column to sort by: 颜色"));
        qunsetenv("STOCKQUERY_PASSWORD");
    }

    void anInterruptKeepsTheOldFileAndSaysSo() {
        SettingsSandbox settings;
        TinyErp slow;
        slow.addWarehouseWithStock("01", "原材料库", 5);
        slow.slowDown();
        TempDir folder;
        const std::string path = (folder / "stock.txt").string();
        std::ofstream(path) << "old";
        QProcess process;
        process.start(STOCKQUERY_EXPORT_PROGRAM,
                      {"stock", "--server", QString::fromStdString(slow.server()), "--database",
                       "d", "--user", "u", "--output", QString::fromStdString(path)});
        QVERIFY(process.waitForStarted());
        QTest::qWait(500);
        ::kill(static_cast<pid_t>(process.processId()), SIGINT);
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.exitCode(), 130);
        QVERIFY(process.readAllStandardError().contains("interrupted"));
        QCOMPARE(fileBytes(path), std::string("old"));
        QCOMPARE(filesIn(folder.path()), std::vector<std::string>{"stock.txt"});
    }

    void everyToolAnswersHelpAndRefusesUnknownOptionsCreatingNothing() {
        SettingsSandbox settings;
        TempDir folder;
        const QString here = QString::fromStdString(folder.path().string());
        for (const char* tool : {"make_demo_db", "demo_setup", "export_grids", "render_window"}) {
            const QString program = QString(STOCKQUERY_TOOLS) + "/" + tool;
            Run run = runProgram(program, {"--help"}, here);
            QCOMPARE(run.status, 0);
            QVERIFY2(run.out.startsWith(QByteArray("usage: ") + tool), tool);
            run = runProgram(program, {"--bogus", "x.sqlite"}, here);
            QCOMPARE(run.status, 2);
            QVERIFY2(run.err.contains("usage: "), tool);
        }
        Run run = exportProgram({"--help"});
        QCOMPARE(run.status, 0);
        QVERIFY(run.out.startsWith("usage: stockquery-export"));
        QVERIFY(std::filesystem::is_empty(folder.path()));
    }
};

QTEST_MAIN(ExportProgramTest)
#include "ExportProgramTest.moc"
