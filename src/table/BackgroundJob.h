#pragma once

#include "db/WorkControl.h"

#include <chrono>
#include <exception>
#include <functional>
#include <memory>

// Long work on a thread of its own, so that the windows keep painting while it runs. The
// work gets a WorkControl to count its steps into and to look for a stop in; afterwards
// `finished` runs on the interface thread with the work's failure (null after success), unless
// the job was dropped first.
class BackgroundJob {
public:
    using Work = std::function<void(WorkControl&)>;
    using Finished = std::function<void(std::exception_ptr)>;

    BackgroundJob(Work work, Finished finished);
    // Drops the job.
    ~BackgroundJob();
    BackgroundJob(const BackgroundJob&) = delete;
    BackgroundJob& operator=(const BackgroundJob&) = delete;

    const WorkControl& control() const;
    // Asks the work to stop; `finished` will never run. The thread ends on its own; work that
    // uses anything the caller is about to destroy must be waited for.
    void drop();
    // Blocks until the work has ended or the deadline has passed; true if it has ended.
    bool waitUntil(std::chrono::steady_clock::time_point deadline);
    bool running() const;

    // Blocks until every job's thread has ended, dropped ones included: before the program
    // ends, nothing is left running.
    static void waitForAll();

private:
    struct State;
    std::shared_ptr<State> state_;
};
