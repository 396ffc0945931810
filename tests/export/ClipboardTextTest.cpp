#include "export/ClipboardText.h"
#include "db/Connection.h"
#include "db/ResultQuery.h"
#include "db/WorkControl.h"
#include "table/CellText.h"
#include "table/TableSnapshot.h"

#include <gtest/gtest.h>

namespace {

// A result with a column of each kind: texts with tabs and line breaks inside, empty and null
// cells, negative and fractional numbers, dates with and without a time.
ResultSet everyKind() {
    std::vector<ResultColumn> columns;
    columns.emplace_back("name", FieldKind::Text);
    columns.emplace_back("qty", FieldKind::Decimal);
    columns.emplace_back("price", FieldKind::Double);
    columns.emplace_back("count", FieldKind::Integer);
    columns.emplace_back("date", FieldKind::DateTime);
    const char* names[] = {"轴承\t6204", "第1行\r\n续", "", "垫片", "bolt M8"};
    for (int row = 0; row < 5; ++row) {
        if (row == 3)
            columns[0].appendNull();
        else
            columns[0].appendText(names[row]);
        if (row == 2)
            columns[1].appendNull();
        else
            columns[1].appendInteger((row - 2) * 12345);
        columns[2].appendDouble(row * 0.1 - 0.05);
        columns[3].appendInteger(row * 1000 - 1);
        columns[4].appendInteger(1767225600000LL + row * 86'400'000LL + (row % 2) * 3'600'000LL);
    }
    return ResultSet(std::move(columns));
}

// The copy as the grid shows each cell, made cell by cell from CellText.
QString expectedCopy(const TableSnapshot& table, const CopiedRows& copied) {
    const CellText cellText;
    QString text;
    for (std::size_t i = 0; i < copied.titles.size(); ++i)
        text += (i > 0 ? "\t" : "") + withoutRowBreaks(copied.titles[i]);
    if (!copied.titles.empty())
        text += '\n';
    for (const int position : copied.rows) {
        for (std::size_t i = 0; i < copied.columns.size(); ++i) {
            if (i > 0)
                text += '\t';
            if (copied.columns[i])
                text += withoutRowBreaks(cellText(table.result().column(*copied.columns[i]),
                                                  table.rowAt(static_cast<std::size_t>(position))));
        }
        text += '\n';
    }
    return text;
}

} // namespace

TEST(ClipboardText, EveryCopiedCellReadsAsTheGridShowsItInTheRowsOrder) {
    Connection unused;
    ResultQuery query(unused);
    query.adopt(everyKind());
    query.setSortOrder("qty DESC");
    const TableSnapshot table(query);
    CopiedRows copied;
    copied.columns = {4, 0, std::nullopt, 1, 2, 3};
    copied.rows = {4, 0, 2, 1, 3};
    const QString copy = copiedText(table, copied, WorkControl());
    EXPECT_EQ(copy, expectedCopy(table, copied));
    EXPECT_TRUE(copy.contains("轴承 6204")) << copy.toStdString();
    EXPECT_TRUE(copy.contains("第1行  续")) << copy.toStdString();
    EXPECT_EQ(copy.count('\n'), 5);

    copied.titles = {"日期", "存货\t名称", "空", "数量", "单价", "件数"};
    copied.rows = {1};
    EXPECT_EQ(copiedText(table, copied, WorkControl()), expectedCopy(table, copied));
    EXPECT_TRUE(copiedText(table, copied, WorkControl()).startsWith("日期\t存货 名称\t空\t"));
    copied.rows = {};
    EXPECT_EQ(copiedText(table, copied, WorkControl()), "日期\t存货 名称\t空\t数量\t单价\t件数\n");
}

TEST(ClipboardText, AStopAskedForEndsTheCopy) {
    Connection unused;
    ResultQuery query(unused);
    query.adopt(everyKind());
    CopiedRows copied;
    copied.columns = {0};
    copied.rows = {0, 1};
    WorkControl control;
    control.cancel();
    EXPECT_THROW(copiedText(TableSnapshot(query), copied, control), WorkCancelled);
}
