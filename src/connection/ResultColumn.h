#pragma once

#include "FieldKind.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One column of a fetched result, stored by kind: numbers and dates in one int64 or double
// vector, nulls in a bitmap, texts in one UTF-8 arena of length-prefixed entries with one
// offset per row. A text equal to one met recently shares its entry, which keeps the many
// repeated names and codes of an ERP result small. Rows are appended in the order the
// database returns them and never change afterwards.
class ResultColumn {
public:
    ResultColumn(std::string name, FieldKind kind);

    const std::string& name() const { return name_; }
    FieldKind kind() const { return kind_; }
    std::size_t size() const { return size_; }

    void appendNull();
    void appendText(std::string_view utf8);
    void appendInteger(std::int64_t value); // Integer, Decimal (ten-thousandths), DateTime
    void appendDouble(double value);

    bool isNull(std::size_t row) const { return (nulls_[row / 64] >> (row % 64)) & 1U; }
    std::string_view text(std::size_t row) const;
    // The arena entry of a row's text: rows with equal entries hold equal texts.
    std::uint32_t textEntry(std::size_t row) const { return textAt_[row]; }
    std::string_view entryText(std::uint32_t entry) const;
    std::int64_t integer(std::size_t row) const { return integers_[row]; }
    double real(std::size_t row) const { return doubles_[row]; }

    // The value as a floating number: decimals divided by 10000; 0 for text, dates and nulls.
    double asFloat(std::size_t row) const;

    // Bytes held, for memory figures.
    std::size_t memoryBytes() const;

private:
    void markRow(bool null);

    std::string name_;
    FieldKind kind_;
    std::size_t size_ = 0;
    std::vector<std::uint64_t> nulls_;
    std::vector<std::int64_t> integers_;
    std::vector<double> doubles_;
    std::uint32_t storeText(std::string_view utf8);

    std::string arena_;
    std::vector<std::uint32_t> textAt_;
    std::vector<std::uint32_t> recentTexts_; // entry offsets by hash; 0 for none
};
