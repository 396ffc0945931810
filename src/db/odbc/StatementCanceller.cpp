#include "StatementCanceller.h"

StatementCanceller::~StatementCanceller() {
    {
        const std::lock_guard lock(mutex_);
        givenUp_ = true;
    }
    givenUpChanged_.notify_all();
    if (thread_.joinable())
        thread_.join(); // a cancel under way ends before the statement goes
}

void StatementCanceller::cancel() {
    if (thread_.joinable())
        return;
    thread_ = std::thread([this] {
        {
            std::unique_lock lock(mutex_);
            if (givenUpChanged_.wait_for(lock, kOwnThreadFirst, [this] { return givenUp_; }))
                return;
        }
        SQLCancel(statement_);
    });
}
