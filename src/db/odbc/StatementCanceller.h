#pragma once

#include "OdbcApi.h"

#include <condition_variable>
#include <mutex>
#include <thread>

// Cancels a running statement from a thread of its own. SQLCancel is the one call that ODBC
// lets another thread make on a statement that is running, but a driver may wait inside it
// for the server to acknowledge the cancel (FreeTDS does when the statement is between two
// fetches), and the thread that asks for the stop, the window's, must not wait with it. The
// statement must outlive the canceller.
class StatementCanceller {
public:
    explicit StatementCanceller(SQLHSTMT statement);
    ~StatementCanceller();
    StatementCanceller(const StatementCanceller&) = delete;
    StatementCanceller& operator=(const StatementCanceller&) = delete;

    // Any thread, at once: the statement is cancelled on the canceller's thread.
    void cancel();

private:
    std::mutex mutex_;
    std::condition_variable wake_;
    bool cancelled_ = false;
    bool ending_ = false;
    std::thread thread_;
};
