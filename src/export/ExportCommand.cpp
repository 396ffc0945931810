#include "ExportCommand.h"

#include "GridExportLayout.h"
#include "TDBGridExportAsHTML.h"
#include "TDBGridExportAsRTF.h"
#include "TDBGridExportAsText.h"
#include "TDBGridExportAsXLS.h"
#include "common/BusyCursor.h"
#include "common/MessageBoxes.h"
#include "common/ResultGrid.h"

#include <QDate>
#include <QFileDialog>

namespace {

// The dialog's file types, first to last: Excel, RTF, HTML, text.
const QStringList kFileTypes = {"Excel 文档( *.xls)", "Word 文档(*.RTF)", "Html 网页(*.html)",
                                "纯文本  文档 (*.txt)"};

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

void RunGridExport(const WriterFactory& writerClass, ResultGrid& grid, const QString& path, bool) {
    // Every row is written, whatever is selected: the grid has no row selection.
    const BusyCursor busy;
    const std::unique_ptr<TDBGridExport> writer = writerClass();
    writer->WriteGridToFile(path, exportLayout(grid), grid.query());
}

bool ExportGridWithDialog(ResultGrid* grid, const QString& defaultName, ExportFormat format) {
    if (!grid)
        return false;
    QString path;
    int fileType = 0;
    {
        QFileDialog dialog(nullptr);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setNameFilters(kFileTypes);
        dialog.setDefaultSuffix("xls");
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        dialog.selectFile(defaultName);
        const int index = static_cast<int>(format);
        if (index >= 0 && index < kFileTypes.size())
            dialog.selectNameFilter(kFileTypes[index]);
        if (dialog.exec() == QDialog::Accepted)
            path = dialog.selectedFiles().value(0);
        // The dialog gives the file type back with its blanks simplified.
        const QString chosen = dialog.selectedNameFilter().simplified();
        for (qsizetype i = 0; i < kFileTypes.size(); ++i)
            if (kFileTypes[i].simplified() == chosen)
                fileType = static_cast<int>(i) + 1;
    }
    if (path.isEmpty())
        return false;
    if (const WriterFactory writer = writerFor(fileType))
        RunGridExport(writer, *grid, path, true);
    return true;
}

void exportGridCommand(QWidget* window, ResultGrid* grid, const QString& prefix,
                       const QString& unfinished) {
    const QString name = prefix + QDate::currentDate().toString("yyyyMMdd");
    try {
        if (!ExportGridWithDialog(grid, name, ExportFormat::Excel))
            showPrompt(window, unfinished);
    } catch (const std::exception& failure) {
        // What the program shows for any error that no window handles itself.
        showPlainMessage(QString::fromStdString(failure.what()));
    }
}
