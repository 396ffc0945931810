#include "TDBGridExportAsPDF.h"

#include <QDateTime>
#include <QIODevice>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

#include <ostream>

namespace {

constexpr double kMarginMillimetres = 10;

// The walk's stream as the device the PDF writer writes into, front to back.
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

TDBGridExportAsPDF::TDBGridExportAsPDF() {
    writeUtf8(); // every character is kept
}

TDBGridExportAsPDF::~TDBGridExportAsPDF() {
    if (painter_.isActive())
        painter_.end();
}

void TDBGridExportAsPDF::WriteGridToStream(std::ostream& stream, const ExportLayout& layout,
                                           const TableSnapshot& query) {
    rows_ = query.isOpen() ? query.rowCount() : 0;
    TDBGridExport::WriteGridToStream(stream, layout, query);
}

void TDBGridExportAsPDF::BeginDocument() {
    device_ = std::make_unique<StreamDevice>(output());
    writer_ = std::make_unique<QPdfWriter>(device_.get());
    writer_->setCreator("stockquery");
    writer_->setTitle(layout().title);
    writer_->setResolution(PagePlan::kGridDpi); // a unit of the painter is a grid pixel
    writer_->setPageLayout(QPageLayout(
        QPageSize(QPageSize::A4), QPageLayout::Landscape,
        QMarginsF(kMarginMillimetres, kMarginMillimetres, kMarginMillimetres, kMarginMillimetres),
        QPageLayout::Millimeter));
    const double width = writer_->width();
    const double height = writer_->height();
    plan_.emplace(PagePainter::sizes(layout(), rows_, width, height));
    const PageFrame frame{layout().title, layout().criteria,
                          QDateTime::currentDateTime().toString("yyyy-MM-dd HH:mm")};
    pages_.emplace(layout(), *plan_, frame, width, height);
    block_.clear();
    footer_.clear();
    nextPage_ = 0;
    painter_.begin(writer_.get());
}

void TDBGridExportAsPDF::EmitRecordRow(const std::vector<ExportColumn>& columns) {
    row_.clear();
    TDBGridExport::EmitRecordRow(columns);
    block_.push_back(std::move(row_));
    if (block_.size() == plan_->rowsPerPage())
        paintBlock();
}

void TDBGridExportAsPDF::EmitDataCell(const ExportColumn&, const TColCellParams& cell) {
    row_.push_back(cell);
}

void TDBGridExportAsPDF::EmitFooterCell(std::size_t, int row, const QString& text,
                                        Alignment alignment, QRgb colour, const ExportFont& font,
                                        const ExportColumn&) {
    if (row == 0)
        footer_.push_back({font, colour, alignment, text});
}

void TDBGridExportAsPDF::EndDocument() {
    if (nextPage_ < plan_->pageCount())
        paintBlock(); // the last rows, and the footer row after them
    painter_.end();
    writer_.reset();
    device_.reset();
}

void TDBGridExportAsPDF::paintBlock() {
    for (std::size_t band = 0; band < plan_->bands().size(); ++band) {
        if (nextPage_ > 0)
            writer_->newPage();
        pages_->paint(painter_, nextPage_++, block_, footer_);
    }
    block_.clear();
}
