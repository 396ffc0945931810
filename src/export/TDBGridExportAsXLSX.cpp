#include "TDBGridExportAsXLSX.h"

#include "ExportError.h"
#include "SaveStream.h"
#include "platform/CommandLine.h"
#include "platform/FileCalls.h"
#include "platform/PartialFile.h"
#include "result/DateTime.h"
#include "result/ResultColumn.h"
#include "table/TableSnapshot.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <bit>
#include <fstream>
#include <map>
#include <optional>

namespace {

// Excel counts days from 1899-12-30; 1970-01-01 is day 25569.
constexpr double kEpochSerial = 25569.0;
// What a cell holds at most, in characters.
constexpr std::size_t kMaxCellCharacters = 32767;
// Dates as the grid shows them, the time only where there is one. The text section ";@" keeps
// readers from taking the code for their locale's standard date.
constexpr const char* kDateFormat = "yyyy/m/d;@";
constexpr const char* kDateTimeFormat = "yyyy/m/d hh:mm:ss;@";

lxw_color_t colourOf(QRgb rgb) {
    return static_cast<lxw_color_t>(rgb & 0xFFFFFF);
}

// The text cut after `kMaxCellCharacters` characters.
std::string_view cellSized(std::string_view utf8) {
    if (utf8.size() <= kMaxCellCharacters)
        return utf8;
    std::size_t characters = 0;
    for (std::size_t at = 0; at < utf8.size(); ++at)
        if ((static_cast<unsigned char>(utf8[at]) & 0xC0) != 0x80 &&
            ++characters > kMaxCellCharacters)
            return utf8.substr(0, at);
    return utf8;
}

// The decimals a fixed-point value needs, 0 to 4.
int decimalsOf(std::int64_t tenThousandths) {
    const std::int64_t fraction = tenThousandths % 10000;
    if (fraction == 0)
        return 0;
    if (fraction % 1000 == 0)
        return 1;
    if (fraction % 100 == 0)
        return 2;
    return fraction % 10 == 0 ? 3 : 4;
}

} // namespace

struct TDBGridExportAsXLSX::Workbook {
    ~Workbook() {
        if (book)
            lxw_workbook_free(book); // not closed: nothing more goes into the file
    }
    lxw_workbook* book = nullptr;
    lxw_worksheet* sheet = nullptr;
    lxw_format* title = nullptr;
    lxw_format* dateTime = nullptr;  // for a date with a time of day
    std::vector<lxw_format*> data;   // per column; null for texts
    std::vector<lxw_format*> footer; // per column
    std::map<std::string, lxw_format*> byNumberFormat;
};

TDBGridExportAsXLSX::TDBGridExportAsXLSX() = default;
TDBGridExportAsXLSX::~TDBGridExportAsXLSX() = default;

void TDBGridExportAsXLSX::CheckFits(const TableSnapshot& query) const {
    if (query.isOpen() && query.rowCount() > kMaxRecords)
        throw ExportError(QString("结果有 %1 条记录，Excel 工作簿最多只能放 %2 条记录（另有标题行"
                                  "和合计行）。请选用 Html、纯文本或 CSV 格式输出，它们没有这个"
                                  "限制。")
                              .arg(query.rowCount())
                              .arg(kMaxRecords)
                              .toStdString());
}

void TDBGridExportAsXLSX::WriteGridToStream(std::ostream& stream, const ExportLayout& layout,
                                            const TableSnapshot& query) {
    CheckFits(query);
    CheckOpen(query);
    // libxlsxwriter makes the workbook in a file of its own, which then goes through the
    // stream like any other format's bytes.
    const auto* save = dynamic_cast<const SaveStream*>(&stream);
    const std::string folder = save ? save->scratchFolder() : files::temporaryFolder();
    std::optional<PartialFile> scratch;
    try {
        scratch.emplace(folder, "workbook");
        scratch->close();
    } catch (const files::SaveError& error) {
        throw ExportError("Cannot create a temporary file in " + folder, error.what());
    }
    writeWorkbook(files::nameOf(scratch->path()), folder, layout, query);
    control().throwIfCancelled(); // a cancel while the workbook was zipped
    copyInto(stream, scratch->path());
}

