// Writing the current-stock grid in each export format, beside the floor of the same work:
// iconv turning a UTF-8 tab-separated file of the same cell texts into GBK. All 1,000,000 rows
// in text (in the database's order and after a title-click sort by item name), HTML and RTF;
// an Excel worksheet of 65,534 records. The writers write into a stream that only counts bytes
// and iconv into /dev/null, so that the disk's speed is no part of either figure.
// The Unicode exports of all rows go to files in /tmp beside their floors on the same disk:
// the workbook (.xlsx) beside xlsx_floor, which writes the same cells with libxlsxwriter alone,
// with the export's peak memory above the open result; the UTF-8 CSV beside cat copying a file
// of the same bytes. The PDF of 65,534 records beside its floor: Qt's PDF writer drawing the same
// cell texts row under row in the same font, with nothing else.
//   export_bench LARGE_DEMO_FILE [RUNS]
#include "BenchArguments.h"
#include "BenchProcess.h"
#include "DemoQuery.h"
#include "export/RecordBlock.h"
#include "export/TDBGridExportAsHTML.h"
#include "export/TDBGridExportAsPDF.h"
#include "export/TDBGridExportAsRTF.h"
#include "export/TDBGridExportAsText.h"
#include "export/TDBGridExportAsUtf8CSV.h"
#include "export/TDBGridExportAsXLS.h"
#include "export/TDBGridExportAsXLSX.h"
#include "grid/GridExportLayout.h"
#include "grid/ResultGrid.h"
#include "pages/PagePainter.h"
#include "result/ResultColumn.h"
#include "stock/CurrentStockColumns.h"
#include "stock/CurrentStockFields.h"
#include "stock/CurrentStockStatement.h"
#include "table/Fonts.h"
#include "table/ResultTableModel.h"
#include "table/TableSnapshot.h"

#include <QApplication>
#include <QIODevice>
#include <QPainter>
#include <QPdfWriter>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <streambuf>

