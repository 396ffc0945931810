#pragma once

#include "ExportSignals.h"
#include "db/WorkControl.h"

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

private:
    void watch();
    void showProgress();
    void clearProgress();
    // Ends the program at once, unless the work has put its file in place already (it is
    // then about to end by itself).
    void endInterrupted();

    WorkControl& control_;
    std::string interrupted_;
    std::mutex mutex_;
    std::condition_variable changed_;
    int requests_ = 0;
    bool over_ = false;
    std::ostream* progress_ = nullptr;
    bool shown_ = false;
    std::thread watcher_;
    StopRequests listener_; // last: it stops hearing before the rest goes
};
