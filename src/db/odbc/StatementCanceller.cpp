#include "StatementCanceller.h"

StatementCanceller::StatementCanceller(SQLHSTMT statement)
    : thread_([this, statement] {
          std::unique_lock lock(mutex_);
          wake_.wait(lock, [this] { return cancelled_ || ending_; });
          if (!cancelled_)
              return;
          lock.unlock();
          SQLCancel(statement);
      }) {}

StatementCanceller::~StatementCanceller() {
    {
        const std::lock_guard lock(mutex_);
        ending_ = true;
    }
    wake_.notify_one();
    thread_.join(); // a cancel under way ends before the statement goes
}

void StatementCanceller::cancel() {
    {
        const std::lock_guard lock(mutex_);
        cancelled_ = true;
    }
    wake_.notify_one();
}
