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
