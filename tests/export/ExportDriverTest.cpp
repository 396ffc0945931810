#include "export/ByteScan.h"
#include "export/ChunkedBuffer.h"
#include "export/Cp936.h"
#include "export/ExportError.h"
#include "export/ExportFileTypes.h"
#include "export/TDBGridExportAsCSV.h"
#include "export/TDBGridExportAsHTML.h"
#include "export/TDBGridExportAsRTF.h"
#include "export/TDBGridExportAsText.h"
#include "export/TDBGridExportAsXLS.h"
#include "result/DbError.h"
#include "support/Bytes.h"
#include "support/ChildProcess.h"
#include "support/ExportFixture.h"
#include "support/TempDir.h"
#include "table/FooterSums.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>

TEST(Cp936, MarkersEuroAndChineseHaveTheirBytesAndTheRestBecomesAQuestionMark) {
    EXPECT_EQ(toCp936(QString("▲▼€中")), QByteArray("\xA1\xF8\xA8\x8B\x80\xD6\xD0"));
    EXPECT_EQ(toCp936(QString("a😀b")), QByteArray("a?b"));
    EXPECT_TRUE(cp936Holds(U'中') && cp936Holds(U'é') && cp936Holds(U'€'));
    EXPECT_FALSE(cp936Holds(U'😀') || cp936Holds(U'\u0E01')); // an emoji, a Thai letter
    const auto reference = [](char32_t code) { return QStringLiteral("&#%1;").arg(code); };
    EXPECT_EQ(withCp936Escapes("中😀ก", reference), QString("中&#128512;&#3585;"));
}

TEST(TextExport, OneLinePerRowTabsBetweenCellsAndNoLineEndAtTheEnd) {
    ExportFixture f;
    f.layout.columns.pop_back(); // the date column reads as the locale writes dates
    f.open();
    const std::string expected = cp936("编码\t名称\t数量\t单价\r\n"
                                       "A1\t螺栓\t12.5\t1.25\r\n"
                                       "B2\tx<y & z\t\t\r\n"
                                       "C3\t\t0.0312\t2\r\n"
                                       "合计\t\t12.5312\t3.25");
    EXPECT_EQ(f.written(TDBGridExportAsText()), expected);
}

TEST(TextExport, AnEmptyResultGivesTitlesAndFooterAndValuesAreNotEscaped) {
    ExportFixture f;
    f.layout.columns.pop_back();
    f.open("0");
    EXPECT_EQ(f.written(TDBGridExportAsText()), cp936("编码\t名称\t数量\t单价\r\n合计\t\t0\t0"));
    f.open("id = 2");
    f.layout.columns[1].field = "code";
    f.layout.columns[0].caption = "▲编码";
    EXPECT_EQ(f.written(TDBGridExportAsText()),
              cp936("▲编码\t名称\t数量\t单价\r\nB2\tB2\t\t\r\n合计\t\t0\t0"));
}

TEST(TextExport, TabsAndLineBreaksInsideAValueBecomeBlanksSoEveryRowStaysOneLine) {
    ExportFixture f;
    f.layout.columns = {f.layout.columns[0], f.layout.columns[1]};
    f.layout.columns[1].caption = "名\t称";
    f.open("id = 1");
    f.layout.columns[0].caption = "编\r\n码\r";
    EXPECT_EQ(f.written(TDBGridExportAsText()), cp936("编  码 \t名 称\r\nA1\t螺栓\r\n合计\t"));
    // CSV is records only: no sums line for an importer to take for one more record.
    EXPECT_EQ(f.written(TDBGridExportAsCSV()), cp936("\"编  码 \";\"名 称\"\r\n\"A1\";\"螺栓\""));
}

TEST(ExportDriver, CellsWrittenWithQuestionMarksAreCountedWhereTheFormatLosesCharacters) {
    ExportFixture f;
    f.open("id <= 2");
    f.layout.columns[1].caption = "名称😀";
    TDBGridExportAsText text;
    f.written(text);
    EXPECT_EQ(text.replacedCells(), 1U);
    f.query.close();
    f.query.clearStatement();
    f.query.appendLine("select code, name || ' 2.5mm² 3芯' as name, qty, price, day from t");
    f.query.open();
    f.written(text);
    EXPECT_EQ(text.replacedCells(), 4U); // the title and three names; counted anew each walk
    TDBGridExportAsXLS xls;
    f.written(xls);
    EXPECT_EQ(xls.replacedCells(), 4U);
    TDBGridExportAsHTML html;
    f.written(html);
    EXPECT_EQ(html.replacedCells(), 0U); // kept as &#178;
}

TEST(CsvExport, EveryValueIsQuotedWithInnerQuotesDoubled) {
    ExportFixture f;
    f.layout.columns = {f.layout.columns[1]};
    f.layout.columns[0].caption = "5\"x";
    f.open("id >= 2");
    EXPECT_EQ(f.written(TDBGridExportAsCSV()), cp936("\"5\"\"x\"\r\n\"x<y & z\"\r\n\"\""));
}

