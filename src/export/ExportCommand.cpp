#include "ExportCommand.h"

#include "GridExportLayout.h"
#include "TDBGridExportAsHTML.h"
#include "TDBGridExportAsRTF.h"
#include "TDBGridExportAsText.h"
#include "TDBGridExportAsXLS.h"
#include "forms/MessageBoxes.h"
#include "grid/BusyCursor.h"
#include "grid/ResultGrid.h"

#include <QDate>
#include <QFileDialog>

namespace {

// The dialog's file types, first to last: Excel, RTF, HTML, text; and the suffix that each
// gives a name typed without one.
const QStringList kFileTypes = {"Excel 文档( *.xls)", "Word 文档(*.RTF)", "Html 网页(*.html)",
                                "纯文本  文档 (*.txt)"};
const QStringList kSuffixes = {"xls", "rtf", "html", "txt"};

// The 1-based index of a file type as the dialog gives it back (blanks simplified); 0 for
// none of them.
int fileTypeOf(const QString& nameFilter) {
    const QString chosen = nameFilter.simplified();
    for (qsizetype i = 0; i < kFileTypes.size(); ++i)
        if (kFileTypes[i].simplified() == chosen)
            return static_cast<int>(i) + 1;
    return 0;
}

template <typename Writer> WriterFactory writerClass() {
    return [] { return std::make_unique<Writer>(); };
}

WriterFactory writerFor(int fileType) {
    switch (fileType) {
    case 1:
        return writerClass<TDBGridExportAsXLS>();
    case 2:
        return writerClass<TDBGridExportAsRTF>();
    case 3:
        return writerClass<TDBGridExportAsHTML>();
    case 4:
        return writerClass<TDBGridExportAsText>();
    default:
        return {};
    }
}

} // namespace

std::size_t RunGridExport(const WriterFactory& writerClass, ResultGrid& grid, const QString& path,
                          bool) {
    // Every row is written, whatever is selected: the grid has no row selection.
    const BusyCursor busy;
    const std::unique_ptr<TDBGridExport> writer = writerClass();
    writer->WriteGridToFile(path, exportLayout(grid), grid.query());
    return writer->replacedCells();
}

std::optional<std::size_t> ExportGridWithDialog(ResultGrid* grid, const QString& defaultName,
                                                ExportFormat format) {
    if (!grid)
        return std::nullopt;
    QString path;
    int fileType = 0;
    {
        QFileDialog dialog(nullptr);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setNameFilters(kFileTypes);
        dialog.setDefaultSuffix("xls");
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                         [&dialog](const QString& filter) {
                             if (const int type = fileTypeOf(filter))
                                 dialog.setDefaultSuffix(kSuffixes[type - 1]);
                         });
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        dialog.selectFile(defaultName);
        const int index = static_cast<int>(format);
        if (index >= 0 && index < kFileTypes.size())
            dialog.selectNameFilter(kFileTypes[index]);
        if (dialog.exec() == QDialog::Accepted)
            path = dialog.selectedFiles().value(0);
        fileType = fileTypeOf(dialog.selectedNameFilter());
    }
    if (path.isEmpty())
        return std::nullopt;
    if (const WriterFactory writer = writerFor(fileType))
        return RunGridExport(writer, *grid, path, true);
    return 0;
}

void exportGridCommand(QWidget* window, ResultGrid* grid, const QString& prefix,
                       const QString& unfinished) {
    const QString name = prefix + QDate::currentDate().toString("yyyyMMdd");
    try {
        const std::optional<std::size_t> replaced =
            ExportGridWithDialog(grid, name, ExportFormat::Excel);
        if (!replaced)
            showPrompt(window, unfinished);
        else if (*replaced > 0)
            showPrompt(window,
                       QString("文件已写好。其中 %1 个单元格含有 GBK（代码页 936）无法表示的"
                               "字符，已写成“?”；Html 和 Word 格式会保留所有字符。")
                           .arg(*replaced));
    } catch (const std::exception& failure) {
        // What the program shows for any error that no window handles itself.
        showPlainMessage(QString::fromStdString(failure.what()));
    }
}
