#pragma once

#include "db/WorkControl.h"

#include <ostream>
#include <thread>

// Blocks SIGINT and SIGTERM in the calling thread and every thread it starts afterwards, so
// that StopOnSignals alone receives them (on Windows: Ctrl+C, Ctrl+Break and closing the
// console go to StopOnSignals while one lives); called first thing in main().
void blockStopSignals();

// While it lives, SIGINT or SIGTERM cancels `control`; with a `progress` stream, the rows read
// or written so far are shown on it twice a second.
class StopOnSignals {
public:
    StopOnSignals(WorkControl& control, std::ostream* progress);
    ~StopOnSignals();
    StopOnSignals(const StopOnSignals&) = delete;
    StopOnSignals& operator=(const StopOnSignals&) = delete;

private:
    void watch();

    WorkControl& control_;
    std::ostream* progress_;
    std::thread watcher_;
};
