#include "table/GridCopy.h"
#include "table/RowSelection.h"

#include <gtest/gtest.h>

TEST(RowSelection, RunsAndSingleRowsJoinAndSplit) {
    RowSelection picked;
    EXPECT_TRUE(picked.isEmpty());
    picked.pickRun(7, 3); // from the anchor upwards
    EXPECT_EQ(picked.rows(), (std::vector<int>{3, 4, 5, 6, 7}));
    picked.toggle(5); // out of the middle: two runs
    EXPECT_EQ(picked.rows(), (std::vector<int>{3, 4, 6, 7}));
    EXPECT_FALSE(picked.contains(5));
    EXPECT_TRUE(picked.contains(6));
    picked.toggle(5); // back: one run again
    picked.toggle(9);
    picked.toggle(8); // joins the runs on both sides
    EXPECT_EQ(picked.rows(), (std::vector<int>{3, 4, 5, 6, 7, 8, 9}));
    picked.toggle(3);
    picked.toggle(9);
    picked.toggle(0);
    EXPECT_EQ(picked.rows(), (std::vector<int>{0, 4, 5, 6, 7, 8}));
    EXPECT_EQ(picked.count(), 6U);
    EXPECT_FALSE(picked.contains(-1));
    EXPECT_FALSE(picked.contains(9));
    picked.pickRun(2, 2); // a new run replaces everything
    EXPECT_EQ(picked.rows(), std::vector<int>{2});
    picked.clear();
    EXPECT_TRUE(picked.isEmpty());
}

TEST(GridCopy, RowsGoOutTabSeparatedWithBreaksInsideCellsMadeBlanks) {
    const auto cell = [](int row, int column) {
        return column == 2 ? QString("第%1行\t备注\r\n续").arg(row)
                           : QString::number(row * 10 + column);
    };
    EXPECT_EQ(tabSeparatedRows({2, 0}, {1, 4}, cell),
              QString("第1行 备注  续\t10\n第4行 备注  续\t40\n"));
    EXPECT_EQ(tabSeparatedRows({0, 1}, {3}, cell, {"编码", "名\t称"}),
              QString("编码\t名 称\n30\t31\n"));
    EXPECT_EQ(tabSeparatedRows({0}, {}, cell), QString());
}
