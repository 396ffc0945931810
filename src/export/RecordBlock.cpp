#include "RecordBlock.h"

#include "connection/ResultColumn.h"
#include "connection/ResultQuery.h"

#include <algorithm>

RecordBlock::RecordBlock(std::vector<const ResultColumn*> fields)
    : fields_(std::move(fields)), rows_(kRows), values_(fields_.size() * kRows),
      nulls_(fields_.size() * kRows) {}

std::size_t RecordBlock::hold(const ResultQuery& query, std::size_t position) {
    if (position < start_ || position >= start_ + size_)
        read(query, position);
    return position - start_;
}

void RecordBlock::read(const ResultQuery& query, std::size_t position) {
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
        if (field->kind() == FieldKind::Text)
            for (std::size_t k = 0; k < size; ++k)
                field->prefetchEntry(static_cast<std::uint32_t>(values[k]));
    }
}
