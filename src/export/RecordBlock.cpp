#include "RecordBlock.h"

#include "result/ResultColumn.h"
#include "table/TableSnapshot.h"

#include <algorithm>

RecordBlock::RecordBlock(std::vector<const ResultColumn*> fields) : fields_(std::move(fields)) {
    for (Block* block : {&held_, &ahead_}) {
        block->rows.resize(kRows);
        block->values.resize(fields_.size() * kRows);
        block->nulls.resize(fields_.size() * kRows);
        block->textEnds.resize(fields_.size() * kRows);
    }
}

RecordBlock::~RecordBlock() {
    if (!helper_.joinable())
        return;
    waitForAhead();
    setState(State::Ending);
    helper_.join();
}

std::string_view RecordBlock::text(std::size_t column, std::size_t at) const {
    const std::size_t i = index(column, at);
    const std::uint32_t begin = i == 0 ? 0 : held_.textEnds[i - 1];
    return std::string_view(held_.texts).substr(begin, held_.textEnds[i] - begin);
}

std::size_t RecordBlock::hold(const TableSnapshot& query, std::size_t position) {
    if (position >= held_.start && position < held_.start + held_.size)
        return position - held_.start;
    if (waitForAhead() == State::Gathered && ahead_.start == position)
        std::swap(held_, ahead_);
    else
        gather(held_, query, position);
    // The next block is gathered while this one is written.
    if (const std::size_t next = held_.start + held_.size; next < query.rowCount()) {
        query_ = &query;
        ahead_.start = next;
        if (!helper_.joinable())
            helper_ = std::thread([this] { gatherAhead(); });
        setState(State::Asked);
    } else {
        setState(State::Idle);
    }
    return position - held_.start;
}

RecordBlock::State RecordBlock::waitForAhead() {
    // The helper is seldom far behind: a short spin spares the sleep and the wake-up, which
    // would cost more than a block's gathering.
    for (int spin = 0; spin < kSpins && state_.load(std::memory_order_acquire) == State::Asked;
         ++spin)
        std::this_thread::yield();
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return state_ != State::Asked; });
    return state_.load(std::memory_order_relaxed);
}

void RecordBlock::setState(State state) {
    {
        const std::lock_guard lock(mutex_);
        state_.store(state, std::memory_order_release);
    }
    changed_.notify_all();
}

void RecordBlock::gatherAhead() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return state_ == State::Asked || state_ == State::Ending; });
        if (state_ == State::Ending)
            return;
        lock.unlock();
        gather(ahead_, *query_, ahead_.start);
        lock.lock();
        state_.store(State::Gathered, std::memory_order_release);
        changed_.notify_all();
    }
}

void RecordBlock::gather(Block& block, const TableSnapshot& query, std::size_t position) const {
    block.start = position;
    const std::size_t size = std::min(kRows, query.rowCount() - position);
    block.size = size;
    for (std::size_t k = 0; k < size; ++k)
        block.rows[k] = static_cast<std::uint32_t>(query.rowAt(position + k));
    // Each column's values in a short loop that only gathers, so that the processor fetches
    // many at once where a walk cell by cell would wait for each in turn.
    for (std::size_t j = 0; j < fields_.size(); ++j) {
        const ResultColumn* field = fields_[j];
        if (!field)
            continue;
        std::uint64_t* values = block.values.data() + index(j, 0);
        std::uint8_t* nulls = block.nulls.data() + index(j, 0);
        const bool mayBeNull = field->hasNulls();
        for (std::size_t k = 0; k < size; ++k)
            nulls[k] = mayBeNull && field->isNull(block.rows[k]);
        for (std::size_t k = 0; k < size; ++k)
            values[k] = field->bits(block.rows[k]);
    }
    block.texts.clear();
    for (std::size_t j = 0; j < fields_.size(); ++j) {
        const bool text = fields_[j] && fields_[j]->kind() == FieldKind::Text;
        for (std::size_t k = 0; k < kRows; ++k) {
            if (text && k < size)
                block.texts +=
                    fields_[j]->entryText(static_cast<std::uint32_t>(block.values[index(j, k)]));
            block.textEnds[index(j, k)] = static_cast<std::uint32_t>(block.texts.size());
        }
    }
}
