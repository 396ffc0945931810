#include "TableFind.h"

namespace {

// Whether a needle could be part of a number as cells show them.
bool mayBeInNumbers(const QString& needle, const QString& decimalPoint) {
    for (const QChar c : needle)
        if (!c.isDigit() && c != '-' && c != 'e' && c != 'E' && c != '+' &&
            QString(c) != decimalPoint)
            return false;
    return true;
}

} // namespace

TableFind::TableFind(QString needle, std::vector<std::size_t> resultColumns)
    : needle_(std::move(needle)), columns_(std::move(resultColumns)),
      mayBeInNumbers_(mayBeInNumbers(needle_, text_.decimalPoint())), textHits_(columns_.size()) {}

bool TableFind::matches(const QString& shown) const {
    return !needle_.isEmpty() && shown.contains(needle_, Qt::CaseInsensitive);
}

bool TableFind::cellMatches(const ResultColumn& column, std::size_t index, std::size_t row) {
    if (column.isNull(row))
        return false;
    if (column.kind() == FieldKind::DateTime)
        return matches(text_(column, row));
    if (column.kind() != FieldKind::Text)
        return mayBeInNumbers_ && matches(text_(column, row));
    const auto [known, added] = textHits_[index].try_emplace(column.textEntry(row), false);
    if (added)
        known->second = matches(text_(column, row));
    return known->second;
}
