#include "db/Connection.h"
#include "db/ResultQuery.h"
#include "support/SqliteFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

// A result of a few rows, in the order the database gives them (by id).
class SortOrderTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string file = (dir_ / "sort.sqlite").string();
        runOnSqliteFile(
            file, "CREATE TABLE t (id INTEGER PRIMARY KEY, name NVARCHAR(20), qty NUMERIC(20,6),"
                  " cost FLOAT, day DATETIME, batch NVARCHAR(12));"
                  "INSERT INTO t VALUES (1, '张三', 3, 2.5, '2026-03-01', 'B2');"
                  "INSERT INTO t VALUES (2, NULL, NULL, NULL, NULL, NULL);"
                  "INSERT INTO t VALUES (3, '阿姨', 1.5, -1, '2025-12-31 23:59:59', 'b2');"
                  "INSERT INTO t VALUES (4, '北京', 3, 2.5, '2026-03-01', 'B2');"
                  "INSERT INTO t VALUES (5, 'Apple', -2, 100, '2026-01-15', 'a10');"
                  "INSERT INTO t VALUES (6, '中国', 0.0001, 0, '2024-02-29', 'B2');");
        openSqliteFile(connection_, file);
        query_.appendLine("select * from t order by id");
        query_.open();
    }

    std::vector<long long> idsInOrder() {
        std::vector<long long> ids;
        const ResultColumn& id = query_.result().column(query_.fieldIndex("id"));
        for (query_.first(); !query_.eof(); query_.next())
            ids.push_back(id.integer(query_.currentRow()));
        return ids;
    }

    TempDir dir_;
    Connection connection_;
    ResultQuery query_{connection_};
};

using Ids = std::vector<long long>;

} // namespace

TEST_F(SortOrderTest, NumbersSortByValueStablyWithNullsFirstAscending) {
    query_.setSortOrder("qty ASC");
    EXPECT_EQ(idsInOrder(), (Ids{2, 5, 6, 3, 1, 4}));
    query_.setSortOrder("qty DESC");
    EXPECT_EQ(idsInOrder(), (Ids{1, 4, 3, 6, 5, 2}));
    query_.setSortOrder("cost ASC");
    EXPECT_EQ(idsInOrder(), (Ids{2, 3, 6, 1, 4, 5}));
}

TEST_F(SortOrderTest, ChineseTextSortsByPinyinAndDatesByValue) {
    query_.setSortOrder("name ASC");
    // Chinese collation puts Han script before Latin: 阿姨, 北京, 张三, 中国, Apple.
    EXPECT_EQ(idsInOrder(), (Ids{2, 3, 4, 1, 6, 5}));
    query_.setSortOrder("day ASC");
    EXPECT_EQ(idsInOrder(), (Ids{2, 6, 3, 5, 1, 4}));
}

TEST_F(SortOrderTest, EqualCodesKeepTheDatabasesOrderBothWaysWithNullsAtTheStart) {
    // a10 < b2 < B2 (lower case first), B2 three times in id order both ways.
    query_.setSortOrder("batch ASC");
    EXPECT_EQ(idsInOrder(), (Ids{2, 5, 3, 1, 4, 6}));
    query_.setSortOrder("batch DESC");
    EXPECT_EQ(idsInOrder(), (Ids{1, 4, 6, 3, 5, 2}));
}

TEST_F(SortOrderTest, TheTextReadsBackTheCurrentRecordStaysAndAnOpenStartsUnsorted) {
    query_.first();
    query_.moveBy(2); // id 3
    query_.setSortOrder("name DESC");
    EXPECT_EQ(query_.sortOrder(), "name DESC");
    EXPECT_EQ(query_.result().column(0).integer(query_.currentRow()), 3);
    query_.setSortOrder("");
    EXPECT_EQ(idsInOrder(), (Ids{1, 2, 3, 4, 5, 6}));
    EXPECT_THROW(query_.setSortOrder("nope ASC"), DbError);
    EXPECT_THROW(query_.setSortOrder("name UP"), DbError);
    query_.setSortOrder("qty ASC");
    query_.open();
    EXPECT_EQ(query_.sortOrder(), "");
    EXPECT_EQ(idsInOrder(), (Ids{1, 2, 3, 4, 5, 6}));
}
