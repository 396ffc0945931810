#pragma once

#include "OdbcApi.h"

#include <thread>

// Cancels a running statement from a thread of its own. SQLCancel is the one call that ODBC
// lets another thread make on a statement that is running, but a driver may wait inside it
// for the server to acknowledge the cancel (FreeTDS does when the statement is between two
// fetches), and the thread that asks for the stop, the window's, must not wait with it. The
// statement must outlive the canceller.
class StatementCanceller {
public:
    explicit StatementCanceller(SQLHSTMT statement) : statement_(statement) {}
    ~StatementCanceller();
    StatementCanceller(const StatementCanceller&) = delete;
    StatementCanceller& operator=(const StatementCanceller&) = delete;

    // At once, from one thread at a time: the statement is cancelled on a thread started for
    // it, the first time only.
    void cancel();

private:
    SQLHSTMT statement_;
    std::thread thread_;
};