void TDBGridExportAsXLSX::copyInto(std::ostream& stream, const std::string& path) {
    std::ifstream bytes(pathFromUtf8(path), std::ios::binary);
    std::vector<char> block(1 << 20);
    while (bytes) {
        control().throwIfCancelled();
        bytes.read(block.data(), static_cast<std::streamsize>(block.size()));
        stream.write(block.data(), bytes.gcount());
        if (!stream)
            throw ExportError(failureOf(stream));
    }
    if (!bytes.eof())
        throw ExportError("cannot read the workbook back from " + path);
}

void TDBGridExportAsXLSX::check(int error) const {
    if (error != LXW_NO_ERROR)
        throw ExportError(lxw_strerror(static_cast<lxw_error>(error)));
}

void TDBGridExportAsXLSX::writeWorkbook(const std::string& name, const std::string& folder,
                                        const ExportLayout& layout, const TableSnapshot& query) {
    // libxlsxwriter keeps the rows in a scratch file of its own until the zip, and does not
    // see a write to it fail: it goes beside the workbook, where a full disk is looked for.
    // It opens its files with narrow calls.
    std::string narrowFolder = files::folderForNarrowCalls(folder);
    const std::string file = narrowFolder + "/" + name;
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = narrowFolder.data();
    const int sizeLimitHits = files::sizeLimitHits();
    book_ = std::make_unique<Workbook>();
    book_->book = workbook_new_opt(file.c_str(), &options);
    if (!book_->book)
        throw ExportError("Cannot create file " + folder + "/" + name);
    records_ = query.isOpen() ? query.rowCount() : 0;
    row_ = 0;
    std::ostream unused(nullptr); // the workbook writes its own file
    TDBGridExport::WriteGridToStream(unused, layout, query);
    if (files::diskFull(folder))
        throw ExportError(files::noSpaceReason());
    lxw_workbook* book = std::exchange(book_->book, nullptr);
    book_.reset();
    control().setStage(WorkControl::Stage::Finishing);
    const int closed = workbook_close(book); // frees the workbook, also when it fails
    // The system's reason where the zip or its scratch file ran out of room.
    if (files::sizeLimitHits() != sizeLimitHits)
        throw ExportError(files::tooLargeReason());
    if (closed != LXW_NO_ERROR && files::diskFull(folder))
        throw ExportError(files::noSpaceReason());
    check(closed);
}

lxw_format* TDBGridExportAsXLSX::cellFormat(const ExportFont& font, QRgb background,
                                            Alignment alignment, const char* numberFormat) {
    lxw_format* format = workbook_add_format(book_->book);
    const QByteArray family = font.family.toUtf8();
    format_set_font_name(format, family.constData());
    format_set_font_size(format, font.points(layout().dpi));
    if (font.bold)
        format_set_bold(format);
    format_set_font_color(format, colourOf(font.colour));
    format_set_bg_color(format, colourOf(background));
    format_set_pattern(format, LXW_PATTERN_SOLID);
    format_set_border(format, LXW_BORDER_THIN);
    format_set_align(format, alignment == Alignment::Right    ? LXW_ALIGN_RIGHT
                             : alignment == Alignment::Centre ? LXW_ALIGN_CENTER
                                                              : LXW_ALIGN_LEFT);
    if (numberFormat)
        format_set_num_format(format, numberFormat);
    return format;
}

lxw_format* TDBGridExportAsXLSX::dataFormat(const char* numberFormat) {
    // One format object per number format: libxlsxwriter looks a format that equals an earlier
    // one up anew for every cell written with it.
    lxw_format*& format = book_->byNumberFormat[numberFormat];
    if (!format) {
        format = workbook_add_format(book_->book);
        format_set_num_format(format, numberFormat);
    }
    return format;
}

const char* TDBGridExportAsXLSX::numberFormatOf(const ResultColumn& field) const {
    static const char* const decimals[] = {"0", "0.0", "0.00", "0.000", "0.0000"};
    switch (field.kind()) {
    case FieldKind::Text:
        return nullptr;
    case FieldKind::Integer:
        return decimals[0];
    case FieldKind::Double:
        return "General";
    case FieldKind::Decimal: {
        int most = 0;
        for (std::size_t row = 0; row < field.size() && most < 4; ++row)
            if (!field.isNull(row))
                most = std::max(most, decimalsOf(field.integer(row)));
        return decimals[most];
    }
    case FieldKind::DateTime:
        return kDateFormat;
    }
    return nullptr;
}

