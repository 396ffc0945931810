#pragma once

#include "support/ProgramOutput.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <string>

// What a real reader makes of an exported file (tests/readers/read_back.py: openpyxl for
// "xlsx", Python's csv module for "csv"), as JSON; an empty object when it could not read it.
inline QJsonObject readBack(const char* kind, const std::string& file) {
    const std::optional<QByteArray> json = programOutput(
        "/usr/bin/python3", {QStringLiteral(STOCKQUERY_READERS "/read_back.py"),
                             QString::fromLatin1(kind), QString::fromStdString(file)});
    return json ? QJsonDocument::fromJson(*json).object() : QJsonObject();
}
