#pragma once

#include "export/ExportFileTypes.h"

#include <QString>

#include <functional>
#include <memory>

class QWidget;
class ResultGrid;
class TDBGridExport;
class WindowWork;

// The four formats in the order of the save dialog's file types.
enum class ExportFormat { Excel = 0, Rtf = 1, Html = 2, Text = 3 };

// Asks for a file in the save dialog and writes the grid in the format of the chosen file type
// (never that of the name's extension) on a worker thread as `work`. False when there is no
// grid, other work runs or no file was named. Once the file is whole, `written` hears how many
// cells the format had to write with "?"; a failure of the writer is the program's error
// message, and a cancel leaves the old file as it was.
bool ExportGridWithDialog(WindowWork& work, ResultGrid* grid, const QString& defaultName,
                          ExportFormat format, const std::function<void(std::size_t)>& written);

// One writer, created for one export on the worker thread and destroyed after it, whether or
// not it succeeded.
void RunGridExport(WindowWork& work, const WriterFactory& writerClass, ResultGrid& grid,
                   const QString& path, bool allRows,
                   const std::function<void(std::size_t)>& written);

// A window's "输出" button: proposes `prefix` and today's date as the file name; shows
// `unfinished` when no file was named, and after a written file how many cells lost
// characters to "?".
void exportGridCommand(WindowWork& work, QWidget* window, ResultGrid* grid, const QString& prefix,
                       const QString& unfinished);
