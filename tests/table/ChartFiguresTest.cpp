#include "table/ChartFigures.h"
#include "db/Connection.h"
#include "db/ResultQuery.h"
#include "journal/JournalQuery.h"
#include "ledger/StockCardQuery.h"
#include "result/DateTime.h"
#include "stock/CurrentStockQuery.h"
#include "support/DemoDatabasePath.h"
#include "support/OpenInTable.h"
#include "table/FooterSums.h"
#include "table/ResultTableModel.h"
#include "table/TableSnapshot.h"

#include <gtest/gtest.h>

#include <numeric>

namespace {

// A window's whole result of the demo in its table, as the chart window reads it.
template <typename Criteria> struct WholeResult {
    WholeResult(const QueryDefinition<Criteria>& definition, const Criteria& criteria)
        : query(connection, definition.shape.fields), table(query, definition.shape.columns) {
        connection.setSettings({"sqlite:" + demoDatabasePath(), "d", "u", ""});
        connection.open();
        openInTable(table, definition.statement(criteria));
    }
    std::size_t field(const char* name) const { return query.fieldIndex(name); }
    // The grid's footer total of a field, in ten-thousandths.
    std::int64_t footer(const char* name) const {
        const std::vector<std::string>& fields = table.sums().fields();
        const auto at = std::find(fields.begin(), fields.end(), name) - fields.begin();
        return table.sums().total(static_cast<std::size_t>(at));
    }
    Connection connection;
    ResultQuery query;
    ResultTableModel table;
};

std::int64_t added(const std::vector<FigureGroup>& groups, std::size_t total) {
    return std::accumulate(
        groups.begin(), groups.end(), std::int64_t{0},
        [&](std::int64_t sum, const FigureGroup& g) { return sum + g.totals[total]; });
}

JournalCriteria wholeYears() {
    JournalCriteria criteria;
    criteria.dateFrom = "1900-01-01";
    criteria.dateTo = "2100-12-31";
    return criteria;
}

} // namespace

TEST(ChartFigures, StockByWarehouseAddsUpToTheFooterAndAgreesWithTheDatabase) {
    WholeResult stock(currentStockQuery(), CurrentStockCriteria{});
    const TableSnapshot rows(stock.query);
    const WorkControl control;
    const std::vector<FigureGroup> byWarehouse =
        totalsByText(rows, stock.field("仓库名称"), {stock.field("现存量")}, control);
    ASSERT_GT(byWarehouse.size(), 1U);
    EXPECT_EQ(added(byWarehouse, 0), stock.footer("现存量"));
    // Each warehouse's bar as the database adds it up.
    std::string statement;
    for (const std::string& line : currentStockQuery().statement({}))
        statement += line + "\n";
    ResultQuery bySql(stock.connection);
    bySql.appendLine("select 仓库名称, sum(现存量) as total from (" + statement +
                     ") group by 仓库名称 order by 仓库名称");
    bySql.open();
    ASSERT_EQ(bySql.rowCount(), byWarehouse.size());
    const ResultSet& sql = bySql.result();
    for (std::size_t i = 0; i < byWarehouse.size(); ++i) {
        EXPECT_EQ(byWarehouse[i].label.toStdString(), sql.column(0).text(i));
        EXPECT_NEAR(byWarehouse[i].totals[0] / 10000.0, sql.column(1).asFloat(i), 1e-3);
    }
}

TEST(ChartFigures, TheTwentyItemsWithTheMostStockComeLargestFirstWithTheirNames) {
    WholeResult stock(currentStockQuery(), CurrentStockCriteria{});
    const TableSnapshot rows(stock.query);
    const std::vector<FigureGroup> items =
        totalsByText(rows, stock.field("存货编码"), {stock.field("现存量")}, WorkControl(),
                     stock.field("存货名称"));
    // As the chart window asks for them, by the columns' names.
    const std::vector<FigureGroup> top = chartFigures({.title = "top",
                                                       .key = "存货编码",
                                                       .values = {"现存量"},
                                                       .name = "存货名称",
                                                       .largest = 20},
                                                      rows, WorkControl());
    ASSERT_EQ(top.size(), 20U);
    for (std::size_t i = 1; i < top.size(); ++i)
        EXPECT_GE(top[i - 1].totals[0], top[i].totals[0]);
    for (const FigureGroup& item : items)
        EXPECT_LE(item.totals[0], top.front().totals[0]);
    EXPECT_EQ(added(items, 0), stock.footer("现存量"));
    EXPECT_TRUE(top.front().label.contains(' ')); // code, then name
    EXPECT_EQ(top, largestGroups(items, 20));
}

