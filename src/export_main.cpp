// stockquery-export: the current stock or the journal written to a file without a window.
#include "cli/Console.h"
#include "cli/ExportArguments.h"
#include "cli/ExportRun.h"
#include "cli/ExportSignals.h"
#include "platform/CommandLine.h"

#include <QGuiApplication>

#include <iostream>

int main(int argc, char** argv) {
    blockStopSignals(); // before any thread starts, so that only the watcher gets them
    consoleTakesWideText();
    const std::vector<std::string> arguments = commandArguments(argc, argv);
    ExportRequest request;
    try {
        request = parseExportArguments(arguments);
    } catch (const ArgumentError& error) {
        std::cerr << "stockquery-export: " << error.what() << " (--help shows the usage)\n";
        return kBadArguments;
    }
    // The columns are laid out with the grids' fonts, as in the window, so fonts and their
    // metrics need a platform; no window is made (on Windows the platform's own plugin).
#ifndef _WIN32
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    // Standard error carries the command's own lines alone, not Qt's notes on its platform.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::cerr << message.toStdString() << '\n';
    });
    binaryStandardOutput();
    int qtArguments = 1;
    QGuiApplication application(qtArguments, argv);
    return runExport(request, std::cerr);
}
