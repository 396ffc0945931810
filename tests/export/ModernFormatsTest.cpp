// The workbook (.xlsx) and the UTF-8 CSV, read back by openpyxl and Python's csv module.
#include "export/ExportError.h"
#include "export/TDBGridExportAsUtf8CSV.h"
#include "export/TDBGridExportAsXLSX.h"
#include "result/ResultColumn.h"
#include "support/Bytes.h"
#include "support/ExportFixture.h"
#include "support/ReadBack.h"
#include "support/TempDir.h"
#include "table/CellText.h"

#include <QDateTime>
#include <QJsonArray>

#include <gtest/gtest.h>

#include <fstream>

namespace {

// Texts that old formats lose or that break rows and fields.
const char* const kAwkwardTexts[] = {
    "逗号, 和 \"引号\"", "制表\t符", "换行\r\n之后", "2.5mm²", "笑脸😀", "𠀀"};

// The fixture's rows, with one more row for each awkward text, its window's caption and one
// frozen column.
struct AwkwardResult {
    AwkwardResult() {
        int id = 10;
        for (const char* text : kAwkwardTexts) {
            std::string quoted;
            for (const char* c = text; *c; ++c)
                quoted += *c == '\'' ? std::string("''") : std::string(1, *c);
            f.insert("(" + std::to_string(id) + ", 'T" + std::to_string(id) + "', '" + quoted +
                     "', 1, 0.5, '2026-03-04 08:30:00')");
            ++id;
        }
        f.layout.title = "现存量查询";
        f.layout.frozenColumns = 1;
        f.open();
    }
    std::string path(const char* suffix) const {
        return (dir / ("out." + std::string(suffix))).string();
    }
    // Writes the result to out.<kind> and gives what the kind's reader makes of it.
    template <typename Writer> QJsonObject writtenAndReadBack(const char* kind) {
        Writer().WriteGridToFile(QString::fromStdString(path(kind)), f.layout, f.query);
        return readBack(kind, path(kind));
    }
    // The grid's text of a cell.
    QString shown(std::size_t row, std::size_t column) const {
        const ResultColumn& values = f.query.result().column(column);
        return CellText()(values, f.query.rowAt(row));
    }
    ExportFixture f;
    TempDir dir;
};

QString text(const QJsonValue& cell) {
    return cell.toObject()["value"].toString();
}

} // namespace

TEST(XlsxExport, OpenpyxlReadsEveryValueWithItsTypeAndTheSheetsLayout) {
    AwkwardResult r;
    const QJsonObject book = r.writtenAndReadBack<TDBGridExportAsXLSX>("xlsx");
    ASSERT_FALSE(book.isEmpty());
    EXPECT_EQ(book["sheets"].toArray().at(0).toString(), QString("现存量查询"));
    EXPECT_EQ(book["freeze"].toString(), QString("B2"));
    const std::size_t records = r.f.query.rowCount();
    EXPECT_EQ(book["filter"].toString(), QString("A1:E%1").arg(records + 1));
    const QJsonArray widths = book["widths"].toArray();
    // Stored as Excel does, in characters of 7 pixels with the cell's margins.
    for (std::size_t j = 0; j < r.f.layout.columns.size(); ++j)
        EXPECT_NEAR(widths.at(static_cast<int>(j)).toDouble(), r.f.layout.columns[j].width / 7.0,
                    0.05);

    const QJsonArray rows = book["rows"].toArray();
    ASSERT_EQ(rows.size(), static_cast<int>(records + 2));
    const QJsonArray titles = rows.at(0).toArray();
    for (int j = 0; j < titles.size(); ++j) {
        EXPECT_EQ(text(titles.at(j)), r.f.layout.columns[static_cast<std::size_t>(j)].caption);
        EXPECT_TRUE(titles.at(j).toObject()["bold"].toBool());
        EXPECT_EQ(titles.at(j).toObject()["fill"].toString(), QString("F0F0F0"));
    }
    for (std::size_t row = 0; row < records; ++row) {
        const QJsonArray cells = rows.at(static_cast<int>(row + 1)).toArray();
        for (std::size_t j = 0; j < 5; ++j) {
            const QJsonObject cell = cells.at(static_cast<int>(j)).toObject();
            const QString shown = r.shown(row, j);
            if (shown.isEmpty() && j > 1) {
                EXPECT_EQ(cell["type"].toString(), QString("empty")) << row << " " << j;
            } else if (j < 2) {
                EXPECT_EQ(cell["value"].toString(), shown) << row << " " << j;
            } else if (j < 4) {
                EXPECT_EQ(cell["type"].toString(), QString("number"));
                EXPECT_DOUBLE_EQ(cell["value"].toDouble(), shown.toDouble()) << row << " " << j;
            } else {
                EXPECT_EQ(cell["type"].toString(), QString("date"));
                const ResultColumn& days = r.f.query.result().column(j);
                const std::int64_t milliseconds = days.integer(r.f.query.rowAt(row));
                const QDateTime expected = QDateTime::fromMSecsSinceEpoch(milliseconds, Qt::UTC);
                EXPECT_EQ(cell["value"].toString(), expected.toString("yyyy-MM-ddTHH:mm:ss"));
                // The time shows only where there is one, as in the grid.
                EXPECT_EQ(cell["format"].toString(), milliseconds % 86400000 == 0
                                                         ? QString("yyyy/m/d;@")
                                                         : QString("yyyy/m/d hh:mm:ss;@"));
            }
        }
    }
    // Quantities show their column's decimals, at most four; the footer holds the sums.
    EXPECT_EQ(rows.at(1).toArray().at(2).toObject()["format"].toString(), QString("0.0000"));
    const QJsonArray footer = rows.at(static_cast<int>(records + 1)).toArray();
    EXPECT_EQ(text(footer.at(0)), QString("合计"));
    EXPECT_TRUE(footer.at(0).toObject()["bold"].toBool());
    EXPECT_EQ(footer.at(0).toObject()["fill"].toString(), QString("FFB366"));
    for (const std::size_t j : {2, 3}) {
        double shownSum = 0;
        for (std::size_t row = 0; row < records; ++row)
            shownSum += r.shown(row, j).toDouble();
        EXPECT_NEAR(footer.at(static_cast<int>(j)).toObject()["value"].toDouble(), shownSum, 1e-9);
    }
    EXPECT_EQ(footer.at(1).toObject()["type"].toString(), QString("empty"));
}

