#include "TDBGridExportAsCSV.h"

void TDBGridExportAsCSV::SeparateCell() {
    if (!takeFirstCell())
        write(QString(QChar(separator_)));
}

QString TDBGridExportAsCSV::value(const QString& text) const {
    QString quoted = TDBGridExportAsText::value(text);
    quoted.replace('"', QStringLiteral("\"\""));
    return '"' + quoted + '"';
}
