#pragma once

#include "DatabaseBackend.h"
#include "WorkControl.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

// Whose turn it is on the connection's session: one statement at a time, and changes of the
// session (a new one, none) between statements. A statement that was cancelled and has not
// ended a second later (a server that answers neither it nor the cancel) is left behind: it
// ends alone on the session it has, whenever the server lets it, and the next statement finds
// no session, so that a new one is made. What the turns share outlives the connection, for
// such a statement.
class SessionTurns {
public:
    using Session = std::unique_ptr<DatabaseBackend>;
    static constexpr std::chrono::milliseconds kLeftBehindAfter{1000};

    // A statement's turn: it holds the session until it ends.
    class Turn {
    public:
        Turn(Turn&&) = delete;
        ~Turn(); // gives the session back, unless the statement was left behind
        // None when there is no session (it was lost, or left behind with a statement).
        Session& session() { return session_; }

    private:
        friend class SessionTurns;
        struct Shared;
        Turn(std::shared_ptr<Shared> shared, std::uint64_t number, Session session)
            : shared_(std::move(shared)), number_(number), session_(std::move(session)) {}
        std::shared_ptr<Shared> shared_;
        std::uint64_t number_;
        Session session_;
    };

    SessionTurns();
    ~SessionTurns(); // waits for the statement that runs, leaving a stalled cancelled one behind
    SessionTurns(const SessionTurns&) = delete;
    SessionTurns& operator=(const SessionTurns&) = delete;

    // Waits for the turn of the statement that `control` stops; `control` must outlive it.
    Turn take(const WorkControl& control);
    // Waits until no statement runs, then changes the session.
    void change(const std::function<void(Session&)>& change);

private:
    std::unique_lock<std::mutex> waitForTurn();
    std::shared_ptr<Turn::Shared> shared_;
};
