#include "StopOnSignals.h"

#include "Console.h"
#include "ExportRun.h"
#include "platform/PartialFiles.h"

#include <chrono>
#include <cstdlib>
#include <iostream>

namespace {

using Clock = std::chrono::steady_clock;

// How long cancelled work may take to end before the program ends without it.
constexpr auto kGrace = std::chrono::milliseconds(800);

// Ends the program at once, unless the work has put a file in place already (it is then
// about to end by itself).
void endInterrupted() {
    if (PartialFiles::instance().abandon())
        return;
    restoreConsole();
    std::cerr << "\nstockquery-export: interrupted; nothing was written" << std::endl;
    std::_Exit(kInterrupted);
}

} // namespace

StopOnSignals::StopOnSignals(WorkControl& control)
    : control_(control), watcher_([this] { watch(); }), listener_([this] {
          {
              const std::lock_guard lock(mutex_);
              ++requests_;
          }
          changed_.notify_all();
      }) {}

StopOnSignals::~StopOnSignals() {
    {
        const std::lock_guard lock(mutex_);
        over_ = true;
    }
    changed_.notify_all();
    watcher_.join();
    if (shown_)
        *progress_ << "\r" << std::string(40, ' ') << "\r" << std::flush;
}

void StopOnSignals::showProgressOn(std::ostream& terminal) {
    const std::lock_guard lock(mutex_);
    progress_ = &terminal;
}

void StopOnSignals::watch() {
    std::unique_lock lock(mutex_);
    Clock::time_point deadline = Clock::time_point::max();
    for (;;) {
        const auto wake = std::min(deadline, Clock::now() + std::chrono::milliseconds(500));
        changed_.wait_until(lock, wake);
        if (over_)
            return;
        if (requests_ > 0 && deadline == Clock::time_point::max()) {
            control_.cancel();
            deadline = Clock::now() + kGrace;
        }
        if (requests_ > 1 || Clock::now() >= deadline) {
            endInterrupted();
            return;
        }
        if (requests_ == 0)
            showProgress();
    }
}

void StopOnSignals::showProgress() {
    if (!progress_)
        return;
    if (control_.total() > 0)
        *progress_ << "\rrows written " << control_.done() << " / " << control_.total();
    else
        *progress_ << "\rrows read " << control_.done();
    *progress_ << std::flush;
    shown_ = true;
}
