#include "table/RowFilter.h"
#include "db/Connection.h"
#include "db/ResultQuery.h"
#include "db/WorkControl.h"
#include "result/CollationKeys.h"
#include "stock/CurrentStockQuery.h"
#include "support/DemoDatabasePath.h"
#include "support/OpenInTable.h"
#include "table/DistinctValues.h"
#include "table/ResultTableModel.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace {

// The demo's whole current stock in its table, and the raw columns the checks read directly.
class RowFilterTest : public testing::Test {
protected:
    void SetUp() override {
        connection.setSettings({"sqlite:" + demoDatabasePath(), "d", "u", ""});
        connection.open();
        openInTable(table, currentStockQuery().statement(CurrentStockCriteria{}));
        ASSERT_GT(query.rowCount(), 10000U);
    }
    const ResultColumn& raw(std::string_view field) const {
        return query.result().column(query.fieldIndex(field));
    }
    ColumnFilter on(const char* field, FieldKind kind = FieldKind::Text) const {
        ColumnFilter filter;
        filter.field = field;
        filter.caption = field;
        filter.fieldKind = kind;
        return filter;
    }
    // Filters the table, then checks it against `expected`, a test on the raw values: the
    // rows shown are exactly those, in the sort order, and the sums and the count are theirs.
    void expectShown(const RowFilter& filter, const std::function<bool(std::size_t)>& expected) {
        WorkControl control;
        table.showFiltered(filter, filter.passing(query.result(), CellText(), control));
        std::size_t count = 0;
        std::int64_t onHand = 0;
        const ResultColumn& quantities = raw("现存量");
        for (std::size_t row = 0; row < query.totalRowCount(); ++row)
            if (expected(row)) {
                ++count;
                onHand += quantities.isNull(row) ? 0 : quantities.integer(row);
            }
        ASSERT_EQ(query.rowCount(), count);
        ASSERT_EQ(table.rowCount(), static_cast<int>(count));
        for (std::size_t position = 0; position < query.rowCount(); ++position)
            ASSERT_TRUE(expected(query.rowAt(position))) << position;
        EXPECT_EQ(table.sums().total(0), onHand); // 现存量 is the first sum
        EXPECT_EQ(query.isFiltered(), !filter.empty());
    }

    Connection connection;
    ResultQuery query{connection, currentStockQuery().shape.fields};
    ResultTableModel table{query, currentStockQuery().shape.columns};
};

} // namespace

TEST_F(RowFilterTest, ValueListsRangesAndTheirCombinationShowJustTheRowsThatPassEach) {
    const ResultColumn& warehouse = raw("仓库名称");
    const ResultColumn& onHand = raw("现存量");
    const std::string first(warehouse.text(0));
    const std::string other(warehouse.text(query.totalRowCount() - 1));
    ASSERT_NE(first, other);

    ColumnFilter two = on("仓库名称");
    two.texts = {QString::fromStdString(first), QString::fromStdString(other)};
    RowFilter filter;
    filter.set(two);
    expectShown(filter, [&](std::size_t row) {
        return warehouse.text(row) == first || warehouse.text(row) == other;
    });

    ColumnFilter notFirst = two;
    notFirst.kind = ColumnFilter::Kind::NotIn;
    notFirst.texts = {QString::fromStdString(first)};
    filter.set(notFirst); // replaces the filter of the column
    ASSERT_EQ(filter.filters().size(), 1U);
    expectShown(filter, [&](std::size_t row) { return warehouse.text(row) != first; });

    // Below zero (strict), then a closed range, each on top of the warehouse filter.
    ColumnFilter belowZero = on("现存量", FieldKind::Decimal);
    belowZero.kind = ColumnFilter::Kind::Range;
    belowZero.high = 0;
    belowZero.highStrict = true;
    filter.set(belowZero);
    expectShown(filter, [&](std::size_t row) {
        return warehouse.text(row) != first && !onHand.isNull(row) && onHand.integer(row) < 0;
    });
    ColumnFilter between = belowZero;
    between.low = 10;
    between.high = 20.5;
    between.highStrict = false;
    filter.set(between);
    expectShown(filter, [&](std::size_t row) {
        return warehouse.text(row) != first && !onHand.isNull(row) &&
               onHand.integer(row) >= 100000 && onHand.integer(row) <= 205000;
    });
    EXPECT_EQ(
        filter.describe(),
        QString("筛选：仓库名称 ≠ %1；10 ≤ 现存量 ≤ 20.5").arg(QString::fromStdString(first)));

    // A sort keeps the filter, and shows the same rows in the new order.
    table.sortByTitle(table.columnOf("现存量"));
    for (std::size_t position = 1; position < query.rowCount(); ++position)
        ASSERT_LE(onHand.integer(query.rowAt(position - 1)), onHand.integer(query.rowAt(position)));
    expectShown(filter, [&](std::size_t row) {
        return warehouse.text(row) != first && onHand.integer(row) >= 100000 &&
               onHand.integer(row) <= 205000;
    });
    // No filter: every row again, and a new result ends the filters.
    filter.clear();
    expectShown(filter, [](std::size_t) { return true; });
    filter.set(two);
    WorkControl control;
    table.showFiltered(filter, filter.passing(query.result(), CellText(), control));
    table.beginQueryChange();
    query.close();
    table.endQueryChange();
    EXPECT_TRUE(table.filter().empty());
    EXPECT_FALSE(query.isFiltered());
}

