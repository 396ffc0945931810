#include "RowArrival.h"

ResultSet& RowArrival::begin(ResultSet empty) {
    auto result = std::make_shared<ResultSet>(std::move(empty));
    const std::lock_guard lock(mutex_);
    result_ = result;
    return *result;
}

std::shared_ptr<const ResultSet> RowArrival::result() const {
    const std::lock_guard lock(mutex_);
    return result_;
}

ResultSet RowArrival::whole(const std::function<void(RowArrival&)>& fetch) {
    RowArrival arrival;
    fetch(arrival);
    return arrival.result_ ? std::move(*arrival.result_) : ResultSet();
}
