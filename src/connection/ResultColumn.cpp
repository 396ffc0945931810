#include "ResultColumn.h"

#include "DbError.h"
#include "FixedPoint.h"

#include <limits>

ResultColumn::ResultColumn(std::string name, FieldKind kind)
    : name_(std::move(name)), kind_(kind) {}

void ResultColumn::reserve(std::size_t rows) {
    nulls_.reserve((rows + 63) / 64);
    if (kind_ == FieldKind::Text)
        textEnds_.reserve(rows);
    else if (kind_ == FieldKind::Double)
        doubles_.reserve(rows);
    else
        integers_.reserve(rows);
}

void ResultColumn::markRow(bool null) {
    if (size_ % 64 == 0)
        nulls_.push_back(0);
    if (null)
        nulls_.back() |= std::uint64_t{1} << (size_ % 64);
    ++size_;
}

void ResultColumn::appendNull() {
    if (kind_ == FieldKind::Text)
        textEnds_.push_back(static_cast<std::uint32_t>(arena_.size()));
    else if (kind_ == FieldKind::Double)
        doubles_.push_back(0);
    else
        integers_.push_back(0);
    markRow(true);
}

void ResultColumn::appendText(std::string_view utf8) {
    if (arena_.size() + utf8.size() > std::numeric_limits<std::uint32_t>::max())
        throw DbError("result column " + name_ + " holds more than 4 GiB of text");
    arena_.append(utf8);
    textEnds_.push_back(static_cast<std::uint32_t>(arena_.size()));
    markRow(false);
}

void ResultColumn::appendInteger(std::int64_t value) {
    integers_.push_back(value);
    markRow(false);
}

void ResultColumn::appendDouble(double value) {
    doubles_.push_back(value);
    markRow(false);
}

std::string_view ResultColumn::text(std::size_t row) const {
    const std::uint32_t begin = row == 0 ? 0 : textEnds_[row - 1];
    return std::string_view(arena_).substr(begin, textEnds_[row] - begin);
}

double ResultColumn::asFloat(std::size_t row) const {
    if (isNull(row))
        return 0;
    switch (kind_) {
    case FieldKind::Decimal:
        return static_cast<double>(integers_[row]) / static_cast<double>(kTenThousand);
    case FieldKind::Integer:
        return static_cast<double>(integers_[row]);
    case FieldKind::Double:
        return doubles_[row];
    case FieldKind::Text:
    case FieldKind::DateTime:
        break;
    }
    return 0;
}

std::size_t ResultColumn::memoryBytes() const {
    return nulls_.capacity() * sizeof(std::uint64_t) + integers_.capacity() * sizeof(std::int64_t) +
           doubles_.capacity() * sizeof(double) + arena_.capacity() +
           textEnds_.capacity() * sizeof(std::uint32_t);
}
