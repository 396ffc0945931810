#pragma once

#include "FieldKind.h"
#include "GrowingArray.h"

#include <atomic>
#include <bit>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One column of a fetched result, stored by kind: numbers and dates in one int64 or double
// vector, nulls in a bitmap, texts in one UTF-8 arena of length-prefixed entries with one
// offset per row. A text equal to one met recently shares its entry, which keeps the many
// repeated names and codes of an ERP result small. Rows are appended in the order the
// database returns them and never change afterwards; while one thread appends, others may read
// the rows its result set has published (nothing they read moves or changes).
class ResultColumn {
public:
    ResultColumn(std::string name, FieldKind kind);

    const std::string& name() const { return name_; }
    FieldKind kind() const { return kind_; }
    // Rows appended so far: the appending thread's count (readers go by the result set's).
    std::size_t size() const { return size_; }

    void appendNull();
    void appendText(std::string_view utf8);
    void appendInteger(std::int64_t value); // Integer, Decimal (ten-thousandths), DateTime
    void appendDouble(double value);

    // A null word may be read while the appending thread sets a later row's bit in it.
    bool isNull(std::size_t row) const {
        const std::uint64_t word = std::atomic_ref(const_cast<std::uint64_t&>(nulls_[row / 64]))
                                       .load(std::memory_order_relaxed);
        return (word >> (row % 64)) & 1U;
    }
    bool hasNulls() const {
        return std::atomic_ref(const_cast<bool&>(hasNulls_)).load(std::memory_order_relaxed);
    }
    std::string_view text(std::size_t row) const;
    // The arena entry of a row's text: rows with equal entries hold equal texts.
    std::uint32_t textEntry(std::size_t row) const { return textAt_[row]; }
    std::string_view entryText(std::uint32_t entry) const;
    std::int64_t integer(std::size_t row) const { return integers_[row]; }
    double real(std::size_t row) const { return doubles_[row]; }

    // The stored value as 64 bits: the text entry, the integer, or the double's bits.
    std::uint64_t bits(std::size_t row) const {
        return kind_ == FieldKind::Text     ? textAt_[row]
               : kind_ == FieldKind::Double ? std::bit_cast<std::uint64_t>(doubles_[row])
                                            : static_cast<std::uint64_t>(integers_[row]);
    }

    // The value as a floating number: decimals divided by 10000; 0 for text, dates and nulls.
    double asFloat(std::size_t row) const { return isNull(row) ? 0 : floatOf(kind_, bits(row)); }
    static double floatOf(FieldKind kind, std::uint64_t bits);

    // Bytes held, for memory figures.
    std::size_t memoryBytes() const;

private:
    void markRow(bool null);

    std::string name_;
    FieldKind kind_;
    std::size_t size_ = 0;
    bool hasNulls_ = false;
    GrowingArray<std::uint64_t> nulls_;
    GrowingArray<std::int64_t> integers_;
    GrowingArray<double> doubles_;
    std::uint32_t storeText(std::string_view utf8);

    GrowingArray<char> arena_;
    GrowingArray<std::uint32_t> textAt_;
    std::vector<std::uint32_t> recentTexts_; // entry offsets by hash; 0 for none
};
