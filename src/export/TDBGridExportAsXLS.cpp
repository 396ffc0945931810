#include "TDBGridExportAsXLS.h"

#include "Cp936.h"
#include "ExportError.h"
#include "result/ResultColumn.h"
#include "table/TableSnapshot.h"

#include <bit>
#include <cstring>

namespace {

// The sheet's limits: row and column numbers and record lengths are 16-bit fields.
constexpr std::uint32_t kMaxRows = 65536;
constexpr qsizetype kMaxTextBytes = 65535 - 8;
// An integer cell holds 30 bits.
constexpr std::int64_t kMinInteger = -536870912;
constexpr std::int64_t kMaxInteger = 536870911;

void append16(QByteArray& bytes, std::uint16_t value) {
    bytes.append(static_cast<char>(value & 0xFF));
    bytes.append(static_cast<char>(value >> 8));
}

void append32(QByteArray& bytes, std::uint32_t value) {
    append16(bytes, static_cast<std::uint16_t>(value & 0xFFFF));
    append16(bytes, static_cast<std::uint16_t>(value >> 16));
}

} // namespace

void TDBGridExportAsXLS::WriteGridToStream(std::ostream& stream, const ExportLayout& layout,
                                           const TableSnapshot& query) {
    row_ = 0;
    column_ = 0;
    TDBGridExport::WriteGridToStream(stream, layout, query);
}

void TDBGridExportAsXLS::CheckFits(const TableSnapshot& query) const {
    // Rather than let the row numbers wrap round to 0 and overwrite the titles, a result with
    // more records than a worksheet holds beside its title and total rows is refused.
    static_assert(kMaxRecords == kMaxRows - 2);
    if (query.isOpen() && query.rowCount() > kMaxRecords)
        throw ExportError(
            QString("结果有 %1 条记录，Excel 工作表最多只能放 %2 条记录（另有标题行"
                    "和合计行）。请选用 Excel 工作簿 (.xlsx) 或 CSV (UTF-8) 格式输出，"
                    "它们能放一百多万条记录并保留所有字符；Word、Html 和纯文本格式"
                    "没有条数限制。")
                .arg(query.rowCount())
                .arg(kMaxRecords)
                .toStdString());
}

void TDBGridExportAsXLS::record(std::uint16_t type, const QByteArray& data) {
    QByteArray bytes;
    append16(bytes, type);
    append16(bytes, static_cast<std::uint16_t>(data.size()));
    writeBytes(bytes + data);
}

QByteArray TDBGridExportAsXLS::cellHead(std::uint16_t format) {
    QByteArray head;
    append16(head, static_cast<std::uint16_t>(row_));
    append16(head, column_);
    append16(head, format);
    if (column_ + 1u >= layout().columns.size()) {
        ++row_;
        column_ = 0;
    } else {
        ++column_;
    }
    return head;
}

void TDBGridExportAsXLS::blankCell() {
    record(0x0201, cellHead(0x0017));
}

void TDBGridExportAsXLS::numberCell(double value) {
    QByteArray data = cellHead();
    const auto bits = std::bit_cast<std::uint64_t>(value);
    append32(data, static_cast<std::uint32_t>(bits & 0xFFFFFFFF));
    append32(data, static_cast<std::uint32_t>(bits >> 32));
    record(0x0203, data);
}

void TDBGridExportAsXLS::integerCell(std::int32_t value) {
    QByteArray data = cellHead();
    append32(data, static_cast<std::uint32_t>(value) * 4u + 2u);
    record(0x027E, data);
}

void TDBGridExportAsXLS::textCell(const QString& text) {
    noteCp936Cell(text);
    QByteArray bytes = toCp936(text);
    // A text longer than a record can hold is cut at a whole character.
    if (bytes.size() > kMaxTextBytes) {
        qsizetype end = 0;
        while (end < bytes.size()) {
            const qsizetype width = static_cast<unsigned char>(bytes[end]) >= 0x81 ? 2 : 1;
            if (end + width > kMaxTextBytes)
                break;
            end += width;
        }
        bytes.truncate(end);
    }
    QByteArray data = cellHead();
    append16(data, static_cast<std::uint16_t>(bytes.size()));
    record(0x0204, data + bytes);
}

void TDBGridExportAsXLS::BeginDocument() {
    QByteArray data;
    for (const std::uint16_t word : {0x0000, 0x0010, 0x0000, 0x0000})
        append16(data, word);
    record(0x0809, data);
    // CODEPAGE: the texts are in code page 936, whatever the reader's system uses.
    QByteArray codePage;
    append16(codePage, 936);
    record(0x0042, codePage);
}

void TDBGridExportAsXLS::EndDocument() {
    record(0x000A, {});
}

void TDBGridExportAsXLS::EmitTitleRows(const std::vector<ExportColumn>& columns) {
    for (const ExportColumn& column : columns)
        textCell(column.caption);
}

void TDBGridExportAsXLS::EmitDataCell(const ExportColumn& column, const TColCellParams& params) {
    const ResultColumn* field = fieldOf(column);
    if (!field || field->isNull(currentRow()))
        return blankCell();
    switch (field->kind()) {
    case FieldKind::Integer: {
        const std::int64_t value = field->integer(currentRow());
        if (value >= kMinInteger && value <= kMaxInteger)
            return integerCell(static_cast<std::int32_t>(value));
        return numberCell(static_cast<double>(value)); // beyond an integer cell's 30 bits
    }
    case FieldKind::Decimal:
    case FieldKind::Double:
        return numberCell(field->asFloat(currentRow()));
    case FieldKind::Text:
    case FieldKind::DateTime:
        break;
    }
    textCell(params.text);
}

void TDBGridExportAsXLS::EmitFooterCell(std::size_t column, int, const QString& text, Alignment,
                                        QRgb, const ExportFont&, const ExportColumn& exported) {
    if (exported.footer.type == FooterValue::Sum)
        return numberCell(footerTotal(column));
    textCell(text);
}
