#include "BackgroundJob.h"

#include <QCoreApplication>

#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

// The threads of all jobs that have not ended yet.
struct RunningThreads {
    std::mutex mutex;
    std::condition_variable ended;
    int count = 0;
};

RunningThreads& runningThreads() {
    static RunningThreads threads;
    return threads;
}

} // namespace

struct BackgroundJob::State {
    Work work;
    Finished finished;
    WorkControl control;
    std::mutex mutex; // guards the fields below
    std::condition_variable endedChanged;
    bool ended = false;
    bool dropped = false; // set and read on the interface thread
};

BackgroundJob::BackgroundJob(Work work, Finished finished) : state_(std::make_shared<State>()) {
    state_->work = std::move(work);
    state_->finished = std::move(finished);
    {
        const std::lock_guard lock(runningThreads().mutex);
        ++runningThreads().count;
    }
    std::thread([state = state_] {
        std::exception_ptr failure;
        try {
            state->work(state->control);
        } catch (...) {
            failure = std::current_exception();
        }
        // The work's captures (a fetched result, a session) go on this thread, not the
        // interface thread.
        state->work = nullptr;
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [state, failure] {
                if (!state->dropped)
                    state->finished(failure);
            },
            Qt::QueuedConnection);
        {
            const std::lock_guard lock(state->mutex);
            state->ended = true;
        }
        state->endedChanged.notify_all();
        RunningThreads& threads = runningThreads();
        const std::lock_guard lock(threads.mutex);
        --threads.count;
        threads.ended.notify_all();
    }).detach();
}

BackgroundJob::~BackgroundJob() {
    drop();
}

const WorkControl& BackgroundJob::control() const {
    return state_->control;
}

void BackgroundJob::drop() {
    state_->dropped = true;
    state_->control.cancel();
}

bool BackgroundJob::waitUntil(std::chrono::steady_clock::time_point deadline) {
    std::unique_lock lock(state_->mutex);
    return state_->endedChanged.wait_until(lock, deadline, [this] { return state_->ended; });
}

bool BackgroundJob::running() const {
    const std::lock_guard lock(state_->mutex);
    return !state_->ended;
}

void BackgroundJob::waitForAll() {
    RunningThreads& threads = runningThreads();
    std::unique_lock lock(threads.mutex);
    threads.ended.wait(lock, [&] { return threads.count == 0; });
}
