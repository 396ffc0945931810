#include "GridCopy.h"

#include "CellText.h"
#include "TableSnapshot.h"
#include "db/WorkControl.h"

#include <algorithm>
#include <numeric>

namespace {

constexpr int kRowsBetweenStopChecks = 4096;

void appendLine(QString& out, const std::vector<QString>& cells) {
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0)
            out += u'\t';
        out += withoutRowBreaks(cells[i]);
    }
    out += u'\n';
}

} // namespace

QString withoutRowBreaks(QString text) {
    const auto breaksRows = [](QChar c) { return breaksTextRows(c.unicode()); };
    if (std::any_of(text.cbegin(), text.cend(), breaksRows))
        std::replace_if(text.begin(), text.end(), breaksRows, QChar(u' '));
    return text;
}

QString tabSeparatedRows(const std::vector<int>& columns, const std::vector<int>& rows,
                         const std::function<QString(int row, int column)>& cell,
                         const std::vector<QString>& titles) {
    QString out;
    if (!titles.empty())
        appendLine(out, titles);
    std::vector<QString> cells(columns.size());
    for (const int row : rows) {
        for (std::size_t i = 0; i < columns.size(); ++i)
            cells[i] = cell(row, columns[i]);
        appendLine(out, cells);
    }
    return out;
}

QString copiedText(const TableSnapshot& table, const CopiedRows& copied,
                   const WorkControl& control) {
    const CellText cellText;
    std::vector<int> columns(copied.columns.size());
    std::iota(columns.begin(), columns.end(), 0);
    return tabSeparatedRows(
        columns, copied.rows,
        [&](int row, int column) {
            if (column == 0 && row % kRowsBetweenStopChecks == 0)
                control.throwIfCancelled();
            const auto& source = copied.columns[static_cast<std::size_t>(column)];
            return source ? cellText(table.result().column(*source),
                                     table.rowAt(static_cast<std::size_t>(row)))
                          : QString();
        },
        copied.titles);
}