TEST_F(RowFilterTest, EmptyAndNullCellsAreOneValueAndACancelStopsTheWork) {
    const ResultColumn& notes = raw("存货备注");
    ColumnFilter empty = on("存货备注");
    empty.texts = {QString()};
    RowFilter filter;
    filter.set(empty);
    const auto blank = [&](std::size_t row) {
        return notes.isNull(row) || notes.text(row).empty();
    };
    expectShown(filter, blank);
    ASSERT_GT(query.rowCount(), 0U);
    EXPECT_EQ(empty.text(), "存货备注：（空）");

    WorkControl cancelled;
    cancelled.cancel();
    EXPECT_THROW(filter.passing(query.result(), CellText(), cancelled), WorkCancelled);
}

TEST_F(RowFilterTest, AColumnsValuesAreListedOnceWithTheirCountsInTheColumnsOrder) {
    WorkControl control;
    // Warehouses: every name with its own count, collated, over the rows another filter shows.
    const ResultColumn& warehouse = raw("仓库名称");
    const ResultColumn& onHand = raw("现存量");
    std::vector<std::uint8_t> positive(query.totalRowCount());
    std::map<std::string, std::size_t> expected;
    for (std::size_t row = 0; row < positive.size(); ++row) {
        positive[row] = onHand.integer(row) > 0;
        if (positive[row])
            ++expected[std::string(warehouse.text(row))];
    }
    const std::vector<DistinctValue> names =
        distinctValues(warehouse, positive, CellText(), control);
    ASSERT_EQ(names.size(), expected.size());
    std::vector<std::string> listed;
    for (const DistinctValue& value : names) {
        listed.push_back(value.text.toStdString());
        EXPECT_EQ(value.count, expected[listed.back()]) << listed.back();
    }
    const CollationKeys keys(std::vector<std::string_view>(listed.begin(), listed.end()));
    for (std::size_t i = 1; i < listed.size(); ++i)
        EXPECT_LE(keys.key(i - 1), keys.key(i)) << listed[i];

    // Quantities: by value, the empty cells first as one entry, each count its own.
    const ResultColumn& frozen = raw("冻结量");
    std::map<std::int64_t, std::size_t> byValue;
    std::size_t nulls = 0;
    for (std::size_t row = 0; row < frozen.size(); ++row)
        frozen.isNull(row) ? ++nulls : ++byValue[frozen.integer(row)];
    const std::vector<DistinctValue> values = distinctValues(frozen, {}, CellText(), control);
    std::size_t at = 0;
    if (nulls > 0) {
        ASSERT_TRUE(values[0].text.isEmpty());
        EXPECT_EQ(values[0].count, nulls);
        at = 1;
    }
    ASSERT_EQ(values.size() - at, byValue.size());
    for (const auto& [value, count] : byValue) {
        EXPECT_EQ(values[at].text, CellText().decimal(value));
        EXPECT_EQ(values[at].count, count);
        ++at;
    }
}
