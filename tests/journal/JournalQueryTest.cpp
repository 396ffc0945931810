#include "journal/JournalQuery.h"
#include "db/Connection.h"
#include "db/ResultQuery.h"
#include "journal/JournalFields.h"
#include "journal/JournalStatement.h"
#include "support/DemoDatabasePath.h"
#include "support/QueryText.h"

#include <gtest/gtest.h>

namespace {

// The journal statement on the demo database, beside counts worked out with plainer SQL.
class JournalQuery : public ::testing::Test {
protected:
    void SetUp() override {
        connection_.setSettings({"sqlite:" + demoDatabasePath(), "demo", "demo", ""});
        connection_.open();
    }

    ResultQuery run(const JournalCriteria& criteria) {
        ResultQuery query(connection_, journalFields());
        for (const std::string& line : journalStatement(criteria))
            query.appendLine(line);
        query.open();
        return query;
    }

    // The number of document lines whose header and document type exist, restricted by
    // `where` on rdrecords b, rdrecord a and an optional left-joined table.
    std::size_t linesWhere(const std::string& where, const std::string& join = "") {
        ResultQuery query(connection_);
        query.appendLine("select count(*) from rdrecords b join rdrecord a on a.id = b.id "
                         "join VouchType c on c.cVouchType = a.cVouchType " +
                         join + " where " + where);
        query.open();
        return static_cast<std::size_t>(query.result().column(0).asFloat(0));
    }

    Connection connection_;
};

TEST_F(JournalQuery, EveryLineInTheDateRangeIsListedWhateverItsWarehouse) {
    EXPECT_EQ(run(wholeJournal()).rowCount(), linesWhere("1=1"));
    JournalCriteria spring = wholeJournal();
    spring.dateFrom = "2026-03-01";
    spring.dateTo = "2026-05-31";
    const std::size_t rows = run(spring).rowCount();
    EXPECT_GT(rows, 0u);
    EXPECT_EQ(rows, linesWhere("a.dDate >= '2026-03-01' and a.dDate < '2026-06-01'"));
    // Lines whose document names no warehouse row are among them.
    EXPECT_GT(linesWhere("d.cWhCode is null", "left join Warehouse d on d.cWhCode = a.cWhCode"),
              0u);
}

TEST_F(JournalQuery, AStartAfterTheEndGivesAnEmptyResult) {
    JournalCriteria backwards = wholeJournal();
    backwards.dateFrom = "2026-06-01";
    backwards.dateTo = "2026-05-31";
    const ResultQuery query = run(backwards);
    EXPECT_TRUE(query.isOpen());
    EXPECT_EQ(query.rowCount(), 0u);
}

TEST_F(JournalQuery, TheFlagKeepsOnlyReceiptsOrOnlyIssues) {
    for (const auto& [flag, kept, emptyField, rdFlag] :
         {std::tuple{"收", "收", "出库数量", 1}, std::tuple{"发", "发", "入库数量", 0}}) {
        JournalCriteria criteria = wholeJournal();
        criteria.flag = flag;
        const ResultQuery query = run(criteria);
        ASSERT_GT(query.rowCount(), 0u);
        EXPECT_EQ(query.rowCount(), linesWhere("a.bRdFlag = " + std::to_string(rdFlag)));
        const ResultColumn& flags = query.result().column(query.fieldIndex("收发标志"));
        const ResultColumn& empty = query.result().column(query.fieldIndex(emptyField));
        for (std::size_t row = 0; row < query.rowCount(); ++row) {
            ASSERT_EQ(flags.text(row), kept);
            ASSERT_TRUE(empty.isNull(row));
        }
    }
}

TEST_F(JournalQuery, TheSourceMustMatchExactlyAndAnEmptyOneKeepsEveryLine) {
    JournalCriteria criteria = wholeJournal();
    criteria.source = "调拨";
    EXPECT_EQ(run(criteria).rowCount(), linesWhere("a.cSource = '调拨'"));
    criteria.source = "调";
    EXPECT_EQ(run(criteria).rowCount(), 0u);
    criteria.source = "";
    EXPECT_EQ(run(criteria).rowCount(), linesWhere("1=1"));
}

TEST_F(JournalQuery, AnItemCriterionDropsLinesWithoutAnItemRow) {
    const std::string inventory = "left join Inventory g on g.cInvCode = b.cInvCode";
    ASSERT_GT(linesWhere("g.cInvCode is null", inventory), 0u);
    JournalCriteria criteria = wholeJournal();
    criteria.name = "%"; // any name at all, but there must be an item
    EXPECT_EQ(run(criteria).rowCount(), linesWhere("g.cInvName is not null", inventory));
    criteria.name = "_"; // the LIKE wildcard for one character
    EXPECT_EQ(run(criteria).rowCount(), linesWhere("g.cInvName <> ''", inventory));
    criteria.name = "轴承";
    EXPECT_EQ(run(criteria).rowCount(), linesWhere("g.cInvName like '%轴承%'", inventory));
}

TEST_F(JournalQuery, ChosenWarehousesDropDocumentsWithoutAWarehouseRow) {
    JournalCriteria criteria = wholeJournal();
    ResultQuery codes(connection_);
    codes.appendLine("select cWhCode from Warehouse");
    codes.open();
    for (std::size_t row = 0; row < codes.rowCount(); ++row)
        criteria.warehouseCodes.emplace_back(codes.result().column(0).text(row));
    EXPECT_EQ(
        run(criteria).rowCount(),
        linesWhere("d.cWhCode is not null", "left join Warehouse d on d.cWhCode = a.cWhCode"));
}

TEST_F(JournalQuery, QuotesInTheCriteriaKeepTheirMeaning) {
    JournalCriteria criteria = wholeJournal();
    for (const std::string text : {"'", "O'Brien", "' or 1=1 --", "'); drop table x; --"}) {
        criteria.documentNumber = text;
        criteria.source = text;
        EXPECT_EQ(run(criteria).rowCount(), 0u) << text;
    }
}

} // namespace

TEST(JournalCriteriaText, TheDatesAlwaysAndTheOtherCriteriaWhenGiven) {
    JournalCriteria criteria;
    criteria.dateFrom = "2026-01-01";
    criteria.dateTo = "2026-12-08";
    EXPECT_EQ(journalQuery().describe(criteria), "查询条件：制单日期：2026-01-01 至 2026-12-08");
    criteria.flag = "收";
    criteria.documentNumber = "RK001";
    EXPECT_EQ(journalQuery().describe(criteria),
              "查询条件：制单日期：2026-01-01 至 2026-12-08；收发标志：收；单据号：RK001");
}
