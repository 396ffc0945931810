#pragma once

#include <QString>

#include <functional>
#include <memory>

class QWidget;
class ResultGrid;
class TDBGridExport;

// The four formats in the order of the save dialog's file types.
enum class ExportFormat { Excel = 0, Rtf = 1, Html = 2, Text = 3 };

using WriterFactory = std::function<std::unique_ptr<TDBGridExport>()>;

#include <optional>

// Asks for a file in the save dialog and writes the grid in the format of the chosen file type
// (never that of the name's extension). Nothing when there is no grid or no file was named;
// otherwise the cells whose characters the format had to write as "?". Failures of the writer
// pass on to the caller.
std::optional<std::size_t> ExportGridWithDialog(ResultGrid* grid, const QString& defaultName,
                                                ExportFormat format);

// One writer, created for one export and destroyed after it, whether or not it succeeded;
// gives the cells it wrote with "?".
std::size_t RunGridExport(const WriterFactory& writerClass, ResultGrid& grid, const QString& path,
                          bool allRows);

// A window's "输出" button: proposes `prefix` and today's date as the file name; shows
// `unfinished` when nothing was written, any failure of the writer as the program's error
// message, and after a written file how many cells lost characters to "?".
void exportGridCommand(QWidget* window, ResultGrid* grid, const QString& prefix,
                       const QString& unfinished);