namespace {

// A stream that counts what is written to it and keeps nothing.
class CountingBuffer : public std::streambuf {
public:
    std::size_t bytes = 0;

protected:
    int_type overflow(int_type c) override {
        ++bytes;
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char*, std::streamsize count) override {
        bytes += static_cast<std::size_t>(count);
        return count;
    }
};

struct Written {
    double seconds = 1e9;
    std::size_t bytes = 0;
};

// One write of the grid into a stream that keeps nothing.
template <typename Writer> Written write(ResultGrid& grid) {
    const ExportLayout layout = exportLayout(grid);
    CountingBuffer counter;
    std::ostream out(&counter);
    const double seconds =
        secondsOf([&] { Writer().WriteGridToStream(out, layout, grid.query()); });
    return {seconds, counter.bytes};
}

Written faster(const Written& a, const Written& b) {
    return a.seconds <= b.seconds ? a : b;
}

template <typename Writer> Written bestWrite(ResultGrid& grid, int runs) {
    Written best;
    for (int i = 0; i < runs; ++i)
        best = faster(best, write<Writer>(grid));
    return best;
}

// The text export in the database's order and sorted, run by run in turn, so that a slow
// spell of the machine weighs on both alike.
// The floor of reading the records in the grid's order: every field of every record gathered
// as the exports gather them, each text's bytes read, nothing written.
double readSeconds(const ResultGrid& grid) {
    const TableSnapshot rows(grid.query());
    std::vector<const ResultColumn*> fields;
    for (std::size_t j = 0; j < rows.result().columnCount(); ++j)
        fields.push_back(&rows.result().column(j));
    RecordBlock records(fields);
    std::uint64_t sum = 0;
    const double seconds = secondsOf([&] {
        for (std::size_t position = 0; position < rows.rowCount(); ++position) {
            const std::size_t at = records.hold(rows, position);
            for (std::size_t j = 0; j < fields.size(); ++j) {
                const std::uint64_t bits = records.bits(j, at);
                sum += bits + records.isNull(j, at);
                if (fields[j]->kind() == FieldKind::Text)
                    for (const char byte : fields[j]->entryText(static_cast<std::uint32_t>(bits)))
                        sum += static_cast<unsigned char>(byte);
            }
        }
    });
    if (sum == 42)
        std::printf(" "); // the sum is used, so that the reading is not left out
    return seconds;
}

struct SortedAndNot {
    Written unsorted;
    Written sorted;
    double readUnsorted = 1e9;
    double readSorted = 1e9;
};

SortedAndNot bestTextUnsortedAndSorted(ResultGrid& grid, int runs) {
    SortedAndNot best;
    for (int i = 0; i < runs; ++i) {
        grid.query().setSortOrder("");
        best.unsorted = faster(best.unsorted, write<TDBGridExportAsText>(grid));
        best.readUnsorted = std::min(best.readUnsorted, readSeconds(grid));
        grid.query().setSortOrder("存货名称 ASC"); // rows now read in scattered order
        best.sorted = faster(best.sorted, write<TDBGridExportAsText>(grid));
        best.readSorted = std::min(best.readSorted, readSeconds(grid));
    }
    grid.query().setSortOrder("");
    return best;
}

// The grid's cell texts as UTF-8, tab-separated, CR LF between rows, in a file of this run's
// own; iconv turns it into GBK ("-c" drops what GBK lacks, where the writers write "?").
double iconvFloor(const ResultGrid& grid, int runs) {
    std::string path = "/tmp/stockquery-export-floor-XXXXXX";
    close(mkstemp(path.data()));
    {
        std::ofstream tsv(path, std::ios::binary);
        const ResultTableModel& model = *grid.model();
        for (int row = 0; row < model.rowCount(); ++row) {
            for (int column = 0; column < model.columnCount(); ++column) {
                if (column > 0)
                    tsv << '\t';
                tsv << model.index(row, column).data().toString().toStdString();
            }
            tsv << "\r\n";
        }
    }
    double best = 1e9;
    for (int i = 0; i < runs; ++i)
        best = std::min(
            best,
            measureProgram({"iconv", "-c", "-f", "UTF-8", "-t", "GBK"}, path, "/dev/null").seconds);
    std::remove(path.c_str());
    return best;
}

// The cells of the grid's workbook for xlsx_floor: titles, records, sums, with the types that
// the workbook gives them.
void dumpCells(const ResultGrid& grid, const std::string& path) {
    const ExportLayout layout = exportLayout(grid);
    const ResultQuery& query = grid.query();
    std::ofstream out(path, std::ios::binary);
    const auto put32 = [&](std::uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
    const auto text = [&](std::string_view utf8) {
        out.put(1);
        put32(static_cast<std::uint32_t>(utf8.size()));
        out.write(utf8.data(), static_cast<std::streamsize>(utf8.size()));
    };
    const auto number = [&](char type, double value) {
        out.put(type);
        out.write(reinterpret_cast<const char*>(&value), 8);
    };
    put32(static_cast<std::uint32_t>(query.rowCount() + 2));
    put32(static_cast<std::uint32_t>(layout.columns.size()));
    for (const ExportColumn& column : layout.columns)
        text(column.caption.toStdString());
    std::vector<const ResultColumn*> fields;
    for (const ExportColumn& column : layout.columns)
        fields.push_back(&query.result().column(*query.result().findColumn(column.field)));
    std::vector<double> sums(fields.size());
    for (std::size_t position = 0; position < query.rowCount(); ++position) {
        const std::size_t row = query.rowAt(position);
        for (std::size_t j = 0; j < fields.size(); ++j) {
            const ResultColumn& field = *fields[j];
            if (field.isNull(row)) {
                out.put(0);
            } else if (field.kind() == FieldKind::Text) {
                text(field.text(row));
            } else if (field.kind() == FieldKind::DateTime) {
                const std::int64_t ms = field.integer(row);
                number(ms % 86400000 == 0 ? 3 : 4, 25569.0 + static_cast<double>(ms) / 86400000);
            } else {
                number(2, field.asFloat(row));
                sums[j] += field.asFloat(row);
            }
        }
    }
    for (std::size_t j = 0; j < fields.size(); ++j)
        if (layout.columns[j].footer.type == FooterValue::Sum)
            number(2, sums[j]);
        else if (layout.columns[j].footer.type == FooterValue::StaticText)
            text(layout.columns[j].footer.text.toStdString());
        else
            out.put(0);
}

// The seconds that xlsx_floor, beside this program, reports for writing the dumped cells.
double xlsxFloor(const std::string& self, const std::string& dump, const std::string& out) {
    const std::string program = (std::filesystem::path(self).parent_path() / "xlsx_floor").string();
    FILE* floor = popen((program + " " + dump + " " + out).c_str(), "r");
    double seconds = 1e9;
    if (!floor || std::fscanf(floor, "%lf", &seconds) != 1)
        std::printf("xlsx_floor did not run\n");
    if (floor)
        pclose(floor);
    return seconds;
}

// The workbook and the UTF-8 CSV of every row, written to files, beside their floors.
void unicodeExports(ResultGrid& grid, const std::string& self, int runs) {
    const std::string base = "/tmp/stockquery-export-bench";
    dumpCells(grid, base + ".cells");
    const ExportLayout layout = exportLayout(grid);
    double xlsx = 1e9;
    double floor = 1e9;
    long peakAboveKiB = 0;
    for (int i = 0; i < runs; ++i) {
        resetPeakResident();
        const long before = statusKiB("VmRSS");
        xlsx = std::min(xlsx, secondsOf([&] {
                            TDBGridExportAsXLSX().WriteGridToFile(
                                QString::fromStdString(base + ".xlsx"), layout, grid.query());
                        }));
        peakAboveKiB = std::max(peakAboveKiB, peakResidentKiB() - before);
        floor = std::min(floor, xlsxFloor(self, base + ".cells", base + ".floor.xlsx"));
    }
    std::printf("xlsx, %zu records %7.3f s %7.1f MB | libxlsxwriter alone, same cells %7.3f s | "
                "ratio %.2f | target <= 1.15\n",
                grid.query().rowCount(), xlsx,
                static_cast<double>(std::filesystem::file_size(base + ".xlsx")) / 1e6, floor,
                xlsx / floor);
    std::printf("xlsx peak memory above the open result %6.1f MiB | target <= 64 MiB\n",
                static_cast<double>(peakAboveKiB) / 1024.0);
    double csv = 1e9;
    double cat = 1e9;
    for (int i = 0; i < runs; ++i) {
        csv = std::min(csv, secondsOf([&] {
                           TDBGridExportAsUtf8CSV().WriteGridToFile(
                               QString::fromStdString(base + ".csv"), layout, grid.query());
                       }));
        cat = std::min(cat, measureProgram({"cat"}, base + ".csv", base + ".cat.csv").seconds);
    }
    std::printf("csv (UTF-8)     %7.3f s %7.1f MB | cat of the same bytes %7.3f s | ratio %.2f | "
                "target <= 1.2\n",
                csv, static_cast<double>(std::filesystem::file_size(base + ".csv")) / 1e6, cat,
                csv / cat);
    for (const char* suffix : {".cells", ".xlsx", ".floor.xlsx", ".csv", ".cat.csv"})
        std::filesystem::remove(base + suffix);
}

double megabytesPerSecond(const Written& w) {
    return static_cast<double>(w.bytes) / 1e6 / w.seconds;
}

// A device that counts what the PDF writer writes and keeps nothing.
class CountingDevice : public QIODevice {
public:
    CountingDevice() { open(QIODevice::WriteOnly); }
    std::size_t bytes = 0;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64 size) override {
        bytes += static_cast<std::size_t>(size);
        return size;
    }
};

// The floor of the PDF: Qt's PDF writer on the same landscape A4 pages drawing each record's
// cell texts at the layout's widths in the grid's font, a row under the other, with no titles,
// boxes, colours, heading or foot.
Written pdfFloor(const ResultGrid& grid) {
    const ExportLayout layout = exportLayout(grid);
    const ResultTableModel& model = *grid.model();
    CountingDevice device;
    QPdfWriter writer(&device);
    writer.setResolution(PagePlan::kGridDpi);
    writer.setPageLayout(pdfPageLayout());
    constexpr double kRowHeight = 18;
    const double scale = std::min(
        1.0, writer.width() / [&] {
            double width = 0;
            for (const ExportColumn& column : layout.columns)
                width += column.width;
            return width;
        }());
    const double rowsPerPage = std::floor(writer.height() / scale / kRowHeight);
    const double seconds = secondsOf([&] {
        QPainter painter(&writer);
        painter.scale(scale, scale);
        painter.setFont(songTi(12));
        for (int row = 0; row < model.rowCount(); ++row) {
            const int onPage = row % static_cast<int>(rowsPerPage);
            if (row > 0 && onPage == 0)
                writer.newPage();
            double x = 0;
            for (int column = 0; column < model.columnCount(); ++column) {
                const double width = layout.columns[static_cast<std::size_t>(column)].width;
                painter.drawText(QRectF(x, onPage * kRowHeight, width, kRowHeight),
                                 Qt::AlignLeft | Qt::AlignVCenter,
                                 model.index(row, column).data().toString());
                x += width;
            }
        }
    });
    return {seconds, device.bytes};
}

struct GridOn {
    GridOn(const std::string& file, std::vector<std::string> lines)
        : demo(file, lines, currentStockFields()),
          grid(demo.query, currentStockColumns(), kCurrentStockFrozenColumns) {
        grid.setObjectName("dbg_xclinfo");
        grid.beginQueryChange();
        grid.endQueryChange();
    }
    DemoQuery demo;
    ResultGrid grid;
};

} // namespace

