#include "TextCellBytes.h"

#include "ByteScan.h"
#include "Cp936.h"
#include "RecordBlock.h"
#include "result/ResultColumn.h"

#include <algorithm>
#include <bit>

void appendCsvField(std::string_view text, std::string& out) {
    if (!holdsAnyByte<',', '"', '\r', '\n'>(text)) {
        out += text;
        return;
    }
    out += '"';
    for (const char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

TextCellBytes::TextCellBytes(const CellText& cellText, std::size_t columns, TextCellStyle style)
    : cellText_(cellText), style_(style), dates_(columns),
      decimalPoint_(encoded(cellText.decimalPoint())), plainPoint_(decimalPoint_ == ".") {}

std::string TextCellBytes::encoded(const QString& text) const {
    return style_ == TextCellStyle::Cp936Text ? toCp936(text).toStdString() : text.toStdString();
}

void TextCellBytes::appendField(std::string_view bytes, std::string& out) const {
    if (style_ == TextCellStyle::Utf8Csv)
        appendCsvField(bytes, out);
    else
        out += bytes;
}

void TextCellBytes::appendRecord(const RecordBlock& records, std::size_t at, std::string& out) {
    const std::vector<const ResultColumn*>& fields = records.fields();
    for (std::size_t j = 0; j < fields.size(); ++j) {
        if (j > 0)
            out += style_ == TextCellStyle::Utf8Csv ? ',' : '\t';
        if (fields[j] && !records.isNull(j, at))
            appendCell(records, j, at, out);
    }
}

void TextCellBytes::appendText(std::string_view utf8, std::string& out) {
    if (style_ == TextCellStyle::Utf8Csv)
        return appendField(utf8, out); // rows kept apart by the quotes
    if (holdsAnyByte<'\t', '\r', '\n'>(utf8)) {
        scratch_.assign(utf8);
        std::replace_if(scratch_.begin(), scratch_.end(), breaksTextRows, ' ');
        utf8 = scratch_;
    }
    if (style_ == TextCellStyle::Utf8Text)
        out += utf8;
    else if (!appendCp936FromUtf8(utf8, out))
        ++replacedCells_;
}

void TextCellBytes::appendNumber(std::string_view ascii, std::string& out) const {
    if (plainPoint_) {
        out += ascii; // nothing in it to quote
        return;
    }
    std::string local(ascii);
    if (const std::size_t point = local.find('.'); point != std::string::npos)
        local.replace(point, 1, decimalPoint_);
    appendField(local, out); // a decimal comma is quoted in CSV
}

void TextCellBytes::appendCell(const RecordBlock& records, std::size_t column, std::size_t at,
                               std::string& out) {
    const std::uint64_t bits = records.bits(column, at);
    const auto integer = static_cast<std::int64_t>(bits);
    switch (records.fields()[column]->kind()) {
    case FieldKind::Text:
        appendText(records.text(column, at), out);
        return;
    case FieldKind::Decimal: {
        char digits[CellText::kDecimalAsciiSize];
        const char* end = CellText::writeDecimalAscii(integer, digits);
        appendNumber(std::string_view(digits, static_cast<std::size_t>(end - digits)), out);
        return;
    }
    case FieldKind::Double:
        appendNumber(CellText::realAscii(std::bit_cast<double>(bits)), out);
        return;
    case FieldKind::Integer:
        out += std::to_string(integer);
        return;
    case FieldKind::DateTime: {
        auto& made = dates_[column];
        auto found = made.find(integer);
        if (found == made.end())
            found = made.emplace(integer, encoded(cellText_.dateTime(integer))).first;
        appendField(found->second, out);
        return;
    }
    }
}
