#pragma once

#include "table/BackgroundJob.h"

#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <QTimer>

#include <chrono>
#include <exception>
#include <functional>
#include <memory>
#include <vector>

class QAbstractButton;
class QLabel;
class QShortcut;
class QWidget;

// The one piece of long work that a window runs at a time, and what the window shows
// meanwhile: the controls that would start other work are disabled, the wait cursor stands
// over the window, a status text tells the progress ten times a second, and a 取消 button and
// the Escape key stop the work. The window stays ready for painting, moving and resizing.
class WindowWork {
public:
    struct Task {
        BackgroundJob::Work work;
        // The status text while the work runs, from its control and the seconds since start.
        std::function<QString(const WorkControl&, double)> progress;
        // Runs on the interface thread once the work has ended, with its failure (null after
        // success, WorkCancelled after a cancel); the window is ready again by then.
        BackgroundJob::Finished finished;
        // What the work uses that it does not hold itself, and so how long a cancel waits:
        // the program's connection (a query) must be let go before the window goes; work
        // that holds all it uses (a connection attempt, an export of a snapshot) is left to
        // end on its own.
        enum class Uses { Nothing, Connection };
        Uses uses = Uses::Connection;
        // Called with each progress update, for a window that shows the work's results as
        // they come; none when empty.
        std::function<void()> tick = {};
    };

    // `status` shows the progress; `cancelButton`, if any, is shown while work runs and keeps
    // its place while hidden, so that nothing else comes under a click meant for it.
    WindowWork(QWidget* window, QLabel* status, QAbstractButton* cancelButton);
    // Stops running work without its `finished`, and waits for work that uses the connection,
    // unless its statement is stuck on a server that answers nothing (it then holds all it
    // uses and ends alone, if ever).
    ~WindowWork();
    WindowWork(const WindowWork&) = delete;
    WindowWork& operator=(const WindowWork&) = delete;

    // Controls that would start other work: disabled while work runs (nulls, controls a build
    // leaves out, are passed over).
    void setBlockedControls(QList<QWidget*> controls) {
        blocked_ = std::move(controls);
        blocked_.removeAll(nullptr);
    }
    bool busy() const { return job_ != nullptr; }
    void start(Task task);
    // Stops the running work: the window is ready again at once (after the few records that an
    // export writes until it sees the stop), and the task's `finished` runs with WorkCancelled.
    void cancel();
    // What the last work came to, in place of its progress, until the next work starts; the
    // idle text when empty.
    void showOutcome(const QString& text);
    // What the status shows while no work runs and no outcome stands (which connection the
    // window works on), and what hovering over the status tells; hidden when empty.
    void setIdleText(const QString& text, const QString& hover = {});
    // Turns the event loop until no work runs (for tools and tests that drive a window).
    void waitUntilDone() const;

private:
    void ended(std::exception_ptr failure);
    // Drops the running work; work that uses the connection is kept until it has stopped.
    void letGo();
    void showProgress();
    void setBusyLook(bool busy);

    QWidget* window_;
    QLabel* status_;
    QAbstractButton* cancelButton_;
    QShortcut* escape_;
    QList<QWidget*> blocked_;
    QTimer progressTimer_;
    QString outcome_;
    QString idleText_;
    QElapsedTimer elapsed_;
    Task task_;
    std::unique_ptr<BackgroundJob> job_;
    // Cancelled work that uses the connection and may still be stopping.
    struct Stopping {
        std::unique_ptr<BackgroundJob> job;
        std::chrono::steady_clock::time_point leftBehindAt;
    };
    std::vector<Stopping> stopping_;
};

// How work ended, told as the windows tell it: true after success; after a cancel the status
// bar says "<what>已取消"; after a failure a prompt over `window` says "<what>未完成：<reason>".
bool succeeded(std::exception_ptr failure, WindowWork& work, QWidget* window, const QString& what);
