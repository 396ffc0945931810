#pragma once

class QString;
class QWidget;

// Every report of the program: a message box with one OK button and no icon.

// Input checks and failed queries: caption "提示", owned by the window that ran the command.
void showPrompt(QWidget* owner, const QString& text);

// Settings store errors: caption "错误信息", no owner window.
void showRegistryError(const QString& text);

// The application's plain message dialog: the application's title as caption, no owner,
// centred on the screen.
void showPlainMessage(const QString& text);
