#include "ExportSignals.h"

#include <csignal>
#include <pthread.h>

namespace {

// SIGUSR1 ends the listener when the run is over.
sigset_t listenedSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGUSR1);
    return set;
}

} // namespace

void blockStopSignals() {
    const sigset_t set = listenedSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

StopRequests::StopRequests(std::function<void()> heard)
    : heard_(std::move(heard)), listener_([this] {
          const sigset_t set = listenedSignals();
          for (;;) {
              int signal = 0;
              if (sigwait(&set, &signal) != 0 || signal == SIGUSR1)
                  return;
              heard_();
          }
      }) {}

StopRequests::~StopRequests() {
    pthread_kill(listener_.native_handle(), SIGUSR1);
    listener_.join();
}
