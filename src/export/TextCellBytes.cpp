#include "TextCellBytes.h"

#include "Cp936.h"
#include "connection/ResultColumn.h"

#include <algorithm>

TextCellBytes::TextCellBytes(const CellText& cellText, std::size_t columns)
    : cellText_(cellText), dates_(columns),
      decimalPoint_(toCp936(cellText.decimalPoint()).toStdString()) {}

void TextCellBytes::appendText(std::string_view utf8, std::string& out) {
    if (std::any_of(utf8.begin(), utf8.end(), [](char c) { return breaksTextRows(c); })) {
        scratch_.assign(utf8);
        std::replace_if(scratch_.begin(), scratch_.end(), breaksTextRows, ' ');
        utf8 = scratch_;
    }
    if (!appendCp936FromUtf8(utf8, out))
        ++replacedCells_;
}

void TextCellBytes::appendNumber(std::string ascii, std::string& out) const {
    if (decimalPoint_ != ".")
        if (const std::size_t point = ascii.find('.'); point != std::string::npos)
            ascii.replace(point, 1, decimalPoint_);
    out += ascii;
}

void TextCellBytes::append(std::size_t column, const ResultColumn& field, std::size_t row,
                           std::string& out) {
    if (field.isNull(row))
        return;
    switch (field.kind()) {
    case FieldKind::Text:
        appendText(field.text(row), out);
        return;
    case FieldKind::Decimal:
        appendNumber(CellText::decimalAscii(field.integer(row)), out);
        return;
    case FieldKind::Double:
        appendNumber(CellText::realAscii(field.real(row)), out);
        return;
    case FieldKind::Integer:
        out += std::to_string(field.integer(row));
        return;
    case FieldKind::DateTime: {
        auto& made = dates_[column];
        const std::int64_t value = field.integer(row);
        auto found = made.find(value);
        if (found == made.end())
            found = made.emplace(value, toCp936(cellText_.dateTime(value)).toStdString()).first;
        out += found->second;
        return;
    }
    }
}
