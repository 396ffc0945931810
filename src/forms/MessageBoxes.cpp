#include "MessageBoxes.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace {

void showMessageBox(QWidget* owner, const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, owner);
    box.exec();
}

} // namespace

void showPrompt(QWidget* owner, const QString& text) {
    showMessageBox(owner, QStringLiteral("提示"), text);
}

void showRegistryError(const QString& text) {
    showMessageBox(nullptr, QStringLiteral("错误信息"), text);
}

void showPlainMessage(const QString& text) {
    showMessageBox(nullptr, QCoreApplication::applicationName(), text);
}
