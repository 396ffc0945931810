#include "WorkControl.h"

void WorkControl::cancel() {
    const std::lock_guard lock(mutex_);
    cancelled_.store(true, std::memory_order_relaxed);
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
