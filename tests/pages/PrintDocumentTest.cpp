// The print document: pages drawn on demand in any order, read back from a PDF by pdftotext.
#include "pages/PrintDocument.h"
#include "pages/CellFonts.h"
#include "support/ExportFixture.h"
#include "support/Poppler.h"
#include "support/TempDir.h"
#include "table/CellText.h"

#include <QPainter>
#include <QPdfWriter>

#include <gtest/gtest.h>

namespace {

const PageFrame kFrame{"现存量查询", "查询条件：存货名称：轴承", "2026-12-09 10:00"};

// Pages `order` of the document in a landscape A4 PDF, one PDF page each in that order; the
// text of each PDF page as laid out, without blanks.
QStringList printed(PrintDocument& document, const std::vector<std::size_t>& order,
                    const QString& path) {
    QPdfWriter writer(path);
    writer.setResolution(PagePlan::kGridDpi);
    writer.setPageLayout(pdfPageLayout());
    QPainter painter(&writer);
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (i > 0)
            writer.newPage();
        document.paint(painter, order[i]);
    }
    painter.end();
    QStringList pages = pdfPageTexts(path, true);
    for (QString& page : pages)
        page = withoutBlanks(page);
    return pages;
}

QSizeF a4Landscape() {
    return pdfPageLayout().paintRectPixels(PagePlan::kGridDpi).size();
}

} // namespace

TEST(PrintDocument, AnyPageIsDrawnOnDemandWithItsOwnRowsAndTheFooterAfterTheLastRow) {
    ExportFixture f;
    for (int id = 10; id < 130; ++id) // qty id + 0.5, price 0.25
        f.insert("(" + std::to_string(id) + ", 'R" + std::to_string(1000 + id) + "', '轴承', " +
                 std::to_string(id) + ".5, 0.25, '2026-03-04')");
    f.open();
    const WorkControl control;
    PrintDocument document(f.layout, TableSnapshot(f.query), kFrame, control);
    document.setPageArea(a4Landscape());
    const std::size_t pages = document.pageCount();
    ASSERT_GT(pages, 2U);
    ASSERT_EQ(document.rowCount(), 123U);

    // Last page first: each page stands on its own.
    std::vector<std::size_t> order;
    for (std::size_t page = pages; page-- > 0;)
        order.push_back(page);
    TempDir dir;
    const QStringList texts =
        printed(document, order, QString::fromStdString((dir / "pages.pdf").string()));
    ASSERT_GE(static_cast<std::size_t>(texts.size()), pages);
    const auto textOf = [&](std::size_t page) { return texts[int(pages - 1 - page)]; };

    const CellText shown;
    int lastPageSeen = 0;
    for (std::size_t row = 0; row < f.query.rowCount(); ++row) {
        const QString code = shown(f.query.result().column(0), f.query.rowAt(row));
        int pageOfRow = -1;
        for (std::size_t page = 0; page < pages; ++page)
            if (textOf(page).contains(
                    code + withoutBlanks(shown(f.query.result().column(1), f.query.rowAt(row)))))
                pageOfRow = pageOfRow < 0 ? int(page) : -2; // once only
        ASSERT_GE(pageOfRow, 0) << code.toStdString();
        EXPECT_GE(pageOfRow, lastPageSeen) << "rows keep their order across pages";
        lastPageSeen = pageOfRow;
    }
    for (std::size_t page = 0; page < pages; ++page) {
        EXPECT_TRUE(textOf(page).contains("现存量查询")) << page;
        EXPECT_TRUE(textOf(page).contains("查询条件：存货名称：轴承")) << page;
        EXPECT_TRUE(textOf(page).contains(QString("第%1页共%2页").arg(page + 1).arg(pages)));
        EXPECT_TRUE(textOf(page).contains("2026-12-0910:00"));
        // 12.5 + 0.03125 (0.0312, ties to even) + 10.5 + ... + 129.5; 1.25 + 2 + 120 × 0.25.
        EXPECT_EQ(textOf(page).contains("合计8412.531233.25"), page == pages - 1) << page;
    }
}

