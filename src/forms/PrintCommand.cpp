#include "PrintCommand.h"

#include "MessageBoxes.h"
#include "PrintPreview.h"
#include "QueryFrame.h"
#include "WindowWork.h"
#include "export/ExportError.h"
#include "export/SaveStream.h"
#include "grid/GridBody.h"
#include "grid/GridExportLayout.h"
#include "grid/ResultGrid.h"
#include "pages/PrintDocument.h"

#include <QPainter>
#include <QPrinter>
#include <QScopeGuard>
#include <QTemporaryFile>

#include <memory>
#include <stdexcept>

namespace {

// The rows to print: all of them, or the picked ones when the user says so; none when the user
// calls the print off.
std::optional<TableSnapshot> rowsToPrint(QWidget* window, const ResultGrid& grid) {
    TableSnapshot rows(grid.query());
    const RowSelection& picked = grid.body()->selection();
    if (picked.isEmpty() || picked.count() == rows.rowCount())
        return rows;
    switch (askQuestion(window,
                        QString("已选中 %1 行。只打印选中的行吗？\n"
                                "（选“否”打印全部 %2 行）")
                            .arg(picked.count())
                            .arg(rows.rowCount()),
                        true)) {
    case Answer::Yes:
        return rows.only(picked.rows());
    case Answer::No:
        return rows;
    case Answer::Cancel:
        break;
    }
    return std::nullopt;
}

// Sends pages [first, last] of the document to the printer, between pages looking for a stop.
void drawPages(const PrintDocument& document, QPrinter& printer, std::size_t first,
               std::size_t last, WorkControl& control) {
    QPainter painter;
    if (!painter.begin(&printer))
        throw std::runtime_error("打印机无法开始打印，请检查打印机的设置。");
    // From grid pixels to the printer's.
    const double scale = static_cast<double>(printer.resolution()) / PagePlan::kGridDpi;
    painter.scale(scale, scale);
    control.setTotal(last - first + 1);
    for (std::size_t page = first; page <= last; ++page) {
        if (control.cancelled()) {
            printer.abort();
            control.throwIfCancelled();
        }
        if (page > first)
            printer.newPage();
        document.paint(painter, page);
        control.setDone(page - first + 1);
    }
    painter.end();
}

// The pages to the printer; a print to a file goes to a scratch file first and replaces the
// file named only when whole, as an export does: a cancel or a failure leaves the old file as
// it was and nothing beside it.
void printPages(const PrintDocument& document, QPrinter& printer, std::size_t first,
                std::size_t last, WorkControl& control) {
    const QString target = printer.outputFileName();
    if (target.isEmpty())
        return drawPages(document, printer, first, last, control);
    SaveStream file(target, control);
    QTemporaryFile scratch(QString::fromStdString(file.scratchFolder()) +
                           "/.stockquery-print-XXXXXX.partial");
    if (!scratch.open())
        throw ExportError("Cannot create file " + target.toStdString());
    printer.setOutputFileName(scratch.fileName());
    const auto named = qScopeGuard([&] { printer.setOutputFileName(target); });
    drawPages(document, printer, first, last, control);
    QFile printed(scratch.fileName());
    if (!printed.open(QIODevice::ReadOnly))
        throw ExportError("Cannot read " + scratch.fileName().toStdString());
    for (QByteArray block; !(block = printed.read(1 << 20)).isEmpty();)
        file.write(block.constData(), block.size());
    file.commit(control);
}

// The pages chosen in the print dialog, from 0, within the document.
std::pair<std::size_t, std::size_t> chosenPages(const QPrinter& printer, std::size_t pages) {
    const std::size_t last = pages - 1;
    if (printer.printRange() != QPrinter::PageRange || printer.fromPage() < 1)
        return {0, last};
    const auto from = static_cast<std::size_t>(printer.fromPage() - 1);
    const auto to = static_cast<std::size_t>(std::max(printer.toPage(), printer.fromPage()) - 1);
    return {std::min(from, last), std::min(to, last)};
}

void startPrinting(WindowWork& work, QWidget* window, std::shared_ptr<PrintDocument> document,
                   std::shared_ptr<QPrinter> printer) {
    const auto [first, last] = chosenPages(*printer, document->pageCount());
    work.start({
        [document, printer, first, last](WorkControl& control) {
            printPages(*document, *printer, first, last, control);
        },
        [](const WorkControl& control, double) {
            return QString("正在打印：第 %1 / %2 页").arg(control.done()).arg(control.total());
        },
        [&work, window, pages = last - first + 1](std::exception_ptr error) {
            if (succeeded(error, work, window, "打印"))
                work.showOutcome(QString("已打印 %1 页").arg(pages));
        },
        WindowWork::Task::Uses::Nothing, // it holds the rows and the printer
    });
}

// The preview over `window`; the print once the user accepts the print dialog in it.
void preview(WindowWork& work, QWidget* window, std::shared_ptr<PrintDocument> document) {
    auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    // The paper of the PDF export, A4 across with its margins, so that the print and the PDF
    // lay the rows out alike (the printer's own default is Letter under some locales).
    if (!printer->setPageLayout(pdfPageLayout())) {
        printer->setPageSize(QPageSize(QPageSize::A4));
        printer->setPageOrientation(QPageLayout::Landscape);
    }
    printer->setDocName(window->windowTitle());
    document->setPageArea(printableArea(*printer));
    if (document->pageCount() > kPagesWithoutAsking &&
        askQuestion(window,
                    QString("要打印的结果共有 %1 行，约 %2 页。确定要预览并打印吗？")
                        .arg(document->rowCount())
                        .arg(document->pageCount()),
                    false) != Answer::Yes)
        return;
    PrintPreview dialog(*document, *printer, window);
    if (dialog.exec() == QDialog::Accepted && !work.busy())
        startPrinting(work, window, std::move(document), std::move(printer));
}

} // namespace

void printGridCommand(WindowWork& work, QWidget* window, ResultGrid& grid) {
    if (!resultReadyFor(work, window, grid, "打印"))
        return;
    std::optional<TableSnapshot> rows = rowsToPrint(window, grid);
    if (!rows)
        return;
    auto document = std::make_shared<std::shared_ptr<PrintDocument>>();
    ExportLayout layout = exportLayout(grid);
    PageFrame frame = pageFrameNow(layout);
    work.start({
        [document, layout = std::move(layout), rows = std::move(*rows),
         frame = std::move(frame)](WorkControl& control) {
            *document = std::make_shared<PrintDocument>(layout, rows, frame, control);
        },
        [](const WorkControl&, double) { return QString("正在准备打印……"); },
        [&work, window, document](std::exception_ptr error) {
            if (succeeded(error, work, window, "打印"))
                preview(work, window, std::move(*document));
        },
        WindowWork::Task::Uses::Nothing,
    });
}
