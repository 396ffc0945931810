#pragma once

class QApplication;
class QString;
class QWidget;

// The user manual that ships beside the program, opened in the system's browser: 帮助 opens
// its contents, F1 the page of the window it is pressed in.

// Names the manual's page (its file without ".html") that F1 opens in `window` and in the
// dialogs it owns that name none of their own.
void setManualPage(QWidget& window, const char* page);

// F1 anywhere in the program opens the page of the window it was pressed in.
void installManualKey(QApplication& application);

// Opens `page` of the manual in the browser; says so over `owner` when the manual is not
// installed beside the program or no browser takes it.
void openManualPage(QWidget* owner, const QString& page);

// Where the manual's pages are: beside the program (Windows), in the installation's
// documentation (Linux) or in the build tree; empty when none holds its contents page.
QString manualFolder();
