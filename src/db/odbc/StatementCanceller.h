#pragma once

#include "OdbcApi.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

// Cancels a running statement from a thread of its own. SQLCancel is the one call that ODBC
// lets another thread make on a statement that is running, but a driver may wait inside it
// for the server to acknowledge the cancel (FreeTDS does when the statement is between two
// fetches), and the thread that asks for the stop, the window's, must not wait with it.
//
// The cancel is sent only if the statement's own thread has not given the statement up a
// moment later. FreeTDS leaves a fetch waiting for good when another thread's cancel goes
// out while the fetch is between two packets of a streaming answer (the fetch waits for the
// network to be handed over, and the cancelling thread hands it back without a word); a
// fetch that sees the stop at its next block ends the statement itself, on its own thread.
// What is left to the other thread is a fetch that waits on a server that sends nothing, and
// that one waits on the network itself, where the cancel reaches it safely.
// The statement must outlive the canceller.
class StatementCanceller {
public:
    static constexpr std::chrono::milliseconds kOwnThreadFirst{100};

    explicit StatementCanceller(SQLHSTMT statement) : statement_(statement) {}
    // The statement's thread gives it up: a cancel not yet sent is not sent.
    ~StatementCanceller();
    StatementCanceller(const StatementCanceller&) = delete;
    StatementCanceller& operator=(const StatementCanceller&) = delete;

    // At once, from one thread at a time: the statement is cancelled on a thread started for
    // it, the first time only.
    void cancel();

private:
    SQLHSTMT statement_;
    std::mutex mutex_;
    std::condition_variable givenUpChanged_;
    bool givenUp_ = false;
    std::thread thread_;
};
