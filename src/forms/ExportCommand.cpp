#include "ExportCommand.h"

#include "MessageBoxes.h"
#include "SaveDialog.h"
#include "SaveFolder.h"
#include "WindowWork.h"
#include "export/ExportError.h"
#include "export/ExportFileTypes.h"
#include "export/TDBGridExport.h"
#include "export/TDBGridExportAsXLS.h"
#include "grid/GridExportLayout.h"
#include "grid/ResultGrid.h"
#include "settings/ExportPreferences.h"

#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include <vector>

namespace {

// The save dialog's file types, first to last; the 1-based index of a type is its place here.
std::vector<const ExportFileType*> fileTypes() {
    std::vector<const ExportFileType*> offered;
    for (const ExportFileType& type : exportFileTypes())
        if (!type.filter.isEmpty())
            offered.push_back(&type);
    return offered;
}

// The 1-based index of a file type as the dialog gives it back (blanks simplified); 0 for
// none of them.
int fileTypeOf(const QString& nameFilter) {
    const QString chosen = nameFilter.simplified();
    const std::vector<const ExportFileType*> types = fileTypes();
    for (std::size_t i = 0; i < types.size(); ++i)
        if (types[i]->filter.simplified() == chosen)
            return static_cast<int>(i) + 1;
    return 0;
}

// The 1-based index of the dialog's file type of a command-line name; 0 for none.
int fileTypeNamed(std::string_view name) {
    const std::vector<const ExportFileType*> types = fileTypes();
    for (std::size_t i = 0; i < types.size(); ++i)
        if (types[i]->name == name)
            return static_cast<int>(i) + 1;
    return 0;
}

// The 1-based index of the dialog's file type whose suffix a file name ends in (in any case);
// 0 for a name without one or with one that no type has.
int fileTypeOfName(const QString& path) {
    const QString suffix = QFileInfo(path).suffix();
    const std::vector<const ExportFileType*> types = fileTypes();
    for (std::size_t i = 0; i < types.size() && !suffix.isEmpty(); ++i)
        if (types[i]->suffix.compare(suffix, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i) + 1;
    return 0;
}

const ExportFileType* fileTypeAt(int index) {
    const std::vector<const ExportFileType*> types = fileTypes();
    const auto at = static_cast<std::size_t>(index - 1);
    return index >= 1 && at < types.size() ? types[at] : nullptr;
}

QString replacedMessage(std::size_t replaced) {
    return QString("文件已写好。其中 %1 个单元格含有 GBK（代码页 936）无法表示的字符，已写成“?”；"
                   "Html、Word、Excel 工作簿和 CSV (UTF-8) 格式会保留所有字符。")
        .arg(replaced);
}

} // namespace

void RunGridExport(WindowWork& work, const WriterFactory& writerClass, ResultGrid& grid,
                   const QString& path, bool, const std::function<void(std::size_t)>& written) {
    // Every row is written, whatever is selected. The layout and the rows in their order are
    // taken here, on the interface thread: the window may sort or query again meanwhile.
    auto replaced = std::make_shared<std::size_t>(0);
    work.start({
        [replaced, writerClass, path, layout = exportLayout(grid),
         rows = TableSnapshot(grid.query())](WorkControl& control) {
            const std::unique_ptr<TDBGridExport> writer = writerClass();
            writer->watchWith(control);
            writer->WriteGridToFile(path, layout, rows);
            *replaced = writer->replacedCells();
        },
        [](const WorkControl& control, double) {
            if (control.stage() == WorkControl::Stage::Finishing)
                return QString("正在输出：%1 条记录已写出，正在压缩 Excel 工作簿……")
                    .arg(control.total());
            return QString("正在输出：已写出 %1 / %2 条记录")
                .arg(control.done())
                .arg(control.total());
        },
        [&work, &grid, path, replaced, written](std::exception_ptr error) {
            try {
                if (error)
                    std::rethrow_exception(error);
            } catch (const WorkCancelled&) {
                work.showOutcome("输出已取消");
                return;
            } catch (const ReadOnlyTarget&) {
                showPrompt(grid.window(),
                           QString("文件“%1”是只读的，没有替换它。请另选文件名再输出。")
                               .arg(QDir::toNativeSeparators(path)));
                return;
            } catch (const std::exception& failure) {
                // What the program shows for any error that no window handles itself.
                showPlainMessage(QString::fromStdString(failure.what()));
                return;
            }
            written(*replaced);
        },
        WindowWork::Task::Uses::Nothing, // it holds what it writes
    });
}

namespace {

// The file type the dialog offers first: that of the last export, else `format`'s. A result
// that a worksheet cannot hold is told so first, and offered the workbook instead.
int firstFileType(const ExportPreferences& last, ExportFormat format, const ResultGrid& grid) {
    const int remembered = fileTypeNamed(last.fileType);
    const int first = remembered > 0 ? remembered : static_cast<int>(format) + 1;
    const std::size_t rows = grid.query().isOpen() ? grid.query().rowCount() : 0;
    if (fileTypeAt(first)->name != "xls" || rows <= TDBGridExportAsXLS::kMaxRecords)
        return first;
    showPrompt(grid.window(),
               QString("结果有 %1 条记录，Excel 文档 (*.xls) 最多只能放 %2 条。请在接下来的"
                       "对话框中选用 Excel 工作簿 (*.xlsx) 或 CSV 文件 (UTF-8) (*.csv)，它们能放"
                       "一百多万条记录。")
                   .arg(rows)
                   .arg(TDBGridExportAsXLS::kMaxRecords));
    return fileTypeNamed("xlsx");
}

} // namespace

bool ExportGridWithDialog(WindowWork& work, ResultGrid* grid, const QString& defaultName,
                          ExportFormat format, const std::function<void(std::size_t)>& written) {
    if (!grid || work.busy())
        return false;
    const ExportPreferences last = readExportPreferences();
    const int first = firstFileType(last, format, *grid);
    QString path;
    int fileType = 0;
    {
        QFileDialog dialog(nullptr);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        readyChineseSaveDialog(dialog);
        QStringList filters;
        for (const ExportFileType* type : fileTypes())
            filters << type->filter;
        dialog.setNameFilters(filters);
        dialog.setDefaultSuffix(fileTypeAt(first)->suffix);
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                         [&dialog](const QString& filter) {
                             if (const ExportFileType* type = fileTypeAt(fileTypeOf(filter)))
                                 dialog.setDefaultSuffix(type->suffix);
                         });
        dialog.setDirectory(saveDialogFolder(last));
        dialog.selectFile(defaultName);
        dialog.selectNameFilter(fileTypeAt(first)->filter);
        if (dialog.exec() == QDialog::Accepted)
            path = dialog.selectedFiles().value(0);
        fileType = fileTypeOf(dialog.selectedNameFilter());
    }
    // A name typed with a known extension says what the file is, as on the command's line.
    if (const int named = fileTypeOfName(path); named > 0)
        fileType = named;
    const ExportFileType* type = fileTypeAt(fileType);
    if (path.isEmpty() || !type)
        return false;
    writeExportPreferences({QFileInfo(path).absolutePath().toStdString(), type->name});
    RunGridExport(work, type->writer, *grid, path, true, written);
    return true;
}

void exportGridCommand(WindowWork& work, QWidget* window, ResultGrid* grid, const QString& prefix,
                       const QString& unfinished) {
    if (work.busy())
        return;
    const QString name = prefix + QDate::currentDate().toString("yyyyMMdd");
    const bool named =
        ExportGridWithDialog(work, grid, name, ExportFormat::Excel, [window](std::size_t replaced) {
            if (replaced > 0)
                showPrompt(window, replacedMessage(replaced));
        });
    if (!named)
        showPrompt(window, unfinished);
}