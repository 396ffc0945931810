#include "AboutBox.h"

#include "AboutText.h"
#include "UserManual.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

AboutBox::AboutBox(const Connection& connection, QWidget* parent)
    : QDialog(parent), text(new QPlainTextEdit(this)), copyButton(new QPushButton("复制", this)),
      closeButton(new QPushButton("关闭", this)) {
    setManualPage(*this, "index");
    setObjectName("AboutBox");
    setWindowTitle("关于现存量查询");
    text->setObjectName("aboutText");
    text->setReadOnly(true);
    text->setPlainText(aboutText(connection));
    text->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    copyButton->setObjectName("copyButton");
    closeButton->setObjectName("closeButton");
    closeButton->setDefault(true);
    connect(copyButton, &QPushButton::clicked, this,
            [this] { QApplication::clipboard()->setText(text->toPlainText()); });
    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(copyButton);
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addLayout(buttons);
    resize(620, 520);
}

void showAboutBox(const Connection& connection, QWidget* parent) {
    AboutBox box(connection, parent);
    box.exec();
}
