#include "ExportSignals.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <windows.h>

namespace {

// The control that Ctrl+C, Ctrl+Break or closing the console cancels, while a run lives; one
// run at a time.
std::atomic<WorkControl*> cancelled{nullptr};
std::mutex ending;
std::condition_variable ended;
bool over = false;

BOOL WINAPI onConsoleEvent(DWORD) {
    WorkControl* control = cancelled.load();
    if (!control)
        return FALSE; // the default: the program ends
    control->cancel();
    return TRUE;
}

} // namespace

void blockStopSignals() {
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

StopOnSignals::StopOnSignals(WorkControl& control, std::ostream* progress)
    : control_(control), progress_(progress), watcher_([this] { watch(); }) {
    cancelled = &control_;
}

StopOnSignals::~StopOnSignals() {
    {
        const std::lock_guard lock(ending);
        over = true;
    }
    ended.notify_all();
    watcher_.join();
    cancelled = nullptr;
    if (progress_)
        *progress_ << "\r" << std::string(40, ' ') << "\r" << std::flush;
}

void StopOnSignals::watch() {
    std::unique_lock lock(ending);
    while (!ended.wait_for(lock, std::chrono::milliseconds(500), [] { return over; })) {
        if (progress_) {
            if (control_.total() > 0)
                *progress_ << "\rrows written " << control_.done() << " / " << control_.total();
            else
                *progress_ << "\rrows read " << control_.done();
            *progress_ << std::flush;
        }
    }
    over = false; // ready for the next run
}
