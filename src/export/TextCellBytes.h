#pragma once

#include "table/CellText.h"
#include "table/GridCopy.h"

#include <QString>

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

class RecordBlock;
class ResultColumn;

// How the text exports write cells: plain text in code page 936, tab-separated, a tab, CR or LF
// inside a value made one blank; CSV in UTF-8, comma-separated, a value quoted as RFC 4180
// asks when it holds a comma, a quote, CR or LF; or the clipboard's text: as the plain text,
// in UTF-8.
enum class TextCellStyle { Cp936Text, Utf8Csv, Utf8Text };

// Appends a value as RFC 4180 writes it: in double quotes with inner quotes doubled when it
// holds a comma, a quote, CR or LF, otherwise as it is.
void appendCsvField(std::string_view text, std::string& out);

// The bytes of record rows as the text exports write them, made fast for a million rows:
// texts straight from the result's UTF-8, numbers formatted straight to bytes, dates made once
// per value. Counts the cells that lost characters to "?" in code page 936.
class TextCellBytes {
public:
    TextCellBytes(const CellText& cellText, std::size_t columns,
                  TextCellStyle style = TextCellStyle::Cp936Text);

    // Appends the cells of the record at place `at` of `records`, separated.
    void appendRecord(const RecordBlock& records, std::size_t at, std::string& out);
    std::size_t replacedCells() const { return replacedCells_; }

private:
    // Appends the value of field `column` of the record at place `at` of `records`.
    void appendCell(const RecordBlock& records, std::size_t column, std::size_t at,
                    std::string& out);
    void appendText(std::string_view utf8, std::string& out);
    void appendNumber(std::string_view ascii, std::string& out) const;

    // Appends bytes that are already in the file's encoding, quoted for CSV where needed.
    void appendField(std::string_view bytes, std::string& out) const;
    std::string encoded(const QString& text) const;

    const CellText& cellText_;
    TextCellStyle style_;
    std::vector<std::unordered_map<std::int64_t, std::string>> dates_; // per column, by value
    std::string decimalPoint_;                                         // encoded
    bool plainPoint_;                                                  // decimalPoint_ is "."
    std::string scratch_;
    std::size_t replacedCells_ = 0;
};
