#include "ExportFileTypes.h"

#include "TDBGridExportAsCSV.h"
#include "TDBGridExportAsHTML.h"
#include "TDBGridExportAsPDF.h"
#include "TDBGridExportAsRTF.h"
#include "TDBGridExportAsText.h"
#include "TDBGridExportAsUtf8CSV.h"
#include "TDBGridExportAsXLS.h"
#include "TDBGridExportAsXLSX.h"

namespace {

template <typename Writer> WriterFactory writerClass() {
    return [] { return std::make_unique<Writer>(); };
}

} // namespace

const std::vector<ExportFileType>& exportFileTypes() {
    static const std::vector<ExportFileType> types = {
        {"xls", "Excel 文档( *.xls)", "xls", writerClass<TDBGridExportAsXLS>()},
        {"rtf", "Word 文档(*.RTF)", "rtf", writerClass<TDBGridExportAsRTF>()},
        {"html", "Html 网页(*.html)", "html", writerClass<TDBGridExportAsHTML>()},
        {"txt", "纯文本  文档 (*.txt)", "txt", writerClass<TDBGridExportAsText>()},
        {"xlsx", "Excel 工作簿 (*.xlsx)", "xlsx", writerClass<TDBGridExportAsXLSX>()},
        {"csv-utf8", "CSV 文件 (UTF-8) (*.csv)", "csv", writerClass<TDBGridExportAsUtf8CSV>()},
        {"pdf", "PDF 文件 (*.pdf)", "pdf", writerClass<TDBGridExportAsPDF>()},
        {"csv", {}, "csv", writerClass<TDBGridExportAsCSV>()},
    };
    return types;
}

const ExportFileType* exportFileTypeNamed(std::string_view name) {
    for (const ExportFileType& type : exportFileTypes())
        if (type.name == name)
            return &type;
    return nullptr;
}
