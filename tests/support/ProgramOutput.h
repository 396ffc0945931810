#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <optional>

// What a program prints on its standard output; nothing when it did not run or failed.
inline std::optional<QByteArray> programOutput(const QString& program,
                                               const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return std::nullopt;
    return process.readAllStandardOutput();
}

// A workbook's members but docProps/core.xml, which holds the moment it was made (the zip's
// own headers hold times too, so two writes a second apart differ in their bytes).
inline std::optional<QByteArray> workbookWithoutItsTime(const QString& file) {
    return programOutput("unzip", {"-p", file, "-x", "docProps/core.xml"});
}
