#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

// Answers every message box that opens while it lives, the way a user would: notes its
// caption, text, owner and buttons, then presses OK, or the answer a question is to get.
class MessageBoxWatcher : public QObject {
public:
    struct Seen {
        QString caption;
        QString text;
        QWidget* owner;
        int buttons;
        bool hasIcon;
        QRect geometry; // as it stood when answered
    };

    MessageBoxWatcher() {
        connect(&timer_, &QTimer::timeout, this, [this] { answer(); });
        timer_.start(10);
    }

    // The button pressed in a question (是, 否 or 取消).
    void answerQuestionsWith(QMessageBox::StandardButton answer) { answer_ = answer; }

    const QList<Seen>& seen() const { return seen_; }
    QStringList texts() const {
        QStringList texts;
        for (const Seen& s : seen_)
            texts << s.text;
        return texts;
    }

private:
    void answer() {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            if (!box || !box->isVisible() || answered_.contains(box))
                continue;
            answered_ << box;
            seen_.append({box->windowTitle(), box->text(), box->parentWidget(),
                          static_cast<int>(box->buttons().size()), !box->iconPixmap().isNull(),
                          box->frameGeometry()});
            QAbstractButton* ok = box->button(QMessageBox::Ok);
            (ok ? ok : box->button(answer_))->click();
        }
    }

    QTimer timer_;
    QMessageBox::StandardButton answer_ = QMessageBox::Yes;
    QList<Seen> seen_;
    QList<QPointer<QMessageBox>> answered_;
};
