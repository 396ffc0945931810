#include "RecordBlock.h"

#include "result/ResultColumn.h"
#include "table/TableSnapshot.h"

#include <algorithm>

RecordBlock::RecordBlock(std::vector<const ResultColumn*> fields)
    : fields_(std::move(fields)), rows_(kRows), values_(fields_.size() * kRows),
      nulls_(fields_.size() * kRows) {}

std::size_t RecordBlock::hold(const TableSnapshot& query, std::size_t position) {
    if (position < start_ || position >= start_ + size_)
        read(query, position);
    // The record one block ahead is fetched a little at a time while this block is written,
    // so that reading its block seldom waits; so are the texts of a record a little ahead.
    if (const std::size_t ahead = position + kRows; ahead < query.rowCount())
        for (const ResultColumn* field : fields_)
            if (field)
                field->prefetchRow(query.rowAt(ahead));
    const std::size_t at = position - start_;
    if (at + kTextsAhead < size_)
        prefetchTexts(at + kTextsAhead);
    return at;
}

void RecordBlock::prefetchTexts(std::size_t at) const {
    for (std::size_t j = 0; j < fields_.size(); ++j)
        if (fields_[j] && fields_[j]->kind() == FieldKind::Text)
            fields_[j]->prefetchEntry(static_cast<std::uint32_t>(values_[index(j, at)]));
}

void RecordBlock::read(const TableSnapshot& query, std::size_t position) {
    start_ = position;
    const std::size_t size = std::min(kRows, query.rowCount() - position);
    size_ = size;
    for (std::size_t k = 0; k < size; ++k)
        rows_[k] = static_cast<std::uint32_t>(query.rowAt(position + k));
    for (std::size_t j = 0; j < fields_.size(); ++j) {
        const ResultColumn* field = fields_[j];
        if (!field)
            continue;
        std::uint64_t* values = values_.data() + index(j, 0);
        std::uint8_t* nulls = nulls_.data() + index(j, 0);
        const bool mayBeNull = field->hasNulls();
        for (std::size_t k = 0; k < size; ++k)
            nulls[k] = mayBeNull && field->isNull(rows_[k]);
        for (std::size_t k = 0; k < size; ++k)
            values[k] = field->bits(rows_[k]);
    }
    // The first records' texts are fetched once every column's values have been asked for, so
    // that no gathering waits for them; the rest as the records before them are written.
    for (std::size_t k = 0; k < std::min(kTextsAhead, size); ++k)
        prefetchTexts(k);
}
