#include "stock/CurrentStockQuery.h"
#include "db/Connection.h"
#include "db/ResultQuery.h"
#include "stock/CurrentStockFields.h"
#include "support/DemoDatabasePath.h"
#include "support/RawCurrentStock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <utility>

namespace {

class CurrentStockQuery : public ::testing::Test {
protected:
    static void SetUpTestSuite() { raw_ = new RawCurrentStock(demoDatabasePath()); }
    static void TearDownTestSuite() { delete raw_; }

    void SetUp() override {
        connection_.setSettings({"sqlite:" + demoDatabasePath(), "demo", "demo", ""});
        connection_.open();
    }

    // Runs the statement and checks every row and sum against the raw tables.
    std::size_t expectSameAsRaw(const CurrentStockCriteria& criteria) {
        ResultQuery query(connection_, currentStockFields());
        for (const std::string& line : currentStockStatement(criteria))
            query.appendLine(line);
        query.open();
        const auto expected = raw_->query(criteria);
        EXPECT_EQ(query.rowCount(), expected.size());
        const ResultSet& r = query.result();
        const auto text = [&](const char* field, std::size_t row) -> RawCurrentStock::Text {
            const ResultColumn& c = r.column(query.fieldIndex(field));
            return c.isNull(row) ? std::nullopt : RawCurrentStock::Text(std::string(c.text(row)));
        };
        const char* sums[] = {"现存量",       "可用数量",     "待发货数量", "待入库数量",
                              "调拨在途数量", "调拨待发数量", "冻结量"};
        for (std::size_t row = 0; row < r.rowCount(); ++row) {
            const RawCurrentStock::Key key{text("仓库名称", row), text("存货编码", row),
                                           text("存货名称", row), text("规格型号", row),
                                           text("存货代码", row), text("批号", row),
                                           text("存货备注", row)};
            const auto found = expected.find(key);
            if (found == expected.end()) {
                ADD_FAILURE() << "row " << row << " is not in the raw stock";
                break;
            }
            for (int k = 0; k < 7; ++k) {
                const double value = r.column(query.fieldIndex(sums[k])).asFloat(row);
                EXPECT_NEAR(value, found->second[static_cast<std::size_t>(k)], 0.00011)
                    << sums[k] << " row " << row;
            }
        }
        return query.rowCount();
    }

    static RawCurrentStock* raw_;
    Connection connection_;
};

RawCurrentStock* CurrentStockQuery::raw_ = nullptr;

CurrentStockCriteria byName(const std::string& name) {
    CurrentStockCriteria criteria;
    criteria.name = name;
    return criteria;
}

} // namespace

TEST_F(CurrentStockQuery, AllStockOfAllWarehousesWithTwinWarehousesKeptApart) {
    const std::size_t all = expectSameAsRaw({});
    EXPECT_GT(all, 20'000U);
    // Warehouses 03 and 12 share a name: each keeps its own rows, named with its code.
    CurrentStockCriteria twins;
    twins.warehouseCodes = {"03", "12"};
    twins.itemCode = "0000001";
    EXPECT_GE(expectSameAsRaw(twins), 2U);
    ResultQuery query(connection_, currentStockFields());
    for (const std::string& line : currentStockStatement(twins))
        query.appendLine(line);
    query.open();
    std::set<std::pair<std::string, std::string>> seen;
    for (std::size_t row = 0; row < query.rowCount(); ++row)
        seen.emplace(query.result().column(query.fieldIndex("仓库名称")).text(row),
                     query.result().column(query.fieldIndex("仓库编码")).text(row));
    EXPECT_EQ(seen, (std::set<std::pair<std::string, std::string>>{{"半成品库（03）", "03"},
                                                                   {"半成品库（12）", "12"}}));
}

TEST_F(CurrentStockQuery, EachCriterionAloneRestrictsItsColumn) {
    CurrentStockCriteria criteria;
    criteria.itemCode = "01";
    EXPECT_GT(expectSameAsRaw(criteria), 0U);
    criteria = {};
    criteria.addCode = "A-0001";
    EXPECT_GT(expectSameAsRaw(criteria), 0U);
    criteria = {};
    criteria.spec = "m8"; // letters match without regard to case
    EXPECT_GT(expectSameAsRaw(criteria), 0U);
    EXPECT_GT(expectSameAsRaw(byName("轴承")), 0U);
    criteria = {};
    criteria.warehouseCodes = {"01"};
    EXPECT_GT(expectSameAsRaw(criteria), 0U);
    criteria.warehouseCodes = {"07", "01", "03"};
    EXPECT_GT(expectSameAsRaw(criteria), 0U);
}

TEST_F(CurrentStockQuery, TextsCompareAsTheServersCaseInsensitiveCollationDoes) {
    const auto rows = [&](const CurrentStockCriteria& criteria) {
        ResultQuery query(connection_, currentStockFields());
        for (const std::string& line : currentStockStatement(criteria))
            query.appendLine(line);
        query.open();
        return query.rowCount();
    };
    CurrentStockCriteria plain;
    plain.warehouseCodes = {"01"};
    CurrentStockCriteria padded;
    padded.warehouseCodes = {"01 "}; // "=" and IN pad the shorter text with blanks
    EXPECT_GT(rows(plain), 0U);
    EXPECT_EQ(rows(padded), rows(plain));
    CurrentStockCriteria upper;
    upper.spec = "Ω";
    CurrentStockCriteria lower;
    lower.spec = "ω"; // folded beyond ASCII too
    EXPECT_GT(rows(upper), 0U);
    EXPECT_EQ(rows(lower), rows(upper));
}

TEST_F(CurrentStockQuery, TypedTextKeepsItsLiteralMeaning) {
    // Quotes, comment and statement marks, a trailing backslash, text made to look like SQL,
    // characters outside code page 936 and a very long text: each selects what its literal
    // substring (with LIKE's % and _) selects, never an error and never more.
    for (const std::string& text :
         {std::string("'"), std::string("''"), std::string("--"), std::string("/*"),
          std::string(";"), std::string("接头\\"), std::string("' or 1=1 --"),
          std::string("O'Brien"), std::string("50%_折扣'"), std::string("%"), std::string("_A"),
          std::string("😀"), std::string("\xE2\x82\xAC"), std::string(10'000, 'x')})
        expectSameAsRaw(byName(text));
    EXPECT_EQ(expectSameAsRaw(byName("O'Brien")), raw_->query(byName("O'Brien")).size());
    EXPECT_GT(raw_->query(byName("O'Brien")).size(), 0U);
    EXPECT_EQ(expectSameAsRaw(byName("' or 1=1 --")), 0U);
    CurrentStockCriteria quotedCode;
    quotedCode.warehouseCodes = {"0'1", "01"};
    expectSameAsRaw(quotedCode);
}

TEST(CurrentStockCriteriaText, OnlyTheGivenCriteriaAreNamedInTheWindowsOrder) {
    const auto describe = currentStockQuery().describe;
    EXPECT_EQ(describe({}), "查询条件：无");
    CurrentStockCriteria criteria;
    criteria.warehouseCodes = {"01", "02"};
    criteria.name = "轴承";
    criteria.itemCode = "0001";
    EXPECT_EQ(describe(criteria), "查询条件：仓库：01、02；存货编码：0001；存货名称：轴承");
}