TEST(PrintDocument, PickedRowsArePrintedAloneWithTheirOwnTotals) {
    ExportFixture f;
    f.open();
    const WorkControl control;
    PrintDocument document(f.layout, TableSnapshot(f.query).only({0, 2}), kFrame, control);
    document.setPageArea(a4Landscape());
    ASSERT_EQ(document.pageCount(), 1U);
    TempDir dir;
    const QString text =
        printed(document, {0}, QString::fromStdString((dir / "picked.pdf").string()))[0];
    EXPECT_TRUE(text.contains("A1螺栓12.51.25")) << text.toStdString();
    EXPECT_TRUE(text.contains("C30.03122")) << text.toStdString();
    EXPECT_FALSE(text.contains("B2"));
    EXPECT_TRUE(text.contains("合计12.53123.25")) << text.toStdString();
}

TEST(PrintDocument, AStopWhileTheFooterIsAddedUpEndsTheWork) {
    ExportFixture f;
    f.open();
    WorkControl control;
    control.cancel();
    EXPECT_THROW(PrintDocument(f.layout, TableSnapshot(f.query), kFrame, control), WorkCancelled);
}

TEST(PrintDocument, ATextMuchTooWideEndsInAnEllipsisAtAWholeCharacterAndANumberKeepsEveryDigit) {
    ExportFixture f;
    f.insert("(4, '产成品入库产成品入库', '轴承', 123456.5, 0.25, '2026-03-04')");
    f.insert("(5, '产成品入', '轴承', 1, 0.25, '2026-03-04')");
    f.open("id in (4, 5)");
    f.layout.columns[0].width = 50; // room for a few characters of 12 pixels and the "…"
    f.layout.columns[2].width = 30; // too narrow for 123456.5
    const WorkControl control;
    PrintDocument document(f.layout, TableSnapshot(f.query), kFrame, control);
    document.setPageArea(a4Landscape());
    TempDir dir;
    const QString page =
        printed(document, {0}, QString::fromStdString((dir / "cut.pdf").string())).value(0);
    EXPECT_TRUE(page.contains(QRegularExpression("编码名称数量单价日期产成?品?入?…轴承")))
        << page.toStdString();
    EXPECT_TRUE(page.contains("123456.5")) << page.toStdString();
    // A text a little too wide is squeezed and stays whole.
    EXPECT_TRUE(page.contains("产成品入轴承")) << page.toStdString();
}

TEST(PrintDocument, ColumnsWidenOnPaperToShowTheirSumsAndTheirDatesWithTimesWhole) {
    ExportFixture f;
    f.insert("(6, 'D6', '轴承', 98765432.125, 0.25, '2026-03-04 13:45:30')");
    f.open();
    f.layout.columns[2].width = 30; // narrower than its sum
    f.layout.columns[4].width = 40; // narrower than a date with its time
    const WorkControl control;
    const PrintDocument timed(f.layout, TableSnapshot(f.query), kFrame, control);
    const auto advance = [](const ExportFont& font, const QString& text) {
        return QFontMetricsF(CellFonts::qfont(font)).horizontalAdvance(text);
    };
    const ExportLayout& paper = timed.layout();
    EXPECT_GE(paper.columns[2].width, advance(f.layout.columns[2].footer.font, "98765444.6563"));
    EXPECT_GE(paper.columns[4].width, advance(f.layout.columns[4].font, "2026/3/4 13:45:30"));
    EXPECT_EQ(paper.columns[1].width, f.layout.columns[1].width); // wide enough already
    // Dates alone need no room for a time.
    f.open("id <> 6");
    const PrintDocument dated(f.layout, TableSnapshot(f.query), kFrame, control);
    EXPECT_LT(dated.layout().columns[4].width,
              advance(f.layout.columns[4].font, "2026/3/4 13:45:30"));
}
