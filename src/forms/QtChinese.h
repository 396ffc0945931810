#pragma once

// Loads Qt's own texts (standard dialogs, message-box buttons) in Simplified Chinese, whatever
// the system language, from Qt's translations or a "translations" folder beside the program.
// False when neither holds them: the texts stay English.
bool installQtChinese();

class QLocale;

// Where the system gives no locale (C or POSIX), the program reads as Chinese (China): date
// pickers, calendars and the dialogs' dates. A real system locale is kept.
void useChineseWithoutSystemLocale(const QLocale& system);
