#pragma once

#include <QString>

struct ExportPreferences;

// Where the save dialogs (输出, 保存图片) open: the folder of the last file saved by either,
// else the user's documents; never the folder the program was started in (on Windows its own
// folder under Program Files, where a user cannot write).
QString saveDialogFolder(const ExportPreferences& last);

// Remembers the folder of `savedPath` for the next save dialog, keeping the file type stored.
void rememberSaveFolder(const QString& savedPath);
