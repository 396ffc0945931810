#include "SessionTurns.h"

struct SessionTurns::Turn::Shared {
    std::mutex mutex;
    std::condition_variable ended;
    Session session;                      // none while a statement holds it
    const WorkControl* running = nullptr; // the statement whose turn it is
    std::uint64_t turn = 0;               // its number; a statement left behind has another
};

SessionTurns::SessionTurns() : shared_(std::make_shared<Turn::Shared>()) {}

SessionTurns::~SessionTurns() {
    Session gone;
    change([&](Session& session) { gone = std::move(session); });
}

std::unique_lock<std::mutex> SessionTurns::waitForTurn() {
    using namespace std::chrono_literals;
    std::unique_lock lock(shared_->mutex);
    while (shared_->running) {
        const auto cancelledAt = shared_->running->cancelledAt();
        if (cancelledAt != std::chrono::steady_clock::time_point{} &&
            std::chrono::steady_clock::now() - cancelledAt >= kLeftBehindAfter) {
            shared_->running = nullptr; // left behind, with the session it holds
            ++shared_->turn;
            break;
        }
        shared_->ended.wait_for(lock, 50ms);
    }
    return lock;
}

SessionTurns::Turn SessionTurns::take(const WorkControl& control) {
    const std::unique_lock lock = waitForTurn();
    shared_->running = &control;
    return Turn(shared_, ++shared_->turn, std::move(shared_->session));
}

void SessionTurns::change(const std::function<void(Session&)>& change) {
    const std::unique_lock lock = waitForTurn();
    change(shared_->session);
}

SessionTurns::Turn::~Turn() {
    Session leftBehind;
    {
        const std::lock_guard lock(shared_->mutex);
        if (shared_->turn == number_ && shared_->running) {
            shared_->session = std::move(session_);
            shared_->running = nullptr;
            shared_->ended.notify_all();
            return;
        }
        leftBehind = std::move(session_);
    }
    // A session left behind ends here, on the thread of its statement, outside the lock: its
    // end may wait for the server.
}
