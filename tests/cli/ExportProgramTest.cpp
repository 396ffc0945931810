// stockquery-export as a script runs it, beside the files that the windows' 输出 writes.
#include "app/Tfrm_ageing.h"
#include "app/Tfrm_crquery.h"
#include "app/Tfrm_stockcard.h"
#include "app/Tfrm_summary.h"
#include "app/Tfrm_xclquery.h"
#include "export/TDBGridExportAsHTML.h"
#include "export/TDBGridExportAsPDF.h"
#include "export/TDBGridExportAsRTF.h"
#include "export/TDBGridExportAsText.h"
#include "export/TDBGridExportAsUtf8CSV.h"
#include "export/TDBGridExportAsXLS.h"
#include "grid/GridExportLayout.h"
#include "grid/ResultGrid.h"
#include "support/Bytes.h"
#include "support/DemoDatabasePath.h"
#include "support/MainOnDemo.h"
#include "support/Patience.h"
#include "support/Poppler.h"
#include "support/SettingsSandbox.h"
#include "support/TempDir.h"
#include "support/TinyErp.h"
#include "support/tds/ErpTdsResponder.h"
#include "support/tds/TdsServer.h"
#include "support/tds/TestCertificates.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QProcess>
#include <QtTest>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>

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

// Runs a bash script with the arguments given, in a private mount namespace when `isolated`
// (its own tmpfs over the first argument, so that devices and a full disk are the test's own).
Run bash(const QString& script, const QStringList& arguments, bool isolated = false) {
    const QStringList inBash = QStringList{"-c", script, "bash"} + arguments;
    if (!isolated)
        return runProgram("bash", inBash);
    return runProgram("unshare",
                      QStringList{"--mount", "--propagation", "private", "bash"} + inBash);
}

// Each "name number" line a script printed; -1 for a name it did not print.
class Statuses {
public:
    explicit Statuses(const QByteArray& out) {
        for (const QString& line : QString::fromUtf8(out).split('\n', Qt::SkipEmptyParts))
            found_[line.section(' ', 0, 0)] = line.section(' ', 1, 1).toInt();
    }
    int operator[](const QString& name) const {
        const auto at = found_.find(name);
        return at == found_.end() ? -1 : at->second;
    }

private:
    std::map<QString, int> found_;
};

// The password the command takes from its environment, for one test.
class PasswordInEnvironment {
public:
    PasswordInEnvironment() { qputenv("STOCKQUERY_PASSWORD", "pw"); }
    ~PasswordInEnvironment() { qunsetenv("STOCKQUERY_PASSWORD"); }
};

// What a run of the command starts from: settings of its own, the password in its environment
// and an empty folder for its files.
struct CommandSandbox {
    SettingsSandbox settings;
    const PasswordInEnvironment password;
    TempDir folder;

    // A file of the folder that holds "old", for the command to replace or keep.
    QString oldFile(const char* name) const {
        const std::filesystem::path path = folder / name;
        std::ofstream(path) << "old";
        return QString::fromStdString(path.string());
    }
    // Whether that file is as it was and nothing lies beside it.
    bool keptAlone(const char* name) const {
        return fileBytes(folder / name) == "old" &&
               filesIn(folder.path()) == std::vector<std::string>{name};
    }
};

QStringList demoConnection() {
    return {"--server",   QString::fromStdString("sqlite:" + demoDatabasePath()),
            "--database", "d",
            "--user",     "u"};
}

} // namespace

class ExportProgramTest : public QObject {
    Q_OBJECT
private slots:
    void aStockExportIsByteForByteTheWindowsFile() {
        MainOnDemo demo;
        Tfrm_xclquery& main = demo.main;
        demo.query("轴承");
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
        for (int click = 0; click < 2; ++click) {
            emit main.dbg_xclinfo->titleClicked(onHand);
            main.work().waitUntilDone();
        }
        QCOMPARE(
            programFile(stock + QStringList{"--sort", "现存量", "desc", "--format", "csv-utf8"},
                        folder),
            windowFile<TDBGridExportAsUtf8CSV>(grid, folder));
    }