int main(int argc, char** argv) {
    const auto arguments = benchArguments(argc, argv, "export_bench LARGE_DEMO_FILE [RUNS]", 3);
    if (!arguments)
        return 2;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int runs = arguments->runs;

    GridOn all(arguments->file, currentStockStatement({}));
    const double floor = iconvFloor(all.grid, runs);
    std::printf("current-stock grid, %zu rows x %zu columns, best of %d:\n",
                all.demo.query.rowCount(), currentStockColumns().size(), runs);
    const SortedAndNot orders = bestTextUnsortedAndSorted(all.grid, runs);
    const Written& text = orders.unsorted;
    const Written& sorted = orders.sorted;
    std::printf("text            %7.3f s %7.1f MB | iconv UTF-8 to GBK, same texts %7.3f s | "
                "ratio %.2f | target <= 1.5\n",
                text.seconds, text.bytes / 1e6, floor, text.seconds / floor);
    std::printf(
        "text, sorted by 存货名称 %7.3f s | unsorted %7.3f s | ratio %.2f | target <= 1.2\n",
        sorted.seconds, text.seconds, sorted.seconds / text.seconds);
    std::printf("  the records alone, read sorted %7.3f s | unsorted %7.3f s | the sort adds "
                "%5.3f s to reading, %5.3f s to the export\n",
                orders.readSorted, orders.readUnsorted, orders.readSorted - orders.readUnsorted,
                sorted.seconds - text.seconds);
    for (const auto& [format, written] :
         {std::pair{"html", bestWrite<TDBGridExportAsHTML>(all.grid, runs)},
          std::pair{"rtf", bestWrite<TDBGridExportAsRTF>(all.grid, runs)}})
        std::printf("%-4s            %7.3f s %7.1f MB  %6.1f MB/s | text %6.1f MB/s\n", format,
                    written.seconds, written.bytes / 1e6, megabytesPerSecond(written),
                    megabytesPerSecond(text));

    unicodeExports(all.grid, argv[0], runs);

    // As many records as a worksheet holds beside its title and total rows.
    std::vector<std::string> lines = currentStockStatement({});
    lines.push_back("LIMIT 65534");
    GridOn sheet(arguments->file, lines);
    const Written xls = bestWrite<TDBGridExportAsXLS>(sheet.grid, runs);
    const Written sheetText = bestWrite<TDBGridExportAsText>(sheet.grid, runs);
    std::printf("xls, %zu records %7.3f s %7.1f MB | text of the same %7.3f s\n",
                sheet.demo.query.rowCount(), xls.seconds, xls.bytes / 1e6, sheetText.seconds);
    Written pdf = bestWrite<TDBGridExportAsPDF>(sheet.grid, runs);
    Written pdfBare;
    for (int i = 0; i < runs; ++i)
        pdfBare = faster(pdfBare, pdfFloor(sheet.grid));
    std::printf("pdf, %zu records %7.3f s %7.1f MB | Qt's PDF writer, the same texts alone "
                "%7.3f s %7.1f MB | ratio %.2f | target <= 1.1\n",
                sheet.demo.query.rowCount(), pdf.seconds, pdf.bytes / 1e6, pdfBare.seconds,
                pdfBare.bytes / 1e6, pdf.seconds / pdfBare.seconds);
    return 0;
}
