#include "result/ResultColumn.h"

#include <gtest/gtest.h>

#include <string>

// Columns past a few megabytes live in large blocks (2 MiB pages where the system has them):
// every value must read back the same across the growth from small to large blocks.
TEST(ResultColumn, AMillionValuesReadBackWholeAcrossLargeBlocks) {
    constexpr std::size_t kRows = 1'200'000; // texts 4.8 MB of entries, integers 9.6 MB
    ResultColumn texts("name", FieldKind::Text);
    ResultColumn decimals("qty", FieldKind::Decimal);
    for (std::size_t row = 0; row < kRows; ++row) {
        if (row % 7 == 3) {
            texts.appendNull();
            decimals.appendNull();
            continue;
        }
        texts.appendText("品" + std::to_string(row % 1000));
        decimals.appendInteger(static_cast<std::int64_t>(row) * 5000);
    }
    ASSERT_EQ(texts.size(), kRows);
    EXPECT_TRUE(texts.hasNulls() && decimals.hasNulls());
    for (std::size_t row = 0; row < kRows; row += 997) {
        SCOPED_TRACE(row);
        if (row % 7 == 3) {
            EXPECT_TRUE(texts.isNull(row) && decimals.isNull(row));
            EXPECT_EQ(decimals.asFloat(row), 0.0);
            continue;
        }
        EXPECT_EQ(texts.text(row), "品" + std::to_string(row % 1000));
        EXPECT_EQ(texts.entryText(static_cast<std::uint32_t>(texts.bits(row))), texts.text(row));
        EXPECT_EQ(decimals.asFloat(row), static_cast<double>(row) / 2);
    }
    EXPECT_FALSE(ResultColumn("none", FieldKind::Integer).hasNulls());
}
