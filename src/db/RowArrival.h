#pragma once

#include "result/ResultSet.h"

#include <functional>
#include <memory>
#include <mutex>

// The rows of a statement as they are read: the thread that reads them begins a result with
// the statement's columns and publishes rows into it; other threads (a window showing the rows
// so far) read what is published. A statement run again (after a lost session, or for a value
// longer than its buffer) begins another result and leaves the earlier one to its readers.
class RowArrival {
public:
    // The reading thread: the result that the rows go into from now on.
    ResultSet& begin(ResultSet empty);
    // Any thread: the result filling or filled; null until the columns are known.
    std::shared_ptr<const ResultSet> result() const;
    // A result read whole by `fetch` into an arrival of its own, which no one else reads.
    static ResultSet whole(const std::function<void(RowArrival&)>& fetch);

private:
    mutable std::mutex mutex_; // guards result_ itself, not the rows
    std::shared_ptr<ResultSet> result_;
};
