#include "connection/DbError.h"
#include "export/ChunkedBuffer.h"
#include "export/Cp936.h"
#include "export/ExportError.h"
#include "export/TDBGridExportAsCSV.h"
#include "export/TDBGridExportAsText.h"
#include "support/Bytes.h"
#include "support/ExportFixture.h"

#include <gtest/gtest.h>

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

TEST(CsvExport, EveryValueIsQuotedWithInnerQuotesDoubled) {
    ExportFixture f;
    f.layout.columns = {f.layout.columns[1]};
    f.layout.columns[0].caption = "5\"x";
    f.open("id >= 2");
    EXPECT_EQ(f.written(TDBGridExportAsCSV()), cp936("\"5\"\"x\"\r\n\"x<y & z\"\r\n\"\"\r\n\"\""));
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

TEST(ExportDriver, AClosedResultFailsAfterTheFileIsCreatedAndLeavesItEmpty) {
    ExportFixture f;
    const std::string path = f.file() + ".txt";
    EXPECT_THROW(
        TDBGridExportAsText().WriteGridToFile(QString::fromStdString(path), f.layout, f.query),
        DbError);
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(fileBytes(path), "");
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