TEST(ByteScan, FindsEachByteAtEveryPlaceOfShortAndLongTexts) {
    // Chinese UTF-8 around the byte, so that high bytes sit in every word it is looked for in.
    for (std::size_t size = 1; size <= 19; ++size)
        for (std::size_t at = 0; at < size; ++at)
            for (const char special : {',', '"', '\r', '\n'}) {
                std::string text(size, '\xE8');
                EXPECT_FALSE((holdsAnyByte<',', '"', '\r', '\n'>(text)));
                text[at] = special;
                EXPECT_TRUE((holdsAnyByte<',', '"', '\r', '\n'>(text))) << size << " " << at;
                EXPECT_FALSE((holdsAnyByte<'\t'>(text)));
            }
    EXPECT_FALSE((holdsAnyByte<',', '\0'>(std::string_view())));
    EXPECT_TRUE((holdsAnyByte<'\0'>(std::string_view("abcdefgh\0", 9))));
}

TEST(ExportDriver, FixedPointSumsAddExactlyAsTheGridFooterAddsThem) {
    // 900719925475 has 2^53 and more ten-thousandths: a double could not hold the total's last
    // ten-thousandth.
    ExportFixture f;
    f.insert("(4, 'D4', 'n', 900719925475, 0, NULL), (5, 'E5', 'n', 0.0001, 0, NULL)");
    f.open("id >= 4");
    f.layout.columns = {f.layout.columns[2]};
    FooterSums sums({"qty"});
    sums.recompute(f.query);
    EXPECT_EQ(sums.total(0), 9007199254750001);
    EXPECT_EQ(f.written(TDBGridExportAsText()),
              cp936("数量\r\n900719925475\r\n0.0001\r\n900719925475.0001"));
}

TEST(ExportDriver, RowsGoOutInTheShownOrderAndTheCurrentRecordStaysCurrent) {
    ExportFixture f;
    f.layout.columns = {f.layout.columns[0]};
    f.open();
    f.query.setSortOrder("code DESC");
    f.query.first();
    f.query.moveBy(1);
    const auto current = f.query.bookmark();
    EXPECT_EQ(f.written(TDBGridExportAsText()), cp936("编码\r\nC3\r\nB2\r\nA1\r\n合计"));
    EXPECT_EQ(f.query.bookmark(), current);
    EXPECT_EQ(f.query.position(), 1u);
}

TEST(ExportDriver, AThousandSortedRowsGoOutWholeWithTheirNullsAndSums) {
    ExportFixture f;
    f.layout.columns.pop_back();
    f.query.close();
    f.query.clearStatement();
    f.query.appendLine("with recursive n(i) as (select 1 union all select i + 1 from n where i < "
                       "1000) select printf('K%04d', i) as code, case when i % 5 = 0 then null "
                       "else 'n' || i end as name, case when i % 3 = 0 then null else i * 0.5 "
                       "end as qty, i * 0.25 as price, null as day from n");
    f.query.open();
    f.query.setSortOrder("price DESC");
    std::string expected = "编码\t名称\t数量\t单价";
    const auto number = [](int quarters, int per) {
        return QString::number(static_cast<double>(quarters) / per, 'g', 15).toStdString();
    };
    for (int i = 1000; i >= 1; --i) {
        const std::string id = QString::asprintf("K%04d", i).toStdString();
        expected += "\r\n" + id + "\t" + (i % 5 == 0 ? "" : "n" + std::to_string(i)) + "\t" +
                    (i % 3 == 0 ? "" : number(i, 2)) + "\t" + number(i, 4);
    }
    expected += "\r\n合计\t\t166833.5\t125125"; // sums of i/2 (no multiples of 3) and i/4
    EXPECT_EQ(f.written(TDBGridExportAsText()), cp936(expected.c_str()));
}

TEST(ExportDriver, AClosedResultFailsAndLeavesTheOldFileAsItWas) {
    ExportFixture f;
    const std::filesystem::path folder = std::filesystem::path(f.file()).parent_path();
    const std::string path = f.file() + ".txt";
    EXPECT_THROW(
        TDBGridExportAsText().WriteGridToFile(QString::fromStdString(path), f.layout, f.query),
        DbError);
    EXPECT_FALSE(std::filesystem::exists(path));
    std::ofstream(path) << "old";
    const std::vector<std::string> before = filesIn(folder);
    EXPECT_THROW(
        TDBGridExportAsText().WriteGridToFile(QString::fromStdString(path), f.layout, f.query),
        DbError);
    EXPECT_EQ(fileBytes(path), "old");
    EXPECT_EQ(filesIn(folder), before); // no temporary file behind
}

