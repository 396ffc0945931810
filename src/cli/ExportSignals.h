#pragma once

#include <functional>
#include <thread>

// Blocks SIGINT and SIGTERM in the calling thread and every thread it starts afterwards, so
// that StopRequests alone receives them (on Windows: Ctrl+C, Ctrl+Break and closing the
// console go to StopRequests while one lives); called first thing in main().
void blockStopSignals();

// While it lives, every stop request (SIGINT, SIGTERM; on Windows Ctrl+C, Ctrl+Break, closing
// the console) calls `heard`, on a thread other than the one that made it.
class StopRequests {
public:
    explicit StopRequests(std::function<void()> heard);
    ~StopRequests();
    StopRequests(const StopRequests&) = delete;
    StopRequests& operator=(const StopRequests&) = delete;

private:
    std::function<void()> heard_;
    std::thread listener_; // POSIX: waits for the signals
};
