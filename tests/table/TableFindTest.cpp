#include "table/TableFind.h"
#include "db/Connection.h"
#include "db/ResultQuery.h"
#include "stock/CurrentStockQuery.h"
#include "support/DemoDatabasePath.h"
#include "support/OpenInTable.h"
#include "table/ResultTableModel.h"
#include "table/TableSnapshot.h"

#include <gtest/gtest.h>

namespace {

// The demo's current stock of items named like 轴承, sorted down by 现存量, in its table.
class TableFindTest : public testing::Test {
protected:
    void SetUp() override {
        connection.setSettings({"sqlite:" + demoDatabasePath(), "d", "u", ""});
        connection.open();
        CurrentStockCriteria criteria;
        criteria.name = "轴承";
        openInTable(table, currentStockQuery().statement(criteria));
        table.sortByTitle(table.columnOf("现存量"));
        table.sortByTitle(table.columnOf("现存量"));
    }
    // The hits as the cells show them, looked at one by one.
    std::vector<std::uint32_t> shownHits(const QString& needle) const {
        std::vector<std::uint32_t> hits;
        for (int row = 0; row < table.rowCount(); ++row)
            for (int column = 0; column < table.columnCount(); ++column)
                if (table.index(row, column)
                        .data()
                        .toString()
                        .contains(needle, Qt::CaseInsensitive)) {
                    hits.push_back(static_cast<std::uint32_t>(row));
                    break;
                }
        return hits;
    }

    Connection connection;
    ResultQuery query{connection, currentStockQuery().shape.fields};
    ResultTableModel table{query, currentStockQuery().shape.columns};
};

} // namespace

TEST_F(TableFindTest, HitsAreTheRowsWithACellShowingTheTextCaseIgnoredInDisplayOrder) {
    WorkControl control;
    ASSERT_GT(table.rowCount(), 20);
    // A name, a lower-case batch prefix, a number with its decimal point, a date-free digit run.
    const QString someQuantity = table.index(3, table.columnOf("现存量")).data().toString();
    for (const QString& needle : {QString("黄铜"), QString("b0000"), someQuantity, QString("7"),
                                  QString("没有这样的东西")}) {
        TableFind find(needle, table.resultColumns());
        const std::vector<std::uint32_t> expected = shownHits(needle);
        EXPECT_EQ(find.allHits(TableSnapshot(query), control), expected) << needle.toStdString();
        // Found on the spot from a row on, going round past the end, and backwards.
        if (expected.empty())
            continue;
        EXPECT_EQ(find.nearestHit(query, 0, true, 1'000'000), static_cast<int>(expected.front()));
        const int last = static_cast<int>(expected.back());
        EXPECT_EQ(find.nearestHit(query, last + 1, true, 1'000'000),
                  static_cast<int>(expected.front()));
        EXPECT_EQ(find.nearestHit(query, table.rowCount() - 1, false, 1'000'000), last);
    }
    EXPECT_EQ(TableFind("没有", table.resultColumns()).nearestHit(query, 0, true, 1'000'000), -1);
}

TEST_F(TableFindTest, TheNearbyLookStopsAtItsLimitAndTheCountAtACancel) {
    TableFind find("b0000", table.resultColumns());
    WorkControl control;
    const std::vector<std::uint32_t> hits = find.allHits(query, control);
    ASSERT_GE(hits.size(), 2U);
    const int second = static_cast<int>(hits[1]);
    const int gap = second - static_cast<int>(hits[0]);
    EXPECT_EQ(find.nearestHit(query, static_cast<int>(hits[0]) + 1, true, gap), second);
    if (gap > 1) { // the rows between the first two hits are none
        EXPECT_EQ(find.nearestHit(query, static_cast<int>(hits[0]) + 1, true, gap - 1), -1);
    }
    control.cancel();
    EXPECT_THROW(find.allHits(query, control), WorkCancelled);
}