TEST(ExportDriver, ACancelStopsTheWalkAndLeavesTheOldFile) {
    ExportFixture f;
    f.open();
    const std::filesystem::path folder = std::filesystem::path(f.file()).parent_path();
    const std::string path = f.file() + ".xls";
    std::ofstream(path) << "old";
    const std::vector<std::string> before = filesIn(folder);
    WorkControl control;
    control.cancel();
    TDBGridExportAsXLS writer;
    writer.watchWith(control);
    EXPECT_THROW(writer.WriteGridToFile(QString::fromStdString(path), f.layout, f.query),
                 WorkCancelled);
    EXPECT_EQ(fileBytes(path), "old");
    EXPECT_EQ(filesIn(folder), before);

    WorkControl watched; // counts every record it wrote
    TDBGridExportAsText text;
    text.watchWith(watched);
    text.WriteGridToFile(QString::fromStdString(path), f.layout, f.query);
    EXPECT_EQ(watched.done(), f.query.rowCount());
    EXPECT_EQ(watched.total(), f.query.rowCount());
}

TEST(ExportDriver, AFailedWriteIsReportedWithTheSystemsReasonAndTheOldFileStays) {
    ExportFixture f;
    f.open();
    const std::filesystem::path folder = std::filesystem::path(f.file()).parent_path();
    for (const ExportFileType& type : exportFileTypes()) {
        const std::string path = (folder / ("out." + type.name)).string();
        std::ofstream(path) << "old";
        const std::vector<std::string> before = filesIn(folder);
        // A disk that fills after 50 bytes: every format writes more than that. The size
        // limit's signal is the program's to handle.
        const int status = runInChild([&] {
            const rlimit fileSize{50, 50};
            setrlimit(RLIMIT_FSIZE, &fileSize);
            try {
                type.writer()->WriteGridToFile(QString::fromStdString(path), f.layout, f.query);
            } catch (const ExportError& error) {
                return std::string(error.what()) == "File too large" ? 0 : 3;
            }
            return 1; // reported as written
        });
        EXPECT_EQ(status, 0) << type.name;
        EXPECT_EQ(fileBytes(path), "old") << type.name;
        EXPECT_EQ(filesIn(folder), before) << type.name;
    }
}

TEST(ExportDriver, AResultTooLargeForAWorksheetIsRefusedBeforeAnyFileIsTouched) {
    ExportFixture f;
    f.query.appendLine("with recursive n(i) as (select 1 union all select i + 1 from n where "
                       "i < 65535) select 'A' code, '' name, 1 qty, 1.0 price, null day from n");
    f.query.open();
    const std::filesystem::path folder = std::filesystem::path(f.file()).parent_path();
    const std::string path = (folder / "big.xls").string();
    std::ofstream(path) << "old";
    const std::vector<std::string> before = filesIn(folder);
    try {
        TDBGridExportAsXLS().WriteGridToFile(QString::fromStdString(path), f.layout, f.query);
        FAIL() << "no refusal";
    } catch (const ExportError& error) {
        EXPECT_EQ(QString::fromUtf8(error.what()),
                  "结果有 65535 条记录，Excel 工作表最多只能放 65534 条记录（另有标题行和合计行）。"
                  "请选用 Excel 工作簿 (.xlsx) 或 CSV (UTF-8) 格式输出，它们能放一百多万条记录并"
                  "保留所有字符；Word、Html 和纯文本格式没有条数限制。");
    }
    EXPECT_EQ(fileBytes(path), "old");
    EXPECT_EQ(filesIn(folder), before);
}

TEST(ExportDriver, AFileThatCannotBeCreatedIsReportedWithItsPath) {
    ExportFixture f;
    f.open();
    const QString path = QString::fromStdString(f.file() + "/no/such/folder/out.txt");
    try {
        TDBGridExportAsText().WriteGridToFile(path, f.layout, f.query);
        FAIL() << "no error";
    } catch (const ExportError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot create file " + path.toStdString());
    }
}

TEST(ExportDriver, AnExistingFileIsReplaced) {
    ExportFixture f;
    f.layout.columns = {f.layout.columns[0]};
    f.open("id = 1");
    const std::string path = f.file() + ".txt";
    std::ofstream(path) << std::string(1000, 'x');
    TDBGridExportAsText().WriteGridToFile(QString::fromStdString(path), f.layout, f.query);
    EXPECT_EQ(fileBytes(path), cp936("编码\r\nA1\r\n合计"));
}

TEST(ChunkedBuffer, GivesBackEveryByteInOrderAlsoBeyondItsMemory) {
    std::string expected;
    for (int i = 0; i < 300000; ++i)
        expected += std::to_string(i) + (i % 7 ? "," : "\r\n");
    for (const std::size_t memory : {std::size_t{1} << 30, std::size_t{1000}}) {
        ChunkedBuffer buffer(memory);
        std::ostream in(&buffer);
        for (std::size_t at = 0; at < expected.size(); at += 4093)
            in << expected.substr(at, 4093);
        in.put('!');
        std::ostringstream out;
        buffer.copyTo(out);
        EXPECT_EQ(out.str(), expected + "!") << "memory " << memory;
    }
}
