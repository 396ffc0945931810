#include "StopOnSignals.h"

#include "Console.h"
#include "ExportRun.h"
#include "db/Connection.h"
#include "platform/PartialFiles.h"

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <utility>

namespace {

using Clock = std::chrono::steady_clock;

// How long cancelled work may take to end before the program ends without it.
constexpr auto kGrace = std::chrono::milliseconds(500);
// How often the progress line is written.
constexpr auto kProgressInterval = std::chrono::milliseconds(500);

} // namespace

StopOnSignals::StopOnSignals(WorkControl& control, std::string interrupted)
    : control_(control), interrupted_(std::move(interrupted)), watcher_([this] { watch(); }),
      listener_([this] {
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
    clearProgress();
}

void StopOnSignals::showProgressOn(std::ostream& terminal) {
    const std::lock_guard lock(mutex_);
    progress_ = &terminal;
}

void StopOnSignals::startTimeLimit(std::chrono::seconds limit, int status, std::string timedOut) {
    if (limit.count() == 0)
        return;
    {
        const std::lock_guard lock(mutex_);
        limit_ = Clock::now() + limit;
        timedOutStatus_ = status;
        timedOutLine_ = std::move(timedOut);
    }
    changed_.notify_all();
}

void StopOnSignals::endTimeLimit() {
    const std::lock_guard lock(mutex_);
    limit_ = Clock::time_point::max();
}

bool StopOnSignals::timedOut() {
    const std::lock_guard lock(mutex_);
    return timedOut_;
}

void StopOnSignals::watch() {
    std::unique_lock lock(mutex_);
    Clock::time_point deadline = Clock::time_point::max();
    for (;;) {
        const auto wake = std::min({deadline, limit_, Clock::now() + kProgressInterval});
        changed_.wait_until(lock, wake);
        if (over_)
            return;
        if (requests_ == 0 && !timedOut_ && Clock::now() >= limit_)
            timedOut_ = true;
        if ((requests_ > 0 || timedOut_) && deadline == Clock::time_point::max()) {
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

void StopOnSignals::endInterrupted() {
    if (PartialFiles::instance().abandon())
        return;
    restoreConsole();
    clearProgress();
    // A signal ends it as interrupted, also past a time limit.
    const bool signalled = requests_ > 0;
    // Below the password prompt, not after it.
    std::cerr << (errorsAreTerminal() ? "\n" : "") << (signalled ? interrupted_ : timedOutLine_)
              << std::endl;
    Connection::removeDriverFiles();
    std::_Exit(signalled ? kInterrupted : timedOutStatus_);
}

void StopOnSignals::clearProgress() {
    if (shown_)
        *progress_ << "\r" << std::string(40, ' ') << "\r" << std::flush;
    shown_ = false;
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