    void theCommandsPdfHasTheWindowsPagesLineForLine() {
        MainOnDemo demo;
        Tfrm_xclquery& main = demo.main;
        demo.query(""); // the whole demo: its columns grow to their footers' sums
        TempDir folder;
        const QString window = QString::fromStdString((folder / "window.pdf").string());
        TDBGridExportAsPDF().WriteGridToFile(window, exportLayout(*main.dbg_xclinfo),
                                             main.dbg_xclinfo->query());
        const QString program = QString::fromStdString((folder / "program.pdf").string());
        QCOMPARE(exportProgram(onDemo({"stock", "--format", "pdf", "--output", program})).status,
                 0);
        // Every page as laid out, but for the minute each was printed at.
        const auto pages = [](const QString& path) {
            return pdfPageTexts(path, true)
                .replaceInStrings(QRegularExpression("\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d"), "");
        };
        const QStringList expected = pages(window);
        QVERIFY(expected.size() > 100);
        QCOMPARE(pages(program), expected);
    }

    void aJournalOnStandardOutputIsTheWindowsText() {
        JournalOnDemo demo;
        Tfrm_crquery& journal = demo.journal;
        TempDir folder;
        const Run run =
            exportProgram(onDemo({"journal", "--from", journal.dates->date().toString("yyyy-MM-dd"),
                                  "--to", journal.datee->date().toString("yyyy-MM-dd")}));
        QCOMPARE(run.status, 0);
        // At most the line on characters written as "?".
        QVERIFY(run.err.isEmpty() ||
                (run.err.count('\n') == 1 && run.err.contains("cells hold characters")));
        // The window's file, its last line ended for the terminal.
        QCOMPARE(run.out.toStdString(),
                 windowFile<TDBGridExportAsText>(*journal.dbg_crinfo, folder) + "\r\n");
    }

    void theSummaryAndTheCardAreTheWindowsFiles() {
        SettingsSandbox settings;
        Connection connection;
        connection.setSettings({"sqlite:" + demoDatabasePath(), "d", "u", ""});
        connection.open();
        TempDir folder;
        Tfrm_summary summary(connection);
        summary.FormShow(); // this month up to today
        summary.edt_name->setText("轴承");
        summary.chk_batch->setChecked(true);
        summary.RunQuery();
        summary.work().waitUntilDone();
        const QString from = summary.dates->date().toString("yyyy-MM-dd");
        const QString to = summary.datee->date().toString("yyyy-MM-dd");
        const QStringList perBatch{"summary", "--from", from,   "--to",
                                   to,        "--name", "轴承", "--by-batch"};
        QCOMPARE(programFile(perBatch + QStringList{"--format", "xls"}, folder),
                 windowFile<TDBGridExportAsXLS>(*summary.grid(), folder));
        QCOMPARE(programFile(perBatch + QStringList{"--format", "html"}, folder),
                 windowFile<TDBGridExportAsHTML>(*summary.grid(), folder));

        Tfrm_stockcard card(connection);
        card.edt_whcode->setText("12");
        card.edt_code->setText("0002091");
        card.dates->setDate(QDate(QDate::currentDate().year(), 1, 1));
        card.RunQuery();
        card.work().waitUntilDone();
        const QStringList wholeCard{"card",
                                    "--code",
                                    "0002091",
                                    "--warehouse",
                                    "12",
                                    "--from",
                                    card.dates->date().toString("yyyy-MM-dd"),
                                    "--to",
                                    to};
        QCOMPARE(programFile(wholeCard + QStringList{"--format", "rtf"}, folder),
                 windowFile<TDBGridExportAsRTF>(*card.grid(), folder));
        QCOMPARE(programFile(wholeCard + QStringList{"--format", "txt"}, folder),
                 windowFile<TDBGridExportAsText>(*card.grid(), folder));

        Tfrm_ageing ageing(connection);
        ageing.FormShow(); // as of today
        ageing.edt_name->setText("轴承");
        ageing.edt_bands->setText("10,100,1000");
        ageing.chk_batch->setChecked(true);
        ageing.RunQuery();
        ageing.work().waitUntilDone();
        const QStringList aged{"ageing", "--name", "轴承", "--bands", "10,100,1000", "--by-batch"};
        QCOMPARE(programFile(aged + QStringList{"--format", "xls"}, folder),
                 windowFile<TDBGridExportAsXLS>(*ageing.grid(), folder));
        QCOMPARE(programFile(aged + QStringList{"--as-of", to, "--format", "csv-utf8"}, folder),
                 windowFile<TDBGridExportAsUtf8CSV>(*ageing.grid(), folder));
    }

