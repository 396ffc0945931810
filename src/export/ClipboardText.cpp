#include "ClipboardText.h"

#include "RecordBlock.h"
#include "TextCellBytes.h"
#include "db/WorkControl.h"
#include "table/TableSnapshot.h"

namespace {
constexpr std::size_t kRowsBetweenStopChecks = 4096;
}

// Made as the text export makes its bytes, in UTF-8, and turned into a QString once.
QString copiedText(const TableSnapshot& table, const CopiedRows& copied,
                   const WorkControl& control) {
    std::string out;
    for (std::size_t i = 0; i < copied.titles.size(); ++i) {
        if (i > 0)
            out += '\t';
        out += withoutRowBreaks(copied.titles[i]).toStdString();
    }
    if (!copied.titles.empty())
        out += '\n';
    std::vector<const ResultColumn*> fields;
    for (const auto& column : copied.columns)
        fields.push_back(column ? &table.result().column(*column) : nullptr);
    const TableSnapshot rows = table.only(copied.rows);
    const CellText cellText;
    TextCellBytes cells(cellText, fields.size(), TextCellStyle::Utf8Text);
    RecordBlock records(std::move(fields));
    for (std::size_t position = 0; position < rows.rowCount(); ++position) {
        if (position % kRowsBetweenStopChecks == 0)
            control.throwIfCancelled();
        cells.appendRecord(records, records.hold(rows, position), out);
        out += '\n';
    }
    return QString::fromStdString(out);
}
