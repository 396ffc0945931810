#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

class ResultColumn;
class TableSnapshot;

// The values of the exported fields for a block of records in the grid's order, with their
// texts side by side. After a sort the rows lie scattered in memory and gathering them costs
// as much as writing them: while one block is written, a thread of its own gathers the next,
// texts and all, so that the writer reads only what lies together.
class RecordBlock {
public:
    // `fields` holds the result column of each exported column, or none for a column without.
    explicit RecordBlock(std::vector<const ResultColumn*> fields);
    ~RecordBlock();
    RecordBlock(const RecordBlock&) = delete;
    RecordBlock& operator=(const RecordBlock&) = delete;

    // Holds the record at `position` of the query's row order, reading the block that starts
    // there when it is not held yet; returns the record's place in the block. Every call
    // passes the same query, which stays unchanged while the block lives.
    std::size_t hold(const TableSnapshot& query, std::size_t position);

    const std::vector<const ResultColumn*>& fields() const { return fields_; }
    bool isNull(std::size_t column, std::size_t at) const { return held_.nulls[index(column, at)]; }
    // The value as ResultColumn::bits gives it.
    std::uint64_t bits(std::size_t column, std::size_t at) const {
        return held_.values[index(column, at)];
    }
    // A text field's value, as ResultColumn::entryText gives it.
    std::string_view text(std::size_t column, std::size_t at) const;

private:
    static constexpr std::size_t kRows = 512;
    static std::size_t index(std::size_t column, std::size_t at) { return column * kRows + at; }

    struct Block {
        std::size_t start = 0;
        std::size_t size = 0;
        std::vector<std::uint32_t> rows;
        std::vector<std::uint64_t> values;
        std::vector<std::uint8_t> nulls;
        std::string texts;                   // every text value, one after the other
        std::vector<std::uint32_t> textEnds; // where each value's text ends in `texts`
    };
    void gather(Block& block, const TableSnapshot& query, std::size_t position) const;
    void gatherAhead();
    enum class State { Idle, Asked, Gathered, Ending };
    // Waits while the helper gathers; returns the state it left.
    State waitForAhead();
    void setState(State state);

    std::vector<const ResultColumn*> fields_;
    Block held_;
    Block ahead_; // the helper's while asked
    const TableSnapshot* query_ = nullptr;
    // The helper's turn: asked to gather ahead_, then done with it; ending when the block goes.
    std::mutex mutex_;
    std::condition_variable changed_;
    std::atomic<State> state_ = State::Idle; // changed under the lock; looked at without it
    static constexpr int kSpins = 200;
    std::thread helper_;
};
