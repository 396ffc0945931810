#pragma once

#include "app/Tfrm_crquery.h"
#include "app/Tfrm_stockcard.h"
#include "app/Tfrm_summary.h"
#include "app/Tfrm_xclquery.h"
#include "export/ExportFileTypes.h"
#include "forms/ChartWindow.h"
#include "forms/ExportCommand.h"
#include "forms/Tfrm_link.h"
#include "grid/FindBar.h"
#include "grid/ResultGrid.h"
#include "support/ProgramOutput.h"
#include "support/WhenOpen.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QRegularExpression>

#include <array>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <map>
#include <string>
#include <unistd.h>

// A stock keeper's day in the main window, cycle after cycle: the current stock with other
// criteria each time, a sort, a filter set and cleared, a find, a copy, the grid in every
// format and its charts; the journal, the summary and a card queried; 连接 to the same
// database again. What the process holds is sampled between cycles.
class SoakDay {
public:
    // What the process holds, read from /proc.
    struct Holding {
        double residentMegabytes = 0;
        double heapMegabytes = 0; // what malloc has given out and not had back
        int descriptors = 0;
        int threads = 0;
    };

    // `names`: the four 存货名称 criteria that the cycles take in turn.
    SoakDay(Tfrm_xclquery& main, std::string folder, std::array<QString, 4> names)
        : main_(main), folder_(std::move(folder)), names_(std::move(names)) {}

    // One cycle; the exports of cycle n are compared with those of the second round's cycle
    // of the same criteria and sort (they repeat every four cycles; in the first round a
    // column still widens to the widest sum its footer has shown, and keeps that width).
    // Returns the formats whose file differed.
    std::vector<std::string> cycle(int n) {
        main_.edt_name->setText(names_[static_cast<std::size_t>(n % 4)]);
        runAndWait(main_);
        ResultGrid& grid = *main_.grid();
        grid.sortByTitle(n % 4);
        main_.work().waitUntilDone();
        if (grid.query().rowCount() > 0) {
            grid.setColumnFilter(grid.cellFilter(0, 0, ResultGrid::CellFilter::Equal));
            main_.work().waitUntilDone();
            grid.removeColumnFilter(grid.columns()[0].field);
            main_.work().waitUntilDone();
        }
        grid.findBar()->open();
        grid.findBar()->edit()->setText("库");
        grid.findBar()->findNext(true);
        main_.work().waitUntilDone();
        grid.findBar()->close();
        grid.copyToClipboard(true);
        main_.work().waitUntilDone();
        std::vector<std::string> differing;
        for (const ExportFileType& type : exportFileTypes()) {
            const std::string path = folder_ + "/day." + type.name;
            RunGridExport(main_.work(), type.writer, grid, QString::fromStdString(path), true,
                          [](std::size_t) {});
            main_.work().waitUntilDone();
            const QByteArray bytes = digestOf(path, type.name);
            if (bytes.isEmpty())
                differing.push_back(type.name + " (unreadable)");
            if (n <= 4)
                continue;
            auto [first, made] =
                firstExports_.try_emplace(std::to_string(n % 4) + type.name, bytes);
            if (!made && first->second != bytes)
                differing.push_back(type.name);
        }
        openAndCloseCharts(main_);
        {
            Tfrm_crquery journal(main_.ado_conn);
            journal.FormShow();
            runAndWait(journal);
            openAndCloseCharts(journal);
        }
        {
            Tfrm_summary summary(main_.ado_conn);
            summary.FormShow();
            runAndWait(summary);
        }
        {
            Tfrm_stockcard card(main_.ado_conn);
            card.edt_whcode->setText("12");
            card.edt_code->setText("0002091");
            card.show();
            runAndWait(card);
        }
        whenOpen<Tfrm_link>([&] { main_.ToolButton2Click(); },
                            [](Tfrm_link& link) { link.accept(); });
        main_.work().waitUntilDone();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
        return differing;
    }

    static Holding holding() {
        Holding now;
        std::ifstream statm("/proc/self/statm");
        long pages = 0;
        long resident = 0;
        statm >> pages >> resident;
        now.residentMegabytes = static_cast<double>(resident) *
                                static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
        now.heapMegabytes = static_cast<double>(mallinfo2().uordblks) / (1024.0 * 1024.0);
        for ([[maybe_unused]] const auto& entry :
             std::filesystem::directory_iterator("/proc/self/fd"))
            ++now.descriptors;
        for ([[maybe_unused]] const auto& entry :
             std::filesystem::directory_iterator("/proc/self/task"))
            ++now.threads;
        return now;
    }

private:
    // The file's SHA-256, all but the moment it was made: a workbook's members but
    // docProps/core.xml (the zip's headers hold times too), a PDF's text as pdftotext reads it
    // with the time each page was printed at masked (its bytes hold that time compressed).
    static QByteArray digestOf(const std::string& path, const std::string& format) {
        const QString file = QString::fromStdString(path);
        std::optional<QByteArray> content;
        if (format == "xlsx") {
            content = workbookWithoutItsTime(file);
        } else if (format == "pdf") {
            static const QRegularExpression printedAt(R"(\d{4}-\d\d-\d\d \d\d:\d\d)");
            content = programOutput("pdftotext", {"-layout", file, "-"});
            if (content)
                content =
                    QString::fromUtf8(*content).replace(printedAt, "yyyy-mm-dd hh:mm").toUtf8();
        } else {
            QFile in(file);
            if (in.open(QIODevice::ReadOnly))
                content = in.readAll();
        }
        return content ? QCryptographicHash::hash(*content, QCryptographicHash::Sha256)
                       : QByteArray();
    }

    static void runAndWait(QueryWindowFrame& window) {
        window.RunQuery();
        window.work().waitUntilDone();
        QApplication::processEvents();
    }

    static void openAndCloseCharts(QueryWindowFrame& window) {
        window.ShowCharts();
        window.work().waitUntilDone();
        QApplication::processEvents();
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* charts = qobject_cast<ChartWindow*>(top); charts && charts->isVisible())
                charts->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
    }

    Tfrm_xclquery& main_;
    std::string folder_;
    std::array<QString, 4> names_;
    std::map<std::string, QByteArray> firstExports_; // digests
};
