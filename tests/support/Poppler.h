#pragma once

#include "support/ProgramOutput.h"

#include <QRectF>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

// What a poppler tool (pdftotext, pdfinfo) prints for a file; empty when it fails.
inline QString popplerOutput(const QString& tool, const QStringList& arguments) {
    return QString::fromUtf8(programOutput(tool, arguments).value_or(QByteArray()));
}

// A PDF's text page by page, as pdftotext gives it; with `asLaidOut`, line by line as the
// page shows it (a table's row on one line).
inline QStringList pdfPageTexts(const QString& path, bool asLaidOut = false) {
    const QStringList layout = asLaidOut ? QStringList{"-layout"} : QStringList{};
    return popplerOutput("pdftotext", layout + QStringList{path, "-"}).split('\f');
}

// Text without its blanks: pdftotext puts them where the layout has gaps.
inline QString withoutBlanks(QString text) {
    return text.remove(QRegularExpression("\\s"));
}

// Where the first word of a PDF that matches `word` stands, in points from the top left of its
// page; empty when none does.
inline QRectF pdfWordBox(const QString& path, const QRegularExpression& word) {
    const QRegularExpression box(
        "<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">"
        "([^<]*)</word>");
    const QString boxes = popplerOutput("pdftotext", {"-bbox", path, "-"});
    for (const QRegularExpressionMatch& found : box.globalMatch(boxes))
        if (word.match(found.captured(5)).hasMatch())
            return QRectF(QPointF(found.captured(1).toDouble(), found.captured(2).toDouble()),
                          QPointF(found.captured(3).toDouble(), found.captured(4).toDouble()));
    return {};
}
