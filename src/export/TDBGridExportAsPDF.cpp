#include "TDBGridExportAsPDF.h"

#include "ExportError.h"
#include "SaveStream.h"
#include "pages/PrintDocument.h"

#include <QIODevice>
#include <QPainter>
#include <QPdfWriter>

#include <ostream>

namespace {

// The stream as the device the PDF writer writes into, front to back.
class StreamDevice : public QIODevice {
public:
    explicit StreamDevice(std::ostream& stream) : stream_(stream) { open(QIODevice::WriteOnly); }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        stream_.write(data, static_cast<std::streamsize>(size));
        return stream_ ? size : -1;
    }

private:
    std::ostream& stream_;
};

} // namespace

void TDBGridExportAsPDF::WriteGridToStream(std::ostream& stream, const ExportLayout& layout,
                                           const TableSnapshot& query) {
    CheckOpen(query);
    WorkControl& work = control();
    PrintDocument document(layout, query, pageFrameNow(layout), work); // adds up the footer
    StreamDevice device(stream);
    QPdfWriter writer(&device);
    writer.setCreator("stockquery");
    writer.setTitle(layout.title);
    writer.setResolution(PagePlan::kGridDpi); // a unit of the painter is a grid pixel
    writer.setPageLayout(pdfPageLayout());
    document.setPageArea(QSizeF(writer.width(), writer.height()));
    work.setTotal(query.rowCount());
    QPainter painter(&writer);
    for (std::size_t page = 0; page < document.pageCount(); ++page) {
        work.throwIfCancelled();
        if (page > 0)
            writer.newPage();
        document.paint(painter, page);
        work.setDone(document.page(page).endRow);
        if (!stream)
            throw ExportError(failureOf(stream));
    }
    painter.end();
    if (!stream)
        throw ExportError(failureOf(stream));
}
