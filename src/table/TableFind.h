#pragma once

#include "CellText.h"
#include "db/WorkControl.h"
#include "result/ResultSet.h"

#include <QString>

#include <cstdint>
#include <unordered_map>
#include <vector>

// Find in a result as its grid shows it: a row is a hit when one of the given result columns
// shows a text that contains the needle, case ignored. A text value is looked at once, however
// many rows show it; numbers only when the needle could be part of one. `Rows` is a
// query or a snapshot: its result() and, for each display position, rowAt().
class TableFind {
public:
    TableFind(QString needle, std::vector<std::size_t> resultColumns);

    const QString& needle() const { return needle_; }
    bool matches(const QString& shown) const;

    template <typename Rows> bool isHit(const Rows& rows, std::size_t position) {
        const std::size_t row = rows.rowAt(position);
        for (std::size_t i = 0; i < columns_.size(); ++i)
            if (cellMatches(rows.result().column(columns_[i]), i, row))
                return true;
        return false;
    }

    // Every hit's display position, in display order; stops with WorkCancelled when asked.
    template <typename Rows>
    std::vector<std::uint32_t> allHits(const Rows& rows, WorkControl& control) {
        std::vector<std::uint32_t> hits;
        for (std::size_t position = 0; position < rows.rowCount(); ++position) {
            if (position % 4096 == 0) {
                control.throwIfCancelled();
                control.setDone(position);
            }
            if (isHit(rows, position))
                hits.push_back(static_cast<std::uint32_t>(position));
        }
        return hits;
    }

    // The first hit from `from` on (backwards when not `forward`), looking at `limit` rows at
    // most and going round past the end; -1 when none of them is one.
    template <typename Rows>
    int nearestHit(const Rows& rows, int from, bool forward, std::size_t limit) {
        const auto count = static_cast<long long>(rows.rowCount());
        for (long long step = 0; step < count && static_cast<std::size_t>(step) < limit; ++step) {
            const long long at = ((from + (forward ? step : -step)) % count + count) % count;
            if (isHit(rows, static_cast<std::size_t>(at)))
                return static_cast<int>(at);
        }
        return -1;
    }

private:
    bool cellMatches(const ResultColumn& column, std::size_t index, std::size_t row);

    QString needle_;
    std::vector<std::size_t> columns_;
    CellText text_;
    bool mayBeInNumbers_;
    // Per column, per text value looked at (its arena entry): whether it is a hit.
    std::vector<std::unordered_map<std::uint32_t, bool>> textHits_;
};
