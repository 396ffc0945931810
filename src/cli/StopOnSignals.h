#pragma once

#include "ExportSignals.h"
#include "db/WorkControl.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>

// While a run lives, the first stop request (Ctrl+C, SIGTERM) cancels its work, which then
// ends as cancelled work does. Work that cannot stop at once (a password being typed, a
// driver waiting for a silent server, a workbook being zipped) is not waited for: one second
// later, or at a second request, the program ends with status 130 and the line `interrupted`,
// its partial files removed and the terminal's echo back; nothing was put in the target's place
// by then.
class StopOnSignals {
public:
    StopOnSignals(WorkControl& control, std::string interrupted);
    ~StopOnSignals();
    StopOnSignals(const StopOnSignals&) = delete;
    StopOnSignals& operator=(const StopOnSignals&) = delete;

    // From now on the rows read or written so far are shown on `terminal` twice a second.
    void showProgressOn(std::ostream& terminal);

    // The work from now until endTimeLimit() may take `limit` at most (zero: no limit). Past
    // it the work is stopped as by a request and ends as timed out; where it cannot stop at
    // once (a driver waiting for a silent server), the program ends a moment later with
    // `status` and the line `timedOut`.
    void startTimeLimit(std::chrono::seconds limit, int status, std::string timedOut);
    void endTimeLimit();
    bool timedOut();

private:
    void watch();
    void showProgress();
    void clearProgress();
    // Ends the program at once, unless the work has put its file in place already (it is
    // then about to end by itself).
    void endInterrupted();

    WorkControl& control_;
    std::string interrupted_;
    std::chrono::steady_clock::time_point limit_ = std::chrono::steady_clock::time_point::max();
    bool timedOut_ = false;
    // How the program ends when work stopped at the time limit does not end in time.
    int timedOutStatus_ = 0;
    std::string timedOutLine_;
    std::mutex mutex_;
    std::condition_variable changed_;
    int requests_ = 0;
    bool over_ = false;
    std::ostream* progress_ = nullptr;
    bool shown_ = false;
    std::thread watcher_;
    StopRequests listener_; // last: it stops hearing before the rest goes
};
