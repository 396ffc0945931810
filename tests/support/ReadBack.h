#pragma once

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>

#include <string>

// What a real reader makes of an exported file (tests/readers/read_back.py: openpyxl for
// "xlsx", Python's csv module for "csv"), as JSON; an empty object when it could not read it.
inline QJsonObject readBack(const char* kind, const std::string& file) {
    QProcess reader;
    reader.start("/usr/bin/python3", {QStringLiteral(STOCKQUERY_READERS "/read_back.py"),
                                      QString::fromLatin1(kind), QString::fromStdString(file)});
    if (!reader.waitForFinished(60000) || reader.exitCode() != 0)
        return {};
    return QJsonDocument::fromJson(reader.readAllStandardOutput()).object();
}
