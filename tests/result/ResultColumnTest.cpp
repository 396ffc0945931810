#include "result/ResultColumn.h"
#include "result/ResultSet.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

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

// A reader on another thread sees every published row whole while the writer appends more,
// through the move from the heap into reserved address space and every step of memory after:
// each row is read when it is first published, and the rows read before are read again, so
// that a value that moved or changed would show.
TEST(ResultSet, RowsPublishedWhileAppendingReadBackWholeOnAnotherThread) {
    constexpr std::size_t kRows = 600'000;
    std::vector<ResultColumn> columns;
    columns.emplace_back("name", FieldKind::Text);
    columns.emplace_back("qty", FieldKind::Decimal);
    columns.emplace_back("price", FieldKind::Double);
    ResultSet rows(std::move(columns));
    const auto nameOf = [](std::size_t row) { return "存货" + std::to_string(row % 5000); };
    const auto check = [&](std::size_t row) {
        const bool null = row % 11 == 4;
        if (rows.column(0).isNull(row) != null || rows.column(1).isNull(row) != null ||
            rows.column(2).isNull(row) || rows.column(2).real(row) != static_cast<double>(row) / 4)
            return false;
        if (null)
            return rows.column(0).text(row).empty();
        return rows.column(0).text(row) == nameOf(row) &&
               rows.column(1).integer(row) == static_cast<std::int64_t>(row) * 3;
    };

    std::thread writer([&] {
        for (std::size_t row = 0; row < kRows; ++row) {
            if (row % 11 == 4) {
                rows.column(0).appendNull();
                rows.column(1).appendNull();
            } else {
                rows.column(0).appendText(nameOf(row));
                rows.column(1).appendInteger(static_cast<std::int64_t>(row) * 3);
            }
            rows.column(2).appendDouble(static_cast<double>(row) / 4);
            rows.publishRows();
        }
    });
    std::size_t read = 0;
    std::size_t wrong = 0;
    std::size_t looks = 0;
    while (read < kRows) {
        const std::size_t published = rows.rowCount();
        for (; read < published; ++read)
            wrong += !check(read);
        for (std::size_t row = 0; row < read; row += 4099) // the rows read before, again
            wrong += !check(row);
        ++looks;
    }
    writer.join();
    EXPECT_EQ(wrong, 0U);
    EXPECT_GT(looks, 2U); // the reader did read while the writer wrote
    EXPECT_EQ(rows.rowCount(), kRows);
}
