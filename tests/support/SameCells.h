#pragma once

#include "result/ResultSet.h"

#include <gtest/gtest.h>

// Two results hold the same columns, rows and values, cell for cell.
inline void expectSameCells(const ResultSet& actual, const ResultSet& expected) {
    ASSERT_EQ(actual.columnCount(), expected.columnCount());
    ASSERT_EQ(actual.rowCount(), expected.rowCount());
    for (std::size_t c = 0; c < expected.columnCount(); ++c) {
        const ResultColumn& a = actual.column(c);
        const ResultColumn& b = expected.column(c);
        ASSERT_EQ(a.name(), b.name());
        ASSERT_EQ(a.kind(), b.kind()) << b.name();
        for (std::size_t row = 0; row < expected.rowCount(); ++row) {
            ASSERT_EQ(a.isNull(row), b.isNull(row)) << b.name() << " row " << row;
            if (b.isNull(row))
                continue;
            switch (b.kind()) {
            case FieldKind::Text:
                ASSERT_EQ(a.text(row), b.text(row)) << b.name() << " row " << row;
                break;
            case FieldKind::Double:
                ASSERT_DOUBLE_EQ(a.real(row), b.real(row)) << b.name() << " row " << row;
                break;
            default:
                ASSERT_EQ(a.integer(row), b.integer(row)) << b.name() << " row " << row;
            }
        }
    }
}
