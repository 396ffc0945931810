#include "WorkControl.h"

#include <algorithm>

void WorkControl::cancel() {
    const std::lock_guard lock(mutex_);
    // Never 0, which means not cancelled.
    if (!cancelled())
        cancelledAt_.store(std::max<std::chrono::steady_clock::rep>(
                               std::chrono::steady_clock::now().time_since_epoch().count(), 1),
                           std::memory_order_relaxed);
    if (interrupt_)
        interrupt_();
}

WorkControl::Interruptible::Interruptible(WorkControl& control, std::function<void()> interrupt)
    : control_(control) {
    const std::lock_guard lock(control_.mutex_);
    control_.throwIfCancelled();
    control_.interrupt_ = std::move(interrupt);
}

WorkControl::Interruptible::~Interruptible() {
    const std::lock_guard lock(control_.mutex_);
    control_.interrupt_ = nullptr;
}
