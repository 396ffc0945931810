#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>

// Thrown by work that stopped because it was asked to.
class WorkCancelled : public std::exception {
public:
    const char* what() const noexcept override { return "cancelled"; }
};

// What a piece of long work shares with the thread that watches it: how far it has come, and
// a request to stop. The work counts its steps and checks for the request between them; while
// it waits inside a library call, the interrupter it registered for that call stops the call.
class WorkControl {
public:
    // Any thread: asks the work to stop and interrupts the call it waits in, if any.
    void cancel();
    bool cancelled() const { return cancelledAt_.load(std::memory_order_relaxed) != 0; }
    // When the stop was first asked for; the clock's epoch until then.
    std::chrono::steady_clock::time_point cancelledAt() const {
        return std::chrono::steady_clock::time_point(
            std::chrono::steady_clock::duration(cancelledAt_.load(std::memory_order_relaxed)));
    }
    void throwIfCancelled() const {
        if (cancelled())
            throw WorkCancelled();
    }

    // Steps done so far (rows read or written) of `total` (0 while unknown).
    void setDone(std::size_t steps) { done_.store(steps, std::memory_order_relaxed); }
    void addDone(std::size_t steps) { done_.fetch_add(steps, std::memory_order_relaxed); }
    std::size_t done() const { return done_.load(std::memory_order_relaxed); }
    void setTotal(std::size_t steps) { total_.store(steps, std::memory_order_relaxed); }
    std::size_t total() const { return total_.load(std::memory_order_relaxed); }
    // Every step is done, and the work finishes what it made of them (a workbook is zipped).
    enum class Stage { Steps, Finishing };
    void setStage(Stage stage) { stage_.store(stage, std::memory_order_relaxed); }
    Stage stage() const { return stage_.load(std::memory_order_relaxed); }

    // While it lives, a cancel calls `interrupt` (on the cancelling thread). Throws
    // WorkCancelled when the stop was asked for already, so that no request is lost between
    // a check and the call.
    class Interruptible {
    public:
        Interruptible(WorkControl& control, std::function<void()> interrupt);
        ~Interruptible();
        Interruptible(const Interruptible&) = delete;
        Interruptible& operator=(const Interruptible&) = delete;

    private:
        WorkControl& control_;
    };

private:
    std::atomic<std::chrono::steady_clock::rep> cancelledAt_{0};
    std::atomic<std::size_t> done_{0};
    std::atomic<std::size_t> total_{0};
    std::atomic<Stage> stage_{Stage::Steps};
    std::mutex mutex_; // guards interrupt_
    std::function<void()> interrupt_;
};
