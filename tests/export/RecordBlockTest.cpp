// The records an export writes, gathered a block ahead on a thread of their own: every value of
// every record against the result's own, in a scattered order, across blocks and out of turn.
#include "export/RecordBlock.h"
#include "db/Connection.h"
#include "db/ResultQuery.h"
#include "table/TableSnapshot.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr int kRows = 1500; // about three blocks

// Texts of every length (empty, null, repeated, long), numbers and nulls in every column.
ResultSet manyRows() {
    std::vector<ResultColumn> columns;
    columns.emplace_back("name", FieldKind::Text);
    columns.emplace_back("qty", FieldKind::Decimal);
    columns.emplace_back("batch", FieldKind::Text);
    for (int row = 0; row < kRows; ++row) {
        if (row % 7 == 3)
            columns[0].appendNull();
        else
            columns[0].appendText(row % 5 == 0 ? "" : "存货" + std::to_string(row % 40));
        if (row % 11 == 0)
            columns[1].appendNull();
        else
            columns[1].appendInteger((row - 700) * 12345);
        columns[2].appendText(std::string(static_cast<std::size_t>(row % 97), 'b') +
                              std::to_string(row));
    }
    return ResultSet(std::move(columns));
}

// The record at `position`, held by `block`, reads as the result holds its row.
void expectRecord(RecordBlock& block, const TableSnapshot& table, std::size_t position) {
    const std::size_t at = block.hold(table, position);
    const std::size_t row = table.rowAt(position);
    const std::vector<const ResultColumn*>& fields = block.fields();
    for (std::size_t j = 0; j < fields.size(); ++j) {
        if (!fields[j])
            continue;
        const ResultColumn& field = *fields[j];
        ASSERT_EQ(block.isNull(j, at), field.isNull(row)) << position << " field " << j;
        if (field.isNull(row))
            continue;
        ASSERT_EQ(block.bits(j, at), field.bits(row)) << position << " field " << j;
        if (field.kind() == FieldKind::Text) {
            const auto entry = static_cast<std::uint32_t>(field.bits(row));
            ASSERT_EQ(block.text(j, at), field.entryText(entry)) << position << " field " << j;
        }
    }
}

struct Sorted : testing::Test {
    Connection unused;
    ResultQuery query{unused};
    void SetUp() override {
        query.adopt(manyRows());
        query.setSortOrder("batch DESC"); // rows read in scattered order
    }
    std::vector<const ResultColumn*> fields() const {
        const ResultSet& rows = query.result();
        return {&rows.column(2), nullptr, &rows.column(0), &rows.column(1)};
    }
};

TEST_F(Sorted, EveryRecordInTurnReadsAsTheResultHoldsIt) {
    const TableSnapshot table(query);
    ASSERT_NE(table.rowAt(0), 0u);
    RecordBlock block(fields());
    for (std::size_t position = 0; position < table.rowCount(); ++position)
        expectRecord(block, table, position);
}

TEST_F(Sorted, RecordsOutOfTurnReadAsTheResultHoldsThem) {
    const TableSnapshot table(query);
    RecordBlock block(fields());
    for (const std::size_t position :
         {1499u, 0u, 1200u, 5u, 511u, 512u, 513u, 1024u, 3u, 1023u, 700u, 100u, 1499u})
        expectRecord(block, table, position);
}

TEST_F(Sorted, PickedRowsAndAnEndMidwayAreReadAndLeftCleanly) {
    std::vector<int> picked;
    for (int position = kRows - 1; position >= 0; position -= 3)
        picked.push_back(position);
    const TableSnapshot table = TableSnapshot(query).only(picked);
    {
        RecordBlock block(fields());
        for (std::size_t position = 0; position < table.rowCount(); ++position)
            expectRecord(block, table, position);
    }
    RecordBlock left(fields());
    expectRecord(left, table, 0); // the next block is being gathered as it goes
}

} // namespace
