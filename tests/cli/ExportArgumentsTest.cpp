#include "cli/ExportArguments.h"

#include <gtest/gtest.h>

namespace {

ExportRequest parsed(std::vector<std::string> arguments) {
    return parseExportArguments(arguments);
}

std::string refusal(std::vector<std::string> arguments) {
    try {
        parseExportArguments(arguments);
    } catch (const ArgumentError& error) {
        return error.what();
    }
    return "accepted";
}

} // namespace

TEST(ExportArguments, CriteriaGoToTheirWindowsFieldsAndTheFormatFollowsTheName) {
    const ExportRequest stock =
        parsed({"stock", "--warehouse", "01", "--warehouse", "02", "--name", "轴承", "--output",
                "out.XLSX", "--sort", "现存量", "desc"});
    EXPECT_EQ(stock.action, ExportRequest::Action::Stock);
    EXPECT_EQ(stock.stock.warehouseCodes, (std::vector<std::string>{"01", "02"}));
    EXPECT_EQ(stock.stock.name, "轴承");
    EXPECT_EQ(stock.format, "xlsx");
    EXPECT_EQ(stock.sortField, "现存量");
    EXPECT_TRUE(stock.sortDescending);

    const ExportRequest journal =
        parsed({"journal", "--from", "2026-01-01", "--to", "2026-12-31", "--flag", "收", "--docno",
                "D1", "--format", "csv-utf8", "--server", "s", "--user", "u"});
    EXPECT_EQ(journal.journal.dateFrom, "2026-01-01");
    EXPECT_EQ(journal.journal.flag, "收");
    EXPECT_EQ(journal.journal.documentNumber, "D1");
    EXPECT_EQ(journal.output, "-"); // standard output
    EXPECT_EQ(journal.format, "csv-utf8");
    EXPECT_EQ(*journal.server, "s");
    EXPECT_EQ(*journal.user, "u");
    EXPECT_FALSE(journal.database);
    EXPECT_EQ(parsed({"stock", "--output", "day.unknown"}).format, "txt");
    EXPECT_EQ(parsed({"--help"}).action, ExportRequest::Action::Help);
    EXPECT_EQ(parsed({"--list-warehouses"}).action, ExportRequest::Action::ListWarehouses);
}

TEST(ExportArguments, EachMistakeIsNamed) {
    EXPECT_EQ(refusal({}), "nothing to do: give stock, journal or --list-warehouses");
    EXPECT_EQ(refusal({"stocks"}), "unknown command: stocks");
    EXPECT_EQ(refusal({"stock", "--from", "2026-01-01"}), "unknown option for stock: --from");
    EXPECT_EQ(refusal({"stock", "--name"}), "--name needs a value");
    EXPECT_EQ(refusal({"journal", "--from", "2026-1-1", "--to", "2026-12-31"}),
              "journal needs --from and --to as yyyy-mm-dd");
    EXPECT_EQ(refusal({"journal", "--from", "2026-01-01", "--to", "2026-12-31", "--flag", "x"}),
              "--flag is 收 or 发");
    EXPECT_EQ(refusal({"stock", "--format", "pdf"}), "unknown format: pdf");
    EXPECT_EQ(refusal({"--list-warehouses", "--name", "x"}),
              "unknown option for --list-warehouses: --name");
    EXPECT_EQ(refusal({"stock", "--password", "secret"}), "unknown option for stock: --password");
}
