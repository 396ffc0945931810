#include "TDBGridExportAsUtf8CSV.h"

void TDBGridExportAsUtf8CSV::BeginDocument() {
    writeBytes(QByteArrayLiteral("\xEF\xBB\xBF"));
}

void TDBGridExportAsUtf8CSV::SeparateCell() {
    if (!takeFirstCell())
        write(QStringLiteral(","));
}

QString TDBGridExportAsUtf8CSV::value(const QString& text) const {
    std::string field;
    appendCsvField(text.toStdString(), field);
    return QString::fromStdString(field);
}
