#include "pages/PagePlan.h"

#include <gtest/gtest.h>

#include <numeric>

namespace {

// A landscape A4 page's printable area in grid pixels, with the heights the pages use.
PagePlan::Sizes a4(std::vector<int> widths, std::size_t rows, int frozen = 0) {
    PagePlan::Sizes sizes;
    sizes.columnWidths = std::move(widths);
    sizes.frozenColumns = frozen;
    sizes.rows = rows;
    sizes.pageWidth = 1047;
    sizes.pageHeight = 718;
    sizes.headingHeight = 40;
    sizes.titleHeight = 36;
    sizes.rowHeight = 18;
    sizes.footHeight = 22;
    return sizes;
}

// Every row on exactly one page of each band, in order, and the footer row on the last
// block's pages alone.
void expectRowsCovered(const PagePlan& plan, std::size_t rows) {
    for (std::size_t band = 0; band < plan.bands().size(); ++band) {
        std::size_t next = 0;
        std::size_t footers = 0;
        for (std::size_t index = 0; index < plan.pageCount(); ++index) {
            const PagePlan::Page page = plan.page(index);
            if (page.band != band)
                continue;
            ASSERT_EQ(page.firstRow, next);
            ASSERT_LE(page.endRow - page.firstRow, plan.rowsPerPage());
            next = page.endRow;
            footers += page.footerRow;
            if (page.footerRow) { // room for it after the last row
                ASSERT_LT(page.endRow - page.firstRow, plan.rowsPerPage());
            }
        }
        EXPECT_EQ(next, rows);
        EXPECT_EQ(footers, 1U);
    }
}

} // namespace

TEST(PagePlan, ANarrowTableKeepsItsSizeAndFillsPagesDownWithTheFooterAfterTheLastRow) {
    const PagePlan plan(a4({100, 200, 300}, 1000));
    EXPECT_EQ(plan.scale(), 1.0);
    ASSERT_EQ(plan.bands().size(), 1U);
    EXPECT_EQ(plan.bands()[0].columns, (std::vector<std::size_t>{0, 1, 2}));
    EXPECT_EQ(plan.rowsPerPage(), std::size_t((718 - 40 - 36 - 22) / 18)); // 34
    EXPECT_EQ(plan.pageCount(), std::size_t((1000 + 1 + 33) / 34));        // 30
    expectRowsCovered(plan, 1000);
    // A last page full of rows leaves the footer row a page of its own.
    const PagePlan full(a4({100}, 34 * 3));
    EXPECT_EQ(full.pageCount(), 4U);
    EXPECT_EQ(full.page(3).firstRow, full.page(3).endRow);
    expectRowsCovered(full, 34 * 3);
    // No rows: one page with titles and the footer row.
    const PagePlan empty(a4({100}, 0));
    EXPECT_EQ(empty.pageCount(), 1U);
    EXPECT_TRUE(empty.page(0).footerRow);
}

TEST(PagePlan, AWiderTableShrinksToThePageWidthAndGetsMoreRowsAPage) {
    const PagePlan plan(a4({400, 400, 400}, 500)); // 1200 wide: scale 1047/1200
    EXPECT_NEAR(plan.scale(), 1047.0 / 1200.0, 1e-9);
    EXPECT_EQ(plan.bands().size(), 1U);
    EXPECT_EQ(plan.rowsPerPage(), std::size_t((718 / plan.scale() - 40 - 36 - 22) / 18));
    expectRowsCovered(plan, 500);
}

TEST(PagePlan, ATableTooWideToReadGoesOntoBandsAcrossWithTheFrozenColumnsRepeated) {
    std::vector<int> widths(24, 100); // 2400 wide: below the readable scale
    widths[0] = 80;
    widths[1] = 120;
    const PagePlan plan(a4(widths, 200, 2));
    EXPECT_EQ(plan.scale(), 0.75);
    const double room = 1047 / 0.75;
    ASSERT_GT(plan.bands().size(), 1U);
    std::vector<std::size_t> seen;
    for (const PagePlan::Band& band : plan.bands()) {
        ASSERT_GE(band.columns.size(), 3U);
        EXPECT_EQ(band.columns[0], 0U);
        EXPECT_EQ(band.columns[1], 1U);
        double width = 0;
        for (const std::size_t column : band.columns)
            width += widths[column];
        EXPECT_LE(width, room);
        seen.insert(seen.end(), band.columns.begin() + 2, band.columns.end());
    }
    std::vector<std::size_t> all(22);
    std::iota(all.begin(), all.end(), 2U);
    EXPECT_EQ(seen, all); // every other column once, in order
    // Down the rows first, each block's bands side by side.
    EXPECT_EQ(plan.pageCount(),
              plan.bands().size() * ((200 + 1 + plan.rowsPerPage() - 1) / plan.rowsPerPage()));
    EXPECT_EQ(plan.page(1).band, 1U);
    EXPECT_EQ(plan.page(1).firstRow, 0U);
    expectRowsCovered(plan, 200);
}

TEST(PagePlan, FrozenColumnsOfHalfAPageOrMoreAreNotRepeatedAndAHugeColumnStandsAlone) {
    const PagePlan plan(a4({800, 100, 100, 3000, 100}, 10, 1));
    for (std::size_t band = 1; band < plan.bands().size(); ++band)
        EXPECT_NE(plan.bands()[band].columns.front(), 0U);
    bool alone = false;
    for (const PagePlan::Band& band : plan.bands())
        alone = alone || band.columns == std::vector<std::size_t>{3};
    EXPECT_TRUE(alone);
}