    void throughFreeTdsTheFilesAreThoseOfTheDemo() {
        SettingsSandbox settings;
        TdsServer server{ErpTdsResponder(demoDatabasePath())};
        qputenv("STOCKQUERY_PASSWORD", "pw");
        const QStringList overTds{"--server",   QString::fromStdString(server.address()),
                                  "--database", "erp_2026",
                                  "--user",     "reader"};
        for (const QStringList& command :
             {QStringList{"stock", "--name", "轴承", "--sort", "批号"},
              QStringList{"summary", "--from", "2026-01-01", "--to", "2026-06-30", "--name", "轴承",
                          "--by-batch"},
              QStringList{"card", "--code", "0000299", "--warehouse", "01", "--from", "2025-01-01",
                          "--to", "2026-12-31"},
              QStringList{"ageing", "--as-of", "2026-06-30", "--name", "轴承", "--by-batch"},
              QStringList{"--list-warehouses"}}) {
            const Run sqlServer = exportProgram(command + overTds);
            QCOMPARE(sqlServer.status, 0);
            QVERIFY(!sqlServer.out.isEmpty());
            QCOMPARE(sqlServer.out, exportProgram(onDemo(command)).out);
        }
        QVERIFY(server.batches().size() >= 5);
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

    void theEncryptionSettingsReachTheDriverAndARefusalIsOneLine() {
        SettingsSandbox settings;
        qputenv("STOCKQUERY_PASSWORD", "pw-not-shown");
        TdsServer stranger{ErpTdsResponder(demoDatabasePath()), encryptingWith("stranger")};
        const QStringList mandatory{
            "--list-warehouses",
            "--server",
            QString::fromStdString("localhost," + std::to_string(stranger.port())),
            "--database",
            "erp_2026",
            "--user",
            "reader",
            "--encrypt",
            "mandatory"};
        const QString authority = QString::fromStdString(testCertificate("ca.pem"));
        Run run = exportProgram(mandatory + QStringList{"--ca-file", authority});
        QCOMPARE(run.status, 3);
        QVERIFY2(run.err.contains("服务器证书不受信任"), run.err.constData());
        QCOMPARE(run.err.count('\n'), 1);
        QVERIFY(!run.err.contains("pw-not-shown"));
        run = exportProgram(
            mandatory + QStringList{"--ca-file", QString::fromStdString(
                                                     testCertificate("not-a-certificate.pem"))});
        QCOMPARE(run.status, 3);
        QVERIFY2(run.err.contains("没有证书"), run.err.constData());
        QVERIFY(stranger.logins().empty());
        run = exportProgram(mandatory + QStringList{"--trust-server-certificate"});
        QCOMPARE(run.status, 0);
        QVERIFY(!run.out.isEmpty());
        QCOMPARE(stranger.logins().size(), 1U);
        QVERIFY(stranger.logins()[0].sessionEncrypted);
        QStringList test = mandatory;
        test[0] = "--test-connection";
        run = exportProgram(test + QStringList{"--trust-server-certificate"});
        QCOMPARE(run.status, 0);
        QVERIFY2(run.out.startsWith("Microsoft SQL Server 15.00.2000\ndriver: FreeTDS "),
                 run.out.constData());
        run = exportProgram(mandatory + QStringList{"--encrypt", "sometimes"});
        QCOMPARE(run.status, 2);
        QVERIFY(run.err.contains("--encrypt is optional, mandatory or strict"));
        qunsetenv("STOCKQUERY_PASSWORD");
    }

    void lostCharactersAreSaidAndAReadOnlyFileIsKept() {
        const CommandSandbox box;
        const TempDir& folder = box.folder;
        const QString text = QString::fromStdString((folder / "stock.txt").string());
        // The demo holds characters beyond GBK: the window says how many, and so does the
        // command, on one line, succeeding.
        Tfrm_xclquery main;
        main.setAttribute(Qt::WA_DeleteOnClose, false);
        main.ado_conn.setSettings({"sqlite:" + demoDatabasePath(), "d", "u", ""});
        main.ado_conn.open();
        main.RunQuery();
        main.work().waitUntilDone();
        TDBGridExportAsText window;
        window.WriteGridToFile(QString::fromStdString((folder / "window.txt").string()),
                               exportLayout(*main.dbg_xclinfo), main.dbg_xclinfo->query());
        QVERIFY(window.replacedCells() > 0);
        Run run = exportProgram(onDemo({"stock", "--output", text}));
        QCOMPARE(run.status, 0);
        QCOMPARE(QString::fromUtf8(run.err),
                 QString("stockquery-export: %1 cells hold characters that code page 936 (GBK) "
                         "cannot represent; they were written as '?' (csv-utf8, xlsx and pdf "
                         "keep every character)\n")
                     .arg(window.replacedCells()));
        run = exportProgram(onDemo({"stock", "--format", "csv-utf8", "--output", "-"}));
        QCOMPARE(run.status, 0);
        QVERIFY(run.err.isEmpty());
        // A file its owner made read-only stays as it was, and nothing is left beside it.
        std::filesystem::remove(folder / "window.txt");
        box.oldFile("stock.txt");
        std::filesystem::permissions(text.toStdString(), std::filesystem::perms::owner_read |
                                                             std::filesystem::perms::group_read |
                                                             std::filesystem::perms::others_read);
        run = exportProgram(onDemo({"stock", "--output", text}));
        QCOMPARE(run.status, 5);
        QCOMPARE(QString::fromUtf8(run.err),
                 QString("stockquery-export: cannot write %1: %1 is read-only\n").arg(text));
        QVERIFY(box.keptAlone("stock.txt"));
    }

    void aServerThatAnswersWronglyIsOneLineAndTheOldFileKept() {
        const CommandSandbox box;
        const QString path = box.oldFile("stock.txt");
        TdsServer server{ErpTdsResponder(demoDatabasePath())};
        const QStringList command{
            "stock",      "--server", QString::fromStdString(server.address()),
            "--database", "erp_2026", "--user",
            "reader",     "--output", path};
        using Wrong = TdsServer::Misbehaviour;
        // An answer that cannot be read fails the query, however long its reading took; one
        // that stalls, comes late or never is given up at the time limit.
        for (const Wrong wrong : {Wrong::closeMidRow, Wrong::unknownToken, Wrong::wrongColumnType,
                                  Wrong::truncatedAnswer, Wrong::slowAnswer, Wrong::neverAnswer}) {
            const bool unanswered = wrong == Wrong::truncatedAnswer || wrong == Wrong::slowAnswer ||
                                    wrong == Wrong::neverAnswer;
            server.misbehave(wrong);
            const Run run = exportProgram(
                command + (unanswered ? QStringList{"--timeout", "3"} : QStringList{}));
            QCOMPARE(run.status, 4);
            QCOMPARE(run.err.count('\n'), 1);
            QVERIFY2(run.err.startsWith(unanswered ? "stockquery-export: the server did not answer"
                                                   : "stockquery-export: the query failed: "),
                     run.err.constData());
            QVERIFY(box.keptAlone("stock.txt"));
        }
        server.misbehave(Wrong::none); // and the server, behaving again, is read as ever
        const Run again = exportProgram(command);
        QVERIFY2(again.status == 0, again.err.constData());
    }

    void aServerThatStopsAnsweringIsGivenUpAtTheTimeLimitAndTheOldFileKept() {
        const CommandSandbox box;
        const QString path = box.oldFile("stock.txt");
        const QString said = QString("stockquery-export: the server did not answer within 2 "
                                     "seconds; nothing was written\n");
        // A statement that runs for a minute: stopped at the limit, as the server is asked.
        {
            TdsServer slow{ErpTdsResponder(demoDatabasePath()), {.answerAfterMs = 60000}};
            QElapsedTimer clock;
            clock.start();
            const Run run = exportProgram({"stock", "--timeout", "2", "--output", path, "--server",
                                           QString::fromStdString(slow.address()), "--database",
                                           "erp", "--user", "reader"});
            QCOMPARE(run.status, 4);
            QCOMPARE(QString::fromUtf8(run.err), said);
            QVERIFY2(clock.elapsed() < promptly(5000),
                     qPrintable(QString::number(clock.elapsed())));
        }
        // A server frozen after the log-in answers not even the cancel: the command ends all
        // the same, a moment after the limit.
        {
            TdsServer frozen{ErpTdsResponder(demoDatabasePath()), {.answerAfterMs = 5000}};
            QProcess process;
            QElapsedTimer clock;
            clock.start();
            process.start(STOCKQUERY_EXPORT_PROGRAM,
                          {"stock", "--timeout", "2", "--output", path, "--server",
                           QString::fromStdString(frozen.address()), "--database", "erp", "--user",
                           "reader"});
            QVERIFY(QTest::qWaitFor([&] { return !frozen.batches().empty(); }, kEventWait));
            frozen.fallSilent();
            QVERIFY(process.waitForFinished(10000));
            QCOMPARE(process.exitCode(), 4);
            QCOMPARE(QString::fromUtf8(process.readAllStandardError()), said);
            QVERIFY2(clock.elapsed() < promptly(5000),
                     qPrintable(QString::number(clock.elapsed())));
        }
        QVERIFY(box.keptAlone("stock.txt"));
        // A log-in that is never answered ends at its own limit: no connection.
        TdsServer silent{{}, {.silent = true}};
        QElapsedTimer clock;
        clock.start();
        const Run run = exportProgram({"--list-warehouses", "--login-timeout", "1", "--server",
                                       QString::fromStdString(silent.address()), "--database",
                                       "erp", "--user", "reader"});
        QCOMPARE(run.status, 3);
        QVERIFY2(clock.elapsed() < promptly(5000), qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(exportProgram({"stock", "--timeout", "soon"}).status, 2);
    }

    void aServerRestartingDuringTheRunIsWaitedForAndOneThatStaysDownIsNoConnection() {
        SettingsSandbox settings;
        const PasswordInEnvironment password;
        const QStringList stock{"stock", "--name", "轴承"};
        const QByteArray expected = exportProgram(onDemo(stock)).out;
        QVERIFY(!expected.isEmpty());
        std::optional<TdsServer> server(std::in_place, ErpTdsResponder(demoDatabasePath()),
                                        TdsServerOptions{.answerAfterMs = 1500});
        const int port = server->port();
        const QStringList overTds =
            stock + QStringList{"--server",   QString::fromStdString(server->address()),
                                "--database", "erp",
                                "--user",     "reader"};
        QProcess process;
        process.start(STOCKQUERY_EXPORT_PROGRAM, overTds);
        QVERIFY(QTest::qWaitFor([&] { return !server->batches().empty(); }, kEventWait));
        server.reset(); // stopped while the statement runs, and down for two seconds
        QTest::qWait(2000);
        server.emplace(ErpTdsResponder(demoDatabasePath()),
                       TdsServerOptions{.port = port, .answerAfterMs = 0});
        QVERIFY(process.waitForFinished(30000));
        QVERIFY2(process.exitCode() == 0, process.readAllStandardError().constData());
        QCOMPARE(process.readAllStandardOutput(), expected);

        // Stopped for good while the statement runs (a server that answers at once may have
        // sent the whole answer before it goes): after the waits, no connection. So is a
        // session lost again while the statement runs a second time.
        const auto endsWithNoConnection = [&](const std::function<void()>& loseIt) {
            server.emplace(ErpTdsResponder(demoDatabasePath()),
                           TdsServerOptions{.port = port, .answerAfterMs = 1500});
            process.start(STOCKQUERY_EXPORT_PROGRAM, overTds);
            QVERIFY(QTest::qWaitFor([&] { return !server->batches().empty(); }, kEventWait));
            loseIt();
            QVERIFY(process.waitForFinished(60000));
            QCOMPARE(process.exitCode(), 3);
            const QString said = QString::fromUtf8(process.readAllStandardError());
            QVERIFY2(said.startsWith("stockquery-export: lost the connection to the server: "),
                     qPrintable(said));
            QCOMPARE(said.count('\n'), 1);
        };
        endsWithNoConnection([&] { server.reset(); });
        endsWithNoConnection([&] {
            server->dropConnections();
            QVERIFY(QTest::qWaitFor([&] { return server->batches().size() == 2; }, kEventWait));
            server.reset();
        });
    }

    void anInterruptKeepsTheOldFileAndSaysSo() {
        const CommandSandbox box;
        TinyErp slow;
        slow.addWarehouseWithStock("01", "原材料库", 5);
        slow.slowDown();
        const QString path = box.oldFile("stock.txt");
        QProcess process;
        process.start(STOCKQUERY_EXPORT_PROGRAM,
                      {"stock", "--server", QString::fromStdString(slow.server()), "--database",
                       "d", "--user", "u", "--output", path});
        QVERIFY(process.waitForStarted());
        QTest::qWait(500);
        ::kill(static_cast<pid_t>(process.processId()), SIGINT);
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.exitCode(), 130);
        QVERIFY(process.readAllStandardError().contains("interrupted"));
        QVERIFY(box.keptAlone("stock.txt"));
    }

    void aKilledCommandKeepsTheOldFileAndTheNextRunRemovesItsLeftoverOnceOld() {
        SettingsSandbox settings;
        TempDir folder;
        // The whole journal takes seconds to write as a workbook or as pages.
        for (const QString format : {"xlsx", "pdf"}) {
            const std::string path = (folder / ("journal." + format.toStdString())).string();
            std::ofstream(path) << "old";
            QProcess process;
            process.start(STOCKQUERY_EXPORT_PROGRAM,
                          onDemo({"journal", "--from", "2000-01-01", "--to", "2099-12-31",
                                  "--output", QString::fromStdString(path)}));
            QVERIFY(process.waitForStarted());
            const auto leftovers = [&] {
                std::vector<std::string> found;
                for (const std::string& name : filesIn(folder.path()))
                    if (name.starts_with(".stockquery-") && name.ends_with(".partial"))
                        found.push_back(name);
                return found;
            };
            QElapsedTimer waited;
            waited.start();
            while (leftovers().empty() && waited.elapsed() < kEventWait)
                usleep(1000);
            ::kill(static_cast<pid_t>(process.processId()), SIGKILL);
            QVERIFY(!leftovers().empty());
            QVERIFY(process.waitForFinished(10000));
            QCOMPARE(fileBytes(path), std::string("old"));
            // The next run into the folder (of one kind of item, to be quick) leaves a young
            // leftover (it may be another program's, still writing) and removes it once it has
            // lain an hour.
            const auto exportsAgain = [&] {
                const Run run = exportProgram(
                    onDemo({"stock", "--name", "轴承", "--output", QString::fromStdString(path)}));
                QVERIFY2(run.status == 0, run.err.constData());
            };
            exportsAgain();
            const std::vector<std::string> left = leftovers();
            QVERIFY(!left.empty());
            for (const std::string& name : left)
                std::filesystem::last_write_time(folder / name,
                                                 std::filesystem::file_time_type::clock::now() -
                                                     std::chrono::minutes(61));
            exportsAgain();
            QVERIFY(leftovers().empty());
            QVERIFY(fileBytes(path) != "old");
        }
    }

    void devicesAndLinksAreWrittenIntoNeverReplacedAndAFullDiskLeavesNothing() {
        SettingsSandbox settings;
        const PasswordInEnvironment password;
        TempDir folder;
        // Device nodes of the test's own on a 4 MB tmpfs: "full" is /dev/full's device and
        // "null" /dev/null's.
        const QString script = R"sh(
            mount -t tmpfs -o size=4m tmpfs "$1" || exit 99
            cd "$1" && program=$2 && shift 2
            mknod full c 1 7 && mknod null c 1 3 && ln -s full link.txt || exit 98
            echo old > old.html
            run() { "$program" "$@" 2>>err; }
            run stock "$@" --output link.txt; echo link $?
            run stock "$@" --output null --format xlsx; echo null $?
            run stock "$@" --output full --format xlsx; echo full $?
            run stock "$@" --format rtf --output - >full; echo stdout $?
            run --list-warehouses "$@" >full; echo list $?
            run stock "$@" --output big.xlsx; echo workbook $?
            run stock "$@" --output old.html; echo html $?
            run stock "$@" --output full --format pdf; echo pdffull $?
            run stock "$@" --output pages.pdf; echo pdf $?
            [ -c full ] && [ -c null ] && [ -L link.txt ] && echo devices 0
            [ "$(cat old.html)" = old ] && echo kept 0
            echo files $(ls -A | wc -l)
            cat err >&2)sh";
        const Run run = bash(
            script,
            QStringList{QString::fromStdString(folder.path().string()), STOCKQUERY_EXPORT_PROGRAM} +
                demoConnection(),
            true);
        if (run.status == 99 || run.status == -1)
            QSKIP("no private mount namespace here (it needs root)");
        // Every write to the full device (through the link, as standard output) or the full
        // disk fails, 637 pages included; the null device takes its file; the devices, the link
        // and the old file stay, and only they and err are left.
        QCOMPARE(run.out, QByteArray("link 5\nnull 0\nfull 5\nstdout 5\nlist 5\nworkbook 5\n"
                                     "html 5\npdffull 5\npdf 5\ndevices 0\nkept 0\nfiles 5\n"));
        const QStringList lines = QString::fromUtf8(run.err).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 8); // one line for each failure
        for (const QString& line : lines)
            QVERIFY2(line.endsWith("No space left on device") ||
                         line.endsWith("No space left on device)"),
                     qPrintable(line));
        QVERIFY(lines[2].startsWith("stockquery-export: cannot write to standard output: "));
    }

    void aClosedPipeIsAFailureAndNothingIsLeftInTheTemporaryFolder() {
        SettingsSandbox settings;
        const PasswordInEnvironment password;
        TempDir temporary;
        TempDir runtime; // Qt's, apart from what the command leaves
        std::filesystem::permissions(runtime.path(), std::filesystem::perms::owner_all);
        const QString script = R"sh(
            export TMPDIR="$1" XDG_RUNTIME_DIR="$2" && shift 2
            "$@" --format xlsx --output - | head -c 100 >/dev/null; echo workbook ${PIPESTATUS[0]}
            "$@" --format txt | head -c 100 >/dev/null; echo text ${PIPESTATUS[0]}
            "$@" --format pdf | head -c 100 >/dev/null; echo pdf ${PIPESTATUS[0]}
            "$@" --format xlsx --output - >/dev/null; echo whole $?
            echo files $(ls -A "$TMPDIR" | wc -l))sh";
        const Run run = bash(script, QStringList{QString::fromStdString(temporary.path().string()),
                                                 QString::fromStdString(runtime.path().string()),
                                                 STOCKQUERY_EXPORT_PROGRAM, "stock"} +
                                         demoConnection());
        QCOMPARE(run.out, QByteArray("workbook 5\ntext 5\npdf 5\nwhole 0\nfiles 0\n"));
        const QByteArray brokenPipe("stockquery-export: cannot write to standard output: Broken "
                                    "pipe\n");
        QCOMPARE(run.err, brokenPipe + brokenPipe + brokenPipe);
    }

    void anInterruptEndsTheCommandWithinASecondWhateverItWaitsFor() {
        SettingsSandbox settings;
        const PasswordInEnvironment password;
        TdsServer silent(TdsServer::Responder{}, TdsServerOptions{.silent = true});
        const QStringList arguments{
            "stock",  "--server", QString::fromStdString(silent.address()), "--database", "erp",
            "--user", "reader"};
        // The log-in waits for a server that never answers: the first Ctrl+C or SIGTERM ends
        // the command within a second, a second Ctrl+C at once.
        for (const std::vector<int>& stops : {std::vector<int>{SIGINT}, std::vector<int>{SIGTERM},
                                              std::vector<int>{SIGINT, SIGINT}}) {
            QProcess process;
            const std::size_t connected = silent.accepted();
            process.start(STOCKQUERY_EXPORT_PROGRAM, arguments);
            QVERIFY(process.waitForStarted());
            // Waiting in the log-in, its signals are its own (before, SIGTERM would just kill it)
            QTRY_VERIFY(silent.accepted() > connected);
            QElapsedTimer clock;
            clock.start();
            for (const int signal : stops) {
                ::kill(static_cast<pid_t>(process.processId()), signal);
                QTest::qWait(100); // a signal sent while the last is pending would merge with it
            }
            // (waitForFinished is false for a process that ended while the test waited)
            QVERIFY(process.state() == QProcess::NotRunning || process.waitForFinished(5000));
            const qint64 took = clock.elapsed();
            QCOMPARE(process.exitCode(), 130);
            QVERIFY2(took < (stops.size() > 1 ? 500 : 1300), qPrintable(QString::number(took)));
            QCOMPARE(process.readAllStandardError(),
                     QByteArray("stockquery-export: interrupted\n")); // on standard output
        }
        qunsetenv("STOCKQUERY_PASSWORD");
    }

    void thePasswordPromptStaysAndCtrlCAtItEndsTheCommandWithTheEchoBack() {
        SettingsSandbox settings;
        // The command on a terminal of its own: the prompt is read, then Ctrl+C is typed.
        const QString script = R"py(
import os, pty, select, sys, termios, time
pid, terminal = pty.fork()
if pid == 0:
    os.execv(sys.argv[1], sys.argv[1:])
seen = b""
while b"password: " not in seen:
    seen += os.read(terminal, 1024)
time.sleep(1.2)  # progress would have overwritten the prompt by now
if select.select([terminal], [], [], 0)[0]:
    seen += os.read(terminal, 1024)
echo_off = not (termios.tcgetattr(terminal)[3] & termios.ECHO)
os.write(terminal, b"\x03")
start = time.time()
_, status = os.waitpid(pid, 0)
print("status", os.waitstatus_to_exitcode(status))
print("took", int((time.time() - start) * 1000))
print("silenced", int(echo_off))
print("echo", int(bool(termios.tcgetattr(terminal)[3] & termios.ECHO)))
print("progress", int(b"rows" in seen))
)py";
        const Run run = runProgram("python3", QStringList{"-c", script, STOCKQUERY_EXPORT_PROGRAM} +
                                                  onDemo({"stock"}));
        const Statuses status(run.out);
        QCOMPARE(status["status"], 130);
        QVERIFY2(status["took"] < 1300, qPrintable(QString::number(status["took"])));
        QCOMPARE(status["silenced"], 1);
        QCOMPARE(status["echo"], 1);
        QCOMPARE(status["progress"], 0);
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