TEST(XlsxExport, TooManyRecordsAreRefusedBeforeAnyFileIsTouchedAndFailuresKeepTheOldFile) {
    AwkwardResult r;
    std::vector<ResultColumn> columns;
    columns.emplace_back("id", FieldKind::Integer);
    for (std::size_t i = 0; i <= TDBGridExportAsXLSX::kMaxRecords; ++i)
        columns[0].appendInteger(static_cast<std::int64_t>(i));
    ResultQuery many(r.f.query.connection());
    many.adopt(ResultSet(std::move(columns)));
    const std::string path = r.path("xlsx");
    std::ofstream(path) << "old";
    try {
        TDBGridExportAsXLSX().WriteGridToFile(QString::fromStdString(path), r.f.layout, many);
        ADD_FAILURE() << "not refused";
    } catch (const ExportError& refusal) {
        EXPECT_NE(std::string(refusal.what()).find("1048574"), std::string::npos) << refusal.what();
    }
    EXPECT_EQ(fileBytes(path), "old");

    WorkControl cancelled; // stopped on the way: the old file and nothing beside it
    cancelled.cancel();
    TDBGridExportAsXLSX writer;
    writer.watchWith(cancelled);
    EXPECT_THROW(writer.WriteGridToFile(QString::fromStdString(path), r.f.layout, r.f.query),
                 WorkCancelled);
    EXPECT_EQ(fileBytes(path), "old");
    EXPECT_EQ(filesIn(r.dir.path()), std::vector<std::string>{"out.xlsx"});

    const QString nowhere = QString::fromStdString((r.dir / "no such folder/out.xlsx").string());
    EXPECT_THROW(TDBGridExportAsXLSX().WriteGridToFile(nowhere, r.f.layout, r.f.query),
                 ExportError);
    TDBGridExportAsXLSX().WriteGridToFile(QString::fromStdString(path), r.f.layout, r.f.query);
    EXPECT_TRUE(fileBytes(path).starts_with("PK"));
    EXPECT_EQ(filesIn(r.dir.path()), std::vector<std::string>{"out.xlsx"});
}

TEST(Utf8CsvExport, PythonsCsvModuleReadsTheGridsCellsWithEveryCharacter) {
    AwkwardResult r;
    const QJsonObject csv = r.writtenAndReadBack<TDBGridExportAsUtf8CSV>("csv");
    ASSERT_FALSE(csv.isEmpty());
    EXPECT_TRUE(csv["bom"].toBool());
    const QJsonArray rows = csv["rows"].toArray();
    const std::size_t records = r.f.query.rowCount();
    ASSERT_EQ(rows.size(), static_cast<int>(records + 1)); // titles and records, no sums
    EXPECT_EQ(rows.at(0).toArray().at(1).toString(), QString("名称"));
    for (std::size_t row = 0; row < records; ++row)
        for (std::size_t j = 0; j < 5; ++j)
            EXPECT_EQ(
                rows.at(static_cast<int>(row + 1)).toArray().at(static_cast<int>(j)).toString(),
                r.shown(row, j))
                << row << " " << j;
    // Rows end with CR LF; a line break inside a value stays inside its quotes.
    const std::string bytes = fileBytes(r.path("csv"));
    EXPECT_NE(bytes.find("\"换行\r\n之后\""), std::string::npos);
    EXPECT_NE(bytes.find("\"逗号, 和 \"\"引号\"\"\""), std::string::npos);
    EXPECT_NE(bytes.find("2026/3/1\r\n"), std::string::npos);
}
