// The PDF export, read back by poppler's pdftotext and pdfinfo as a reader would.
#include "export/TDBGridExportAsPDF.h"
#include "result/ResultColumn.h"
#include "support/ExportFixture.h"
#include "support/Poppler.h"
#include "support/TempDir.h"
#include "table/CellText.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

TEST(PdfExport, PdftotextGivesBackEveryValueInOrderUnderTheTitlesOnEveryPage) {
    ExportFixture f;
    for (int id = 10; id < 130; ++id) // enough rows for several pages
        f.insert("(" + std::to_string(id) + ", 'R" + std::to_string(1000 + id) + "', '深沟球轴承" +
                 std::to_string(id) + "', " + std::to_string(id) + ".5, 0.25, '2026-03-04')");
    f.layout.title = "现存量查询";
    f.layout.criteria = "查询条件：存货名称：轴承";
    f.open();
    TempDir dir;
    const QString path = QString::fromStdString((dir / "stock.pdf").string());
    TDBGridExportAsPDF writer;
    writer.WriteGridToFile(path, f.layout, f.query);

    const QString info = popplerOutput("pdfinfo", {path});
    const QRegularExpressionMatch pages = QRegularExpression("Pages:\\s+(\\d+)").match(info);
    ASSERT_TRUE(pages.hasMatch()) << info.toStdString();
    const int pageCount = pages.captured(1).toInt();
    EXPECT_GT(pageCount, 1);
    EXPECT_TRUE(info.contains("landscape") || info.contains("842 x 595")) << info.toStdString();

    const QStringList pageTexts = pdfPageTexts(path);
    ASSERT_GE(pageTexts.size(), pageCount);
    for (int page = 0; page < pageCount; ++page) {
        const QString text = withoutBlanks(pageTexts[page]);
        EXPECT_TRUE(text.contains("现存量查询")) << page;
        EXPECT_TRUE(text.contains("查询条件：存货名称：轴承")) << page;
        EXPECT_TRUE(text.contains(QString("第%1页共%2页").arg(page + 1).arg(pageCount))) << page;
        for (const ExportColumn& column : f.layout.columns)
            EXPECT_TRUE(text.contains(withoutBlanks(column.caption))) << page;
    }
    // Every cell as the grid shows it, row after row; the footer after the last row.
    const QString whole = withoutBlanks(pageTexts.join(""));
    const CellText shown;
    qsizetype at = 0;
    for (std::size_t row = 0; row < f.query.rowCount(); ++row) {
        const ResultColumn& code = f.query.result().column(0);
        const QString codeText = shown(code, f.query.rowAt(row));
        const qsizetype found = whole.indexOf(codeText, at);
        ASSERT_GE(found, at) << codeText.toStdString();
        at = found;
        for (std::size_t column = 1; column < f.layout.columns.size(); ++column)
            EXPECT_TRUE(whole.contains(
                withoutBlanks(shown(f.query.result().column(column), f.query.rowAt(row)))));
    }
    EXPECT_GT(whole.indexOf("合计", at), at);
}
