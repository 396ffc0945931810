// stockquery-export: the current stock or the journal written to a file without a window.
#include "cli/ExportArguments.h"
#include "cli/ExportRun.h"
#include "cli/ExportSignals.h"

#include <QApplication>

#include <iostream>

int main(int argc, char** argv) {
    blockStopSignals(); // before any thread starts, so that only the watcher gets them
    std::vector<std::string> arguments(argv + 1, argv + argc);
    ExportRequest request;
    try {
        request = parseExportArguments(arguments);
    } catch (const ArgumentError& error) {
        std::cerr << "stockquery-export: " << error.what() << "\n" << exportUsage();
        return kBadArguments;
    }
    // The grid lays the columns out with its fonts, as in the window; nothing is shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Standard error carries the command's own lines alone, not Qt's notes on its platform.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::cerr << message.toStdString() << '\n';
    });
    int qtArguments = 1;
    QApplication application(qtArguments, argv);
    return runExport(request, std::cout, std::cerr);
}
