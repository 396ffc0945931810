#pragma once

class QFileDialog;

// Readies a save dialog (输出, 保存图片) to read as Chinese: Qt's dialog shows its file list
// through the system locale and the type names of the system's language, which under a C
// locale are English ("Folder", "9 Dec 2026"); the list then gives sizes and dates in the
// program's locale and names types in Chinese. It also opens wide enough for its columns.
void readyChineseSaveDialog(QFileDialog& dialog);
