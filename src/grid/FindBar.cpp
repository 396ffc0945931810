#include "FindBar.h"

#include "GridBody.h"
#include "db/ResultQuery.h"
#include "table/BackgroundJob.h"
#include "table/ResultTableModel.h"
#include "table/TableSnapshot.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include <algorithm>

FindBar::FindBar(ResultTableModel& model, GridBody& body, QWidget* parent)
    : QWidget(parent), model_(model), body_(body), edit_(new QLineEdit(this)),
      status_(new QLabel(this)) {
    setObjectName("findBar");
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(new QLabel("查找：", this));
    edit_->setObjectName("findText");
    edit_->setClearButtonEnabled(true);
    edit_->installEventFilter(this);
    layout->addWidget(edit_, 1);
    const auto button = [&](const char* name, const QString& text, auto slot) {
        auto* b = new QToolButton(this);
        b->setObjectName(name);
        b->setText(text);
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus); // Tab stays between the text and the grid
        connect(b, &QToolButton::clicked, this, slot);
        layout->addWidget(b);
    };
    button("findPrevious", "上一个", [this] { findNext(false); });
    button("findNext", "下一个", [this] { findNext(true); });
    status_->setObjectName("findStatus");
    status_->setMinimumWidth(160);
    layout->addWidget(status_);
    button("findClose", "关闭", [this] { close(); });
    connect(edit_, &QLineEdit::textChanged, this, &FindBar::restart);
    // Sorting, a new result or the last row's arrival: the hits are counted again.
    const auto rowsMoved = [this] {
        if (isVisible())
            restart();
    };
    connect(&model_, &QAbstractItemModel::modelReset, this, rowsMoved);
    connect(&model_, &QAbstractItemModel::layoutChanged, this, rowsMoved);
    hide();
}

FindBar::~FindBar() = default;

void FindBar::open() {
    show();
    edit_->setFocus();
    edit_->selectAll();
    if (!edit_->text().isEmpty())
        restart();
}

void FindBar::close() {
    counting_.reset();
    body_.markFound({});
    hide();
    body_.setFocus();
}

void FindBar::restart() {
    counting_.reset();
    hits_.reset();
    nearby_.reset();
    const QString needle = edit_->text();
    body_.markFound(needle);
    if (needle.isEmpty() || !model_.query().isOpen()) {
        showStatus();
        return;
    }
    const std::vector<std::size_t> columns = model_.resultColumns();
    nearby_.emplace(needle, columns);
    const int from = std::max(body_.currentRow(), 0);
    const int near = nearby_->nearestHit(model_.query(), from, true, kNearbyRows);
    if (near >= 0)
        goTo(near);
    if (model_.query().isArriving()) { // the count waits for the last row
        showStatus();
        return;
    }
    auto counted = std::make_shared<std::vector<std::uint32_t>>();
    counting_ = std::make_unique<BackgroundJob>(
        [counted, rows = TableSnapshot(model_.query()), needle, columns](WorkControl& control) {
            TableFind find(needle, columns);
            *counted = find.allHits(rows, control);
        },
        [this, counted, placed = near >= 0](std::exception_ptr failure) {
            counting_.reset();
            if (!failure)
                takeCount(std::move(*counted), placed);
            showStatus();
        });
    showStatus();
}

void FindBar::takeCount(std::vector<std::uint32_t> hits, bool placed) {
    hits_ = std::move(hits);
    // No hit was near enough to go to at once: go to the next one now, going round.
    if (placed || hits_->empty())
        return;
    const auto from = static_cast<std::uint32_t>(std::max(body_.currentRow(), 0));
    const auto at = std::lower_bound(hits_->begin(), hits_->end(), from);
    goTo(static_cast<int>(at == hits_->end() ? hits_->front() : *at));
}

void FindBar::findNext(bool forward) {
    if (!isVisible()) {
        open();
        return;
    }
    if (!nearby_)
        return;
    const int current = body_.currentRow();
    if (hits_) {
        if (hits_->empty())
            return;
        const auto at = forward ? std::upper_bound(hits_->begin(), hits_->end(),
                                                   static_cast<std::uint32_t>(current))
                                : std::lower_bound(hits_->begin(), hits_->end(),
                                                   static_cast<std::uint32_t>(current));
        if (forward)
            goTo(static_cast<int>(at == hits_->end() ? hits_->front() : *at));
        else
            goTo(static_cast<int>(at == hits_->begin() ? hits_->back() : *std::prev(at)));
        return;
    }
    // Still counting: look on from the row beside the current one.
    const int count = model_.rowCount();
    if (count == 0)
        return;
    const int from = ((current + (forward ? 1 : -1)) % count + count) % count;
    if (const int near = nearby_->nearestHit(model_.query(), from, forward, kNearbyRows); near >= 0)
        goTo(near);
}

void FindBar::goTo(int position) {
    body_.setCurrentCell(position, body_.currentColumn());
    showStatus();
}

QString FindBar::statusText() const {
    return status_->text();
}

void FindBar::showStatus() {
    if (edit_->text().isEmpty()) {
        status_->clear();
    } else if (!hits_) {
        status_->setText(model_.query().isOpen() ? "正在查找……" : "没有结果可查");
    } else if (hits_->empty()) {
        status_->setText("没有找到");
    } else {
        const auto current = static_cast<std::uint32_t>(std::max(body_.currentRow(), 0));
        const auto at = std::lower_bound(hits_->begin(), hits_->end(), current);
        const qsizetype count = static_cast<qsizetype>(hits_->size());
        status_->setText(at != hits_->end() && *at == current
                             ? QString("第 %1 个，共 %2 个").arg(at - hits_->begin() + 1).arg(count)
                             : QString("共 %1 个").arg(count));
    }
}

bool FindBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool shift = key->modifiers().testFlag(Qt::ShiftModifier);
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_F3:
            findNext(!shift);
            return true;
        case Qt::Key_Escape:
            close();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
