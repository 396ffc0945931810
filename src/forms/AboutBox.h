#pragma once

#include <QDialog>

class Connection;
class QPlainTextEdit;
class QPushButton;

// 关于: what the program is, its licence, the libraries it uses and the connection in use, as
// text that can be selected, and a 复制 button that copies all of it for a support request.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    AboutBox(const Connection& connection, QWidget* parent);

    QPlainTextEdit* text;
    QPushButton* copyButton;
    QPushButton* closeButton;
};

// Opens 关于 over `parent`, modally, for the connection the windows work on.
void showAboutBox(const Connection& connection, QWidget* parent);
