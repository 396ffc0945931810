#pragma once

#include "grid/CellText.h"
#include "grid/GridCopy.h"

#include <QString>

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

class RecordBlock;
class ResultColumn;

// The code page 936 bytes of record rows as the text export writes them, made fast for a
// million rows: texts converted straight from the result's UTF-8 (a tab, CR or LF inside a
// value as one blank, so that every row stays one line), numbers formatted straight to bytes,
// dates made once per value. Counts the cells that lost characters to "?".
class TextCellBytes {
public:
    TextCellBytes(const CellText& cellText, std::size_t columns);

    // Appends the cells of the record at place `at` of `records`, tab-separated.
    void appendRecord(const RecordBlock& records, std::size_t at, std::string& out);
    std::size_t replacedCells() const { return replacedCells_; }

private:
    void appendCell(std::size_t column, const ResultColumn& field, std::uint64_t bits,
                    std::string& out);
    void appendText(std::string_view utf8, std::string& out);
    void appendNumber(std::string ascii, std::string& out) const;

    const CellText& cellText_;
    std::vector<std::unordered_map<std::int64_t, std::string>> dates_; // per column, by value
    std::string decimalPoint_;                                         // in code page 936
    std::string scratch_;
    std::size_t replacedCells_ = 0;
};
