#include "table/TableView.h"
#include "db/Connection.h"
#include "db/ResultQuery.h"
#include "journal/JournalQuery.h"
#include "stock/CurrentStockQuery.h"
#include "support/DemoDatabasePath.h"
#include "support/OpenInTable.h"
#include "table/FittedText.h"
#include "table/Fonts.h"
#include "table/ResultTableModel.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

#include <memory>

namespace {

// Fonts and their metrics need a Gui application, and no window.
class TableViewTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "table_tests";
        static char* argv[] = {name, nullptr};
        qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QGuiApplication>(argc, argv);
    }
    static void TearDownTestSuite() { application.reset(); }

    // The demo's current stock of items named like `name`, as a fresh window shows it.
    void open(const std::string& name = "") {
        connection.setSettings({"sqlite:" + demoDatabasePath(), "d", "u", ""});
        connection.open();
        CurrentStockCriteria criteria;
        criteria.name = name;
        openInTable(table, currentStockQuery().statement(criteria));
    }

    static inline std::unique_ptr<QGuiApplication> application;
    const QueryShape& shape = currentStockQuery().shape;
    Connection connection;
    ResultQuery query{connection, shape.fields};
    ResultTableModel table{query, shape.columns};
};

} // namespace

TEST_F(TableViewTest, AFreshTableIsLaidOutAsItsWindowsGridWithEveryFooterWhole) {
    open();
    const TableView view = startingView(table, shape);
    EXPECT_EQ(view.name, QString(shape.gridName));
    EXPECT_EQ(view.title, QString(shape.caption));
    EXPECT_EQ(view.frozenColumns, shape.frozenColumns);
    ASSERT_EQ(view.columns.size(), shape.columns.size());
    bool grew = false;
    for (std::size_t i = 0; i < view.columns.size(); ++i) {
        const int width = view.columns[i].width;
        EXPECT_EQ(view.columns[i].logical, static_cast<int>(i));
        EXPECT_GE(width, shape.columns[i].width);
        const FooterCell footer = table.footerCell(static_cast<int>(i));
        EXPECT_LE(QFontMetrics(footer.font).horizontalAdvance(footer.text) + 2 * kCellTextMargin,
                  width)
            << footer.text.toStdString();
        grew |= width > shape.columns[i].width;
    }
    EXPECT_TRUE(grew); // the demo's 现存量 total is wider than its column
    EXPECT_EQ(table.footerText(0), QString("合计"));
}

TEST_F(TableViewTest, TheLayoutFollowsTheViewsOrderAndTheTitlesAsSortedNow) {
    open("轴承");
    const int onHand = table.columnOf("现存量");
    const int batch = table.columnOf("批号");
    table.sortByTitle(onHand);
    table.sortByTitle(onHand);
    ASSERT_GT(table.rowCount(), 2);
    const auto value = [&](int row) { return table.index(row, onHand).data().toDouble(); };
    EXPECT_GE(value(0), value(table.rowCount() - 1));

    TableView view = startingView(table, shape);
    view.columns = {{batch, 90}, {onHand, 70}}; // moved, the others hidden
    view.frozenColumns = 1;
    const ExportLayout layout = exportLayout(table, view);
    ASSERT_EQ(layout.columns.size(), 2U);
    EXPECT_EQ(layout.frozenColumns, 1);
    EXPECT_EQ(layout.columns[0].field, "批号");
    EXPECT_EQ(layout.columns[0].width, 90);
    EXPECT_EQ(layout.columns[0].alignment, Alignment::Left);
    EXPECT_FALSE(layout.columns[0].titleFont.bold);
    EXPECT_EQ(layout.columns[1].caption, QString("▼现存量"));
    EXPECT_TRUE(layout.columns[1].titleFont.bold);
    EXPECT_EQ(layout.columns[1].alignment, Alignment::Right);
    EXPECT_EQ(layout.columns[1].footer.type, FooterValue::Sum);
    EXPECT_EQ(layout.columns[1].footer.colour, QRgb(kFooterColour) | 0xFF000000);
}

TEST_F(TableViewTest, ADateColumnIsWideEnoughForAWholeDate) {
    connection.setSettings({"sqlite:" + demoDatabasePath(), "d", "u", ""});
    connection.open();
    const QueryShape& journal = journalQuery().shape;
    ResultQuery lines(connection, journal.fields);
    ResultTableModel journalTable(lines, journal.columns);
    JournalCriteria criteria;
    criteria.dateFrom = "2000-01-01";
    criteria.dateTo = "2000-01-02";
    openInTable(journalTable, journalQuery().statement(criteria));
    const int date = journalTable.columnOf("单据日期");
    ASSERT_GE(date, 0);
    EXPECT_GE(journalTable.displayWidth(date), widthToShow(gridFont(), "2000/12/28"));
}

TEST_F(TableViewTest, ACutNumberKeepsItsLastDigitsAndACutTextItsStart) {
    const QFontMetrics metrics(songTi(14, true));
    const QString sum("1208329.149");
    const int narrow = metrics.horizontalAdvance(sum) - 10;
    const QString fitted = fittedText(metrics, sum, Qt::AlignRight, narrow);
    EXPECT_TRUE(fitted.startsWith(QChar(0x2026)));
    EXPECT_TRUE(sum.endsWith(fitted.mid(1)));
    EXPECT_LE(metrics.horizontalAdvance(fitted), narrow);
    EXPECT_EQ(fittedText(metrics, sum, Qt::AlignRight, narrow + 10), sum);
    // A text keeps its start and ends in an ellipsis.
    const QString item("丁腈橡胶深沟球轴承");
    const QString cut = fittedText(metrics, item, Qt::AlignLeft, 60);
    EXPECT_TRUE(cut.endsWith(QChar(0x2026)));
    EXPECT_TRUE(item.startsWith(cut.chopped(1)));
    EXPECT_LE(metrics.horizontalAdvance(cut), 60);
    EXPECT_EQ(fittedText(metrics, item, Qt::AlignLeft, metrics.horizontalAdvance(item)), item);
    EXPECT_EQ(widthToShow(songTi(12), sum),
              QFontMetrics(songTi(12)).horizontalAdvance(sum) + 2 * kCellTextMargin + 1);
}
