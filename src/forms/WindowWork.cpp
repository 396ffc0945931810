#include "WindowWork.h"

#include "MessageBoxes.h"
#include "db/SessionTurns.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QLabel>
#include <QShortcut>
#include <QWidget>

namespace {
constexpr int kProgressMilliseconds = 100;
}

WindowWork::WindowWork(QWidget* window, QLabel* status, QAbstractButton* cancelButton)
    : window_(window), status_(status), cancelButton_(cancelButton),
      escape_(new QShortcut(Qt::Key_Escape, window)) {
    escape_->setEnabled(false);
    QObject::connect(escape_, &QShortcut::activated, window, [this] { cancel(); });
    if (cancelButton_) {
        QObject::connect(cancelButton_, &QAbstractButton::clicked, window, [this] { cancel(); });
        QSizePolicy keepsPlace = cancelButton_->sizePolicy();
        keepsPlace.setRetainSizeWhenHidden(true);
        cancelButton_->setSizePolicy(keepsPlace);
        cancelButton_->hide();
        cancelButton_->setCursor(Qt::ArrowCursor);
    }
    progressTimer_.setInterval(kProgressMilliseconds);
    QObject::connect(&progressTimer_, &QTimer::timeout, window, [this] { showProgress(); });
}

WindowWork::~WindowWork() {
    if (job_)
        letGo();
    for (Stopping& stopping : stopping_)
        stopping.job->waitUntil(stopping.leftBehindAt);
}

void WindowWork::start(Task task) {
    if (job_)
        return;
    std::erase_if(stopping_, [](const Stopping& stopping) { return !stopping.job->running(); });
    task_ = std::move(task);
    outcome_.clear();
    elapsed_.start();
    job_ = std::make_unique<BackgroundJob>(task_.work,
                                           [this](std::exception_ptr failure) { ended(failure); });
    setBusyLook(true);
    showProgress();
}

void WindowWork::cancel() {
    if (!job_)
        return;
    letGo();
    ended(std::make_exception_ptr(WorkCancelled()));
}

void WindowWork::letGo() {
    job_->drop();
    if (task_.uses == Task::Uses::Nothing)
        return;
    // A statement that has not ended a moment after its cancel is stuck in the driver, on a
    // server that answers nothing; the connection leaves it behind, and so does the window.
    constexpr std::chrono::milliseconds kSlack{500};
    stopping_.push_back({std::move(job_), std::chrono::steady_clock::now() +
                                              SessionTurns::kLeftBehindAfter + kSlack});
}

void WindowWork::ended(std::exception_ptr failure) {
    job_.reset();
    setBusyLook(false);
    const BackgroundJob::Finished finished = std::move(task_.finished);
    task_ = {};
    showOutcome({});
    finished(failure);
}

void WindowWork::showOutcome(const QString& text) {
    outcome_ = text;
    const QString shown = text.isEmpty() ? idleText_ : text;
    status_->setText(shown);
    status_->setVisible(!shown.isEmpty());
}

void WindowWork::setIdleText(const QString& text, const QString& hover) {
    idleText_ = text;
    status_->setToolTip(hover);
    if (!job_)
        showOutcome(outcome_);
}

void WindowWork::waitUntilDone() const {
    while (busy())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void WindowWork::showProgress() {
    if (!job_)
        return;
    status_->setText(
        task_.progress(job_->control(), static_cast<double>(elapsed_.elapsed()) / 1000.0));
    if (task_.tick)
        task_.tick();
}

void WindowWork::setBusyLook(bool busy) {
    for (QWidget* control : blocked_)
        control->setEnabled(!busy);
    escape_->setEnabled(busy);
    if (cancelButton_)
        cancelButton_->setVisible(busy);
    if (busy) {
        status_->show();
        window_->setCursor(Qt::WaitCursor);
        progressTimer_.start();
    } else {
        window_->unsetCursor();
        progressTimer_.stop();
    }
}

bool succeeded(std::exception_ptr failure, WindowWork& work, QWidget* window, const QString& what) {
    try {
        if (failure)
            std::rethrow_exception(failure);
        return true;
    } catch (const WorkCancelled&) {
        work.showOutcome(what + "已取消");
    } catch (const std::exception& error) {
        showPrompt(window, QString("%1未完成：%2").arg(what, QString::fromUtf8(error.what())));
    }
    return false;
}