TEST(ChartFigures, ARequestNamingAColumnTheResultLacksGivesNoGroups) {
    WholeResult stock(currentStockQuery(), CurrentStockCriteria{});
    const TableSnapshot rows(stock.query);
    EXPECT_FALSE(
        chartFigures({.title = "t", .key = "仓库名称", .values = {"现存量"}}, rows, WorkControl())
            .empty());
    for (const ChartRequest& wrong :
         {ChartRequest{.title = "t", .key = "仓库", .values = {"现存量"}},
          ChartRequest{.title = "t", .key = "仓库名称", .values = {"现存量", "入库数量"}},
          ChartRequest{.title = "t", .key = "存货编码", .values = {"现存量"}, .name = "名称"}})
        EXPECT_TRUE(chartFigures(wrong, rows, WorkControl()).empty());
}

TEST(ChartFigures, JournalReceiptsAndIssuesByMonthAndByWarehouseAddUpToTheFooters) {
    WholeResult journal(journalQuery(), wholeYears());
    const TableSnapshot rows(journal.query);
    const std::vector<std::size_t> quantities = {journal.field("入库数量"),
                                                 journal.field("出库数量")};
    const std::vector<FigureGroup> months = chartFigures({.title = "months",
                                                          .key = "单据日期",
                                                          .values = {"入库数量", "出库数量"},
                                                          .groups = ChartRequest::Groups::ByMonth},
                                                         rows, WorkControl());
    ASSERT_GT(months.size(), 1U);
    for (std::size_t i = 1; i < months.size(); ++i)
        EXPECT_LT(months[i - 1].label, months[i].label);
    EXPECT_EQ(months.front().label.size(), 7); // 2026-03
    const std::vector<FigureGroup> warehouses =
        totalsByText(rows, journal.field("仓库"), quantities, WorkControl());
    for (const auto* groups : {&months, &warehouses}) {
        EXPECT_EQ(added(*groups, 0), journal.footer("入库数量"));
        EXPECT_EQ(added(*groups, 1), journal.footer("出库数量"));
    }
}

TEST(ChartFigures, AStockCardsBalanceIsAPointPerLineInBookingOrderOverItsPeriod) {
    const StockCardCriteria criteria{"12", "0002091", std::nullopt, "2000-01-01", "2100-12-31"};
    WholeResult card(stockCardQuery(), criteria);
    const ChartRequest balance{.title = "b",
                               .key = "单据日期",
                               .values = {"结存数量"},
                               .groups = ChartRequest::Groups::EveryRow,
                               .firstDay = "2000-01-01",
                               .lastDay = "2100-12-31"};
    const std::size_t dates = card.field("单据日期");
    const std::size_t balances = card.field("结存数量");
    const ResultSet& result = card.query.result();
    ASSERT_GT(result.rowCount(), 3U);
    // Sorted otherwise in the grid: the chart still follows the lines as booked.
    card.query.setSortOrder("结存数量 DESC");
    const std::vector<FigureGroup> points = chartFigures(balance, card.query, WorkControl());
    ASSERT_EQ(points.size(), result.rowCount());
    EXPECT_EQ(points.front().label, "2000-01-01");
    EXPECT_EQ(points.back().label, "2100-12-31");
    for (std::size_t row = 0; row < points.size(); ++row) {
        EXPECT_EQ(points[row].totals.front(),
                  FooterSums::added(0, FieldKind::Double, result.column(balances).bits(row)))
            << row;
        if (row > 0 && row + 1 < points.size()) {
            const CivilDateTime day = fromEpochMilliseconds(result.column(dates).integer(row));
            EXPECT_EQ(points[row].label,
                      QString::asprintf("%04d-%02d-%02d", day.year, day.month, day.day))
                << row;
            EXPECT_LE(points[row - 1].label, points[row].label);
        }
    }
}

TEST(ChartFigures, AStopIsHeard) {
    WholeResult stock(currentStockQuery(), CurrentStockCriteria{});
    WorkControl control;
    control.cancel();
    EXPECT_THROW(totalsByText(TableSnapshot(stock.query), 0, {}, control), WorkCancelled);
}
