#include "MessageBoxes.h"

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
// screen without one, rather than wherever the system puts it.
void showMessageBox(QWidget* owner, const QString& caption, const QString& text,
                    const QWidget* over) {
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, owner);
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
