#include "GridCopy.h"

#include <algorithm>

namespace {

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
