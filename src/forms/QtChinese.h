#pragma once

// Loads Qt's own texts (standard dialogs, message-box buttons) in Simplified Chinese, whatever
// the system language. False when Qt's translations are not installed: the texts stay English.
bool installQtChinese();
