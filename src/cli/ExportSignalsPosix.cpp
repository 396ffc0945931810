#include "ExportSignals.h"

#include <csignal>
#include <ctime>
#include <pthread.h>

namespace {

// SIGUSR1 ends the watcher when the run is over.
sigset_t watchedSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGUSR1);
    return set;
}

} // namespace

void blockStopSignals() {
    const sigset_t set = watchedSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

StopOnSignals::StopOnSignals(WorkControl& control, std::ostream* progress)
    : control_(control), progress_(progress), watcher_([this] { watch(); }) {}

StopOnSignals::~StopOnSignals() {
    pthread_kill(watcher_.native_handle(), SIGUSR1);
    watcher_.join();
    if (progress_)
        *progress_ << "\r\033[K" << std::flush;
}

void StopOnSignals::watch() {
    const sigset_t set = watchedSignals();
    const timespec halfSecond{0, 500000000};
    for (;;) {
        const int signal = sigtimedwait(&set, nullptr, &halfSecond);
        if (signal == SIGUSR1)
            return;
        if (signal == SIGINT || signal == SIGTERM) {
            control_.cancel();
            return;
        }
        if (progress_) {
            if (control_.total() > 0)
                *progress_ << "\rrows written " << control_.done() << " / " << control_.total();
            else
                *progress_ << "\rrows read " << control_.done();
            *progress_ << std::flush;
        }
    }
}
