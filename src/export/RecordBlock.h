#pragma once

#include <cstdint>
#include <vector>

class ResultColumn;
class TableSnapshot;

// The values of the exported fields for a block of records in the grid's order, read ahead
// column by column. After a sort the rows lie scattered in memory; a short loop that only
// gathers lets the processor fetch many of them at once, where a walk cell by cell would wait
// for each in turn.
class RecordBlock {
public:
    // `fields` holds the result column of each exported column, or none for a column without.
    explicit RecordBlock(std::vector<const ResultColumn*> fields);

    // Holds the record at `position` of the query's row order, reading the block that starts
    // there when it is not held yet; returns the record's place in the block.
    std::size_t hold(const TableSnapshot& query, std::size_t position);

    const std::vector<const ResultColumn*>& fields() const { return fields_; }
    bool isNull(std::size_t column, std::size_t at) const { return nulls_[index(column, at)]; }
    // The value as ResultColumn::bits gives it.
    std::uint64_t bits(std::size_t column, std::size_t at) const {
        return values_[index(column, at)];
    }

private:
    static constexpr std::size_t kRows = 128;
    // How many records ahead of the one written its texts are fetched: enough to hide the
    // wait for memory, few enough that the fetches in flight do not stall the processor.
    static constexpr std::size_t kTextsAhead = 8;
    static std::size_t index(std::size_t column, std::size_t at) { return column * kRows + at; }
    void read(const TableSnapshot& query, std::size_t position);
    void prefetchTexts(std::size_t at) const;

    std::vector<const ResultColumn*> fields_;
    std::size_t start_ = 0;
    std::size_t size_ = 0;
    std::vector<std::uint32_t> rows_;
    std::vector<std::uint64_t> values_;
    std::vector<std::uint8_t> nulls_;
};