void TDBGridExportAsXLSX::BeginDocument() {
    const std::vector<ExportColumn>& columns = layout().columns;
    const QByteArray name = layout().title.toUtf8();
    book_->sheet = workbook_add_worksheet(book_->book, name.isEmpty() ? nullptr : name.constData());
    if (!book_->sheet) // a caption that cannot name a sheet
        book_->sheet = workbook_add_worksheet(book_->book, nullptr);
    lxw_worksheet* sheet = book_->sheet;
    book_->dateTime = dataFormat(kDateTimeFormat);
    numberFormats_.clear();
    book_->data.clear();
    book_->footer.clear();
    for (std::size_t j = 0; j < columns.size(); ++j) {
        const ExportColumn& column = columns[j];
        const ResultColumn* field = fieldOf(column);
        const char* numberFormat = field ? numberFormatOf(*field) : nullptr;
        numberFormats_.push_back(numberFormat);
        book_->data.push_back(numberFormat ? dataFormat(numberFormat) : nullptr);
        const ExportFooter& footer = column.footer;
        book_->footer.push_back(
            cellFormat(footer.font, footer.colour, footer.alignment, numberFormat));
        const auto at = static_cast<lxw_col_t>(j);
        check(worksheet_set_column_pixels(sheet, at, at, static_cast<std::uint32_t>(column.width),
                                          nullptr));
    }
    worksheet_freeze_panes(sheet, 1, static_cast<lxw_col_t>(layout().frozenColumns));
    if (!columns.empty())
        check(worksheet_autofilter(sheet, 0, 0, static_cast<lxw_row_t>(records_),
                                   static_cast<lxw_col_t>(columns.size() - 1)));
}

void TDBGridExportAsXLSX::EmitTitleRows(const std::vector<ExportColumn>& columns) {
    for (std::size_t j = 0; j < columns.size(); ++j) {
        const ExportColumn& column = columns[j];
        if (!book_->title) {
            ExportFont bold = column.titleFont;
            bold.bold = true;
            book_->title = cellFormat(bold, column.titleColour, Alignment::Centre, nullptr);
        }
        const QByteArray caption = column.caption.toUtf8();
        check(worksheet_write_string(book_->sheet, row_, static_cast<lxw_col_t>(j),
                                     caption.constData(), book_->title));
    }
    ++row_;
}

void TDBGridExportAsXLSX::EmitRecordRow(const std::vector<ExportColumn>& columns) {
    const RecordBlock& block = records();
    const std::size_t at = recordAt();
    for (std::size_t j = 0; j < columns.size(); ++j) {
        const ResultColumn* field = block.fields()[j];
        if (!field || block.isNull(j, at))
            continue; // an empty cell
        const auto column = static_cast<lxw_col_t>(j);
        const std::uint64_t bits = block.bits(j, at);
        switch (field->kind()) {
        case FieldKind::Text: {
            scratch_.assign(cellSized(block.text(j, at)));
            check(worksheet_write_string(book_->sheet, row_, column, scratch_.c_str(), nullptr));
            break;
        }
        case FieldKind::DateTime: {
            const auto milliseconds = static_cast<std::int64_t>(bits);
            const double days =
                static_cast<double>(milliseconds) / static_cast<double>(kMillisecondsPerDay);
            check(worksheet_write_number(book_->sheet, row_, column, kEpochSerial + days,
                                         !hasTimeOfDay(milliseconds) ? book_->data[j]
                                                                     : book_->dateTime));
            break;
        }
        default:
            check(worksheet_write_number(book_->sheet, row_, column,
                                         ResultColumn::floatOf(field->kind(), bits),
                                         book_->data[j]));
        }
    }
    ++row_;
}

void TDBGridExportAsXLSX::EmitFooterCell(std::size_t column, int, const QString& text, Alignment,
                                         QRgb, const ExportFont&, const ExportColumn& exported) {
    lxw_format* format = book_->footer[column];
    const auto at = static_cast<lxw_col_t>(column);
    if (exported.footer.type == FooterValue::Sum && !text.isEmpty()) {
        check(worksheet_write_number(book_->sheet, row_, at, footerTotal(column), format));
    } else if (!text.isEmpty()) {
        const QByteArray utf8 = text.toUtf8();
        check(worksheet_write_string(book_->sheet, row_, at, utf8.constData(), format));
    } else {
        check(worksheet_write_blank(book_->sheet, row_, at, format));
    }
    if (column + 1 == layout().columns.size())
        ++row_;
}
