#pragma once

class QString;
class QWidget;

// Every report of the program: a message box with one OK button and no icon; a question has
// 是 and 否, and 取消 where the command can still be called off.

// Input checks and failed queries: caption "提示", owned by the window that ran the command.
void showPrompt(QWidget* owner, const QString& text);

// Settings store errors: caption "错误信息", no owner window.
void showRegistryError(const QString& text);

// The application's plain message dialog: the application's title as caption, no owner,
// centred on the screen.
void showPlainMessage(const QString& text);

// A question about the command the user gave: caption "提示", owned by the window that asks.
enum class Answer { Yes, No, Cancel };
Answer askQuestion(QWidget* owner, const QString& text, bool canCancel);
