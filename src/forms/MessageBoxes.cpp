#include "MessageBoxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGridLayout>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QSpacerItem>
#include <QTimer>

namespace {

// Room beside a caption in the title bar: the system's icon and close button.
constexpr int kTitleBarRoom = 120;

// A message box no narrower than its caption needs, centred over the window `over`, or on the
// screen without one, rather than wherever the system puts it; the button clicked.
QMessageBox::StandardButton showMessageBox(QWidget* owner, const QString& caption,
                                           const QString& text, const QWidget* over,
                                           QMessageBox::StandardButtons buttons = QMessageBox::Ok) {
    QMessageBox box(QMessageBox::NoIcon, caption, text, buttons, owner);
    // The program's own words, whether or not Qt's translations are installed.
    const std::pair<QMessageBox::StandardButton, const char*> words[] = {
        {QMessageBox::Yes, "是"}, {QMessageBox::No, "否"}, {QMessageBox::Cancel, "取消"}};
    for (const auto& [button, word] : words)
        if (QAbstractButton* shown = box.button(button))
            shown->setText(QString::fromUtf8(word));
    // QMessageBox keeps its own width; a spacer across its layout is what widens it.
    if (auto* layout = qobject_cast<QGridLayout*>(box.layout()))
        layout->addItem(
            new QSpacerItem(box.fontMetrics().horizontalAdvance(caption) + kTitleBarRoom, 0,
                            QSizePolicy::Minimum, QSizePolicy::Expanding),
            layout->rowCount(), 0, 1, layout->columnCount());
    // Placed once shown, when the box has its final size.
    QTimer::singleShot(0, &box, [&box, over = QPointer<const QWidget>(over)] {
        const QRect area = over && over->isVisible() ? over->window()->frameGeometry()
                                                     : box.screen()->availableGeometry();
        box.move(area.center() - QRect(QPoint(), box.frameGeometry().size()).center());
    });
    box.exec();
    return box.standardButton(box.clickedButton());
}

} // namespace

void showPrompt(QWidget* owner, const QString& text) {
    showMessageBox(owner, QStringLiteral("提示"), text, owner);
}

void showRegistryError(const QString& text) {
    // Owned by no window, but shown over the one the user works in (at start-up the main one).
    showMessageBox(nullptr, QStringLiteral("错误信息"), text, QApplication::activeWindow());
}

void showPlainMessage(const QString& text) {
    showMessageBox(nullptr, QCoreApplication::applicationName(), text, nullptr);
}

Answer askQuestion(QWidget* owner, const QString& text, bool canCancel) {
    const QMessageBox::StandardButtons buttons =
        QMessageBox::Yes | QMessageBox::No |
        (canCancel ? QMessageBox::Cancel : QMessageBox::NoButton);
    switch (showMessageBox(owner, QStringLiteral("提示"), text, owner, buttons)) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return canCancel ? Answer::Cancel : Answer::No; // the box closed by Escape
    }
}
