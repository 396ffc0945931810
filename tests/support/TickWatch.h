#pragma once

#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>

// A 10 ms timer on the interface thread that notes how often it fired and the longest gap
// between two of its ticks: how long the event loop was kept from turning.
class TickWatch {
public:
    TickWatch() {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            const qint64 now = clock_.nsecsElapsed();
            longestGap_ = std::max(longestGap_, now - last_);
            last_ = now;
            ++ticks_;
        });
        timer_.setTimerType(Qt::PreciseTimer);
        clock_.start();
        timer_.start(10);
    }
    int ticks() const { return ticks_; }
    double longestGapMs() const { return static_cast<double>(longestGap_) / 1e6; }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 last_ = 0;
    qint64 longestGap_ = 0;
    int ticks_ = 0;
};
