#include "table/GridTitles.h"
#include "db/Connection.h"
#include "db/ResultQuery.h"
#include "support/DemoDatabasePath.h"
#include "table/ResultTableModel.h"

#include <gtest/gtest.h>

namespace {

using Marker = GridTitles::Marker;

GridTitles threeButtonsAndOnePlainTitle() {
    return GridTitles({{"a", 10}, {"b", 10}, {"c", 10}, {"plain", 10, false}});
}

} // namespace

TEST(GridTitles, PlainClicksOnATitleButtonGoDownUpDownAndClearTheOthers) {
    GridTitles titles = threeButtonsAndOnePlainTitle();
    titles.clickTitleButton(0, false);
    EXPECT_EQ(titles[0].marker, Marker::Down);
    titles.clickTitleButton(0, false);
    EXPECT_EQ(titles[0].marker, Marker::Up);
    titles.clickTitleButton(0, false);
    EXPECT_EQ(titles[0].marker, Marker::Down);
    titles.clickTitleButton(1, false);
    EXPECT_EQ(titles[0].marker, Marker::None);
    EXPECT_EQ(titles[1].marker, Marker::Down);
    EXPECT_EQ(titles[1].sortIndex, 1);
    titles.clickTitleButton(3, false); // not a title button
    EXPECT_EQ(titles[1].marker, Marker::Down);
    EXPECT_EQ(titles[3].marker, Marker::None);
}

TEST(GridTitles, CtrlClicksKeepOtherMarkersAndNumberThem) {
    GridTitles titles = threeButtonsAndOnePlainTitle();
    titles.clickTitleButton(2, true);
    titles.clickTitleButton(0, true);
    EXPECT_EQ(titles.markedCount(), 2);
    EXPECT_EQ(titles[2].sortIndex, 1);
    EXPECT_EQ(titles[0].sortIndex, 2);
    titles.clickTitleButton(2, true); // up
    titles.clickTitleButton(2, true); // none: gives up its index
    EXPECT_EQ(titles[2].marker, Marker::None);
    EXPECT_EQ(titles[2].sortIndex, 0);
    EXPECT_EQ(titles[0].sortIndex, 1);
}

TEST(GridTitles, TitleClicksSortAscendingThenDescendingAndMoveTheMark) {
    Connection connection;
    connection.setSettings({"sqlite:" + demoDatabasePath(), "d", "u", ""});
    connection.open();
    ResultQuery query(connection);
    query.appendLine("select cWhCode as 现存量, cWhName as 批号 from Warehouse");
    ResultTableModel table(query, {{"现存量", 71, false}, {"批号", 77}});
    const GridTitles& titles = table.titles();
    table.sortByTitle(0); // closed: nothing changes
    EXPECT_EQ(titles[0].caption, "现存量");
    query.open();
    table.sortByTitle(0);
    EXPECT_EQ(titles[0].caption, "▲现存量");
    EXPECT_TRUE(titles[0].bold);
    EXPECT_EQ(query.sortOrder(), "现存量 ASC");
    table.sortByTitle(0);
    EXPECT_EQ(titles[0].caption, "▼现存量");
    EXPECT_EQ(query.sortOrder(), "现存量 DESC");
    table.sortByTitle(0);
    EXPECT_EQ(titles[0].caption, "▲现存量");
    table.sortByTitle(1);
    EXPECT_EQ(titles[0].caption, "现存量");
    EXPECT_FALSE(titles[0].bold);
    EXPECT_EQ(titles[1].caption, "▲批号");
    EXPECT_EQ(query.sortOrder(), "批号 ASC");
    // A new run starts unsorted while the mark stays; the next click sorts ascending.
    query.open();
    EXPECT_EQ(titles[1].caption, "▲批号");
    table.sortByTitle(1);
    EXPECT_EQ(titles[1].caption, "▲批号");
    EXPECT_EQ(query.sortOrder(), "批号 ASC");
}
