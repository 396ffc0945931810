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
    EXPECT_EQ(parsed({"--help"}).action, ExportRequest::Action::Help);
    EXPECT_EQ(parsed({"stock", "--help"}).action, ExportRequest::Action::Help);
    EXPECT_EQ(parsed({"--list-warehouses"}).action, ExportRequest::Action::ListWarehouses);

    const ExportRequest summary =
        parsed({"summary", "--from", "2026-12-01", "--to", "2026-12-09", "--warehouse", "03",
                "--code", " 0001 ", "--by-batch", "--timeout", "600", "--output", "m.xlsx"});
    EXPECT_EQ(summary.action, ExportRequest::Action::Summary);
    EXPECT_EQ(summary.summary.dateFrom, "2026-12-01");
    EXPECT_EQ(summary.summary.dateTo, "2026-12-09");
    EXPECT_EQ(summary.summary.warehouseCodes, std::vector<std::string>{"03"});
    EXPECT_EQ(summary.summary.itemCode, "0001");
    EXPECT_TRUE(summary.summary.byBatch);
    EXPECT_EQ(summary.timeoutSeconds, 600);
    EXPECT_EQ(summary.loginTimeoutSeconds, 15);
    EXPECT_EQ(summary.format, "xlsx");
    EXPECT_TRUE(summary.stock.itemCode.empty());

    const ExportRequest card = parsed({"card", "--code", "0000001", "--warehouse", "03", "--from",
                                       "2026-01-01", "--to", "2026-12-09", "--batch", ""});
    EXPECT_EQ(card.action, ExportRequest::Action::Card);
    EXPECT_EQ(card.card.itemCode, "0000001");
    EXPECT_EQ(card.card.warehouseCode, "03");
    EXPECT_EQ(card.card.batch, std::optional<std::string>("")); // the records without a batch
    EXPECT_EQ(card.card.dateTo, "2026-12-09");
    EXPECT_FALSE(parsed({"card", "--code", "1", "--warehouse", "01", "--from", "2026-01-01", "--to",
                         "2026-01-02"})
                     .card.batch);

    const ExportRequest ageing = parsed({"ageing", "--as-of", "2026-06-30", "--bands", "7, 30，90",
                                         "--name", "轴承", "--by-batch"});
    EXPECT_EQ(ageing.action, ExportRequest::Action::Ageing);
    EXPECT_EQ(ageing.ageing.asOf, "2026-06-30");
    EXPECT_EQ(ageing.ageing.bands, (AgeingBands{7, 30, 90}));
    EXPECT_EQ(ageing.ageing.name, "轴承");
    EXPECT_TRUE(ageing.ageing.byBatch);
    const ExportRequest byDefault = parsed({"ageing"});
    EXPECT_EQ(byDefault.ageing.asOf, ""); // today
    EXPECT_EQ(byDefault.ageing.bands, kDefaultAgeingBands);
    EXPECT_FALSE(byDefault.ageing.byBatch);
}

TEST(ExportArguments, AgeBandsRiseInWholeDaysAndAreAtMostTwelve) {
    EXPECT_EQ(parsed({"ageing", "--bands", "1,2,3,4,5,6,7,8,9,10,11,36500"}).ageing.bands.size(),
              12U);
    EXPECT_EQ(refusal({"ageing", "--bands", "1,2,3,4,5,6,7,8,9,10,11,12,13"}),
              "--bands 1,2,3,4,5,6,7,8,9,10,11,12,13: at most 12 age bands");
    EXPECT_EQ(refusal({"ageing", "--bands", "30,60,60"}),
              "--bands 30,60,60: age bands must rise: 60 follows 60");
    EXPECT_EQ(refusal({"ageing", "--bands", "90,30"}),
              "--bands 90,30: age bands must rise: 30 follows 90");
    for (const char* notDays : {"0,30", "-5", "30,", "", "1.5", "30 60", "36501", "99999999999"})
        EXPECT_EQ(refusal({"ageing", "--bands", notDays}).rfind("--bands ", 0), 0U) << notDays;
    EXPECT_EQ(refusal({"ageing", "--bands", "30,x"}),
              "--bands 30,x: age bands are whole numbers of days from 1 to 36500: x");
    EXPECT_EQ(refusal({"ageing", "--as-of", "2026-02-30"}),
              "--as-of 2026-02-30 is not a day as yyyy-mm-dd from 1753-01-01 to 9999-12-31");
    EXPECT_EQ(refusal({"ageing", "--from", "2026-01-01"}), "unknown option for ageing: --from");
    EXPECT_EQ(refusal({"summary", "--bands", "30"}), "unknown option for summary: --bands");
}

TEST(ExportArguments, EachMistakeIsNamed) {
    EXPECT_EQ(refusal({}),
              "nothing to do: give stock, journal, summary, card, ageing, --list-warehouses or "
              "--test-connection");
    EXPECT_EQ(refusal({"card", "--warehouse", "01", "--from", "2026-01-01", "--to", "2026-12-31"}),
              "card needs --code CODE, the item's whole code");
    EXPECT_EQ(refusal({"card", "--code", "0001", "--from", "2026-01-01", "--to", "2026-12-31"}),
              "card needs --warehouse CODE, one warehouse");
    EXPECT_EQ(refusal({"card", "--code", "1", "--warehouse", "01", "--name", "x"}),
              "unknown option for card: --name");
    EXPECT_EQ(refusal({"summary", "--to", "2026-12-31"}), "summary needs --from yyyy-mm-dd");
    EXPECT_EQ(refusal({"summary", "--from", "2026-12-02", "--to", "2026-12-01"}),
              "--from 2026-12-02 is after --to 2026-12-01");
    EXPECT_EQ(refusal({"stock", "--by-batch"}), "unknown option for stock: --by-batch");
    EXPECT_EQ(refusal({"stock", "--timeout", "-1"}),
              "--timeout -1 is not a number of seconds from 0 to 86400");
    EXPECT_EQ(refusal({"stock", "--login-timeout", "86401"}),
              "--login-timeout 86401 is not a number of seconds from 0 to 86400");
    EXPECT_EQ(refusal({"stocks"}), "unknown command: stocks");
    EXPECT_EQ(refusal({"stock", "--from", "2026-01-01"}), "unknown option for stock: --from");
    EXPECT_EQ(refusal({"stock", "--name"}), "--name needs a value");
    EXPECT_EQ(refusal({"journal", "--to", "2026-12-31"}), "journal needs --from yyyy-mm-dd");
    EXPECT_EQ(refusal({"journal", "--from", "2026-01-01", "--to", "2026-12-31", "--flag", "x"}),
              "--flag is 收 or 发");
    EXPECT_EQ(refusal({"stock", "--format", "docx"}), "unknown format: docx");
    EXPECT_EQ(refusal({"--list-warehouses", "--name", "x"}),
              "unknown option for --list-warehouses: --name");
    EXPECT_EQ(refusal({"stock", "--password", "secret"}), "unknown option for stock: --password");
    EXPECT_EQ(refusal({"stock", "--name", "\xC2\xDD\xA8"}), "argument 3 is not UTF-8 text");
}

TEST(ExportArguments, OnlyCalendarDaysThatSqlServerHoldsAreDates) {
    const auto journal = [](const std::string& from, const std::string& to) {
        return refusal({"journal", "--from", from, "--to", to});
    };
    for (const char* impossible :
         {"2025-13-45", "2025-02-30", "2025-02-29", "0000-00-00", "----------", "2026-1-1",
          "1752-12-31", "2025-04-31", "2025-00-10", "2025-01-00"})
        EXPECT_EQ(journal(impossible, "2026-12-31"),
                  "--from " + std::string(impossible) +
                      " is not a day as yyyy-mm-dd from 1753-01-01 to 9999-12-31");
    EXPECT_EQ(journal("2026-01-01", "2026-02-29"),
              "--to 2026-02-29 is not a day as yyyy-mm-dd from 1753-01-01 to 9999-12-31");
    EXPECT_EQ(journal("2024-02-29", "2024-02-29"), "accepted"); // a leap day
    EXPECT_EQ(journal("2000-02-29", "9999-12-31"), "accepted");
    EXPECT_EQ(journal("2026-03-02", "2026-03-01"), "--from 2026-03-02 is after --to 2026-03-01");
}

TEST(ExportArguments, CriteriaAreTrimmedAsTheWindowsTrimTheirBoxes) {
    const ExportRequest stock =
        parsed({"stock", "--name", " 轴承 ", "--code", " 0000136", "--spec", "\t", "--addcode",
                "\x01"
                "A\x1f"});
    EXPECT_EQ(stock.stock.name, "轴承");
    EXPECT_EQ(stock.stock.itemCode, "0000136");
    EXPECT_EQ(stock.stock.spec, "");
    EXPECT_EQ(stock.stock.addCode, "A");
    const ExportRequest journal =
        parsed({"journal", "--from", "2026-01-01", "--to", "2026-01-31", "--flag", " 收",
                "--source", "采购入库 ", "--order", " MO1 ", "--docno", "\tD1\r\n"});
    EXPECT_EQ(journal.journal.flag, "收");
    EXPECT_EQ(journal.journal.source, "采购入库");
    EXPECT_EQ(journal.journal.productionOrder, "MO1");
    EXPECT_EQ(journal.journal.documentNumber, "D1");
}

TEST(ExportArguments, AnOutputNeedsANameAndAFormatItCanTell) {
    EXPECT_EQ(refusal({"stock", "--output", "x.docx"}),
              "cannot tell the format of x.docx: give --format, or a name ending in .xls, .rtf, "
              ".html, .txt, .xlsx, .pdf, .csv");
    EXPECT_EQ(refusal({"stock", "--output", "folder.d/report"}),
              "cannot tell the format of folder.d/report: give --format, or a name ending in "
              ".xls, .rtf, .html, .txt, .xlsx, .pdf, .csv");
    EXPECT_EQ(parsed({"stock", "--output", "x.docx", "--format", "html"}).format, "html");
    EXPECT_EQ(parsed({"stock", "--output", "x.pdf"}).format, "pdf");
    EXPECT_EQ(refusal({"stock", "--output", ""}),
              "--output needs a file name, or - for standard output");
    EXPECT_EQ(parsed({"stock"}).format, "txt");
}

TEST(ExportArguments, TheConnectionsSecurityIsGivenAsTheDialogGivesIt) {
    const ExportRequest plain = parsed({"--test-connection"});
    EXPECT_EQ(plain.action, ExportRequest::Action::TestConnection);
    EXPECT_FALSE(plain.encryption); // as stored
    EXPECT_FALSE(plain.certificateAuthorityFile);
    EXPECT_FALSE(plain.trustServerCertificate);
    EXPECT_FALSE(plain.windowsLogin);
    for (const auto& [word, encryption] :
         {std::pair{"optional", Encryption::optional},
          std::pair{"mandatory", Encryption::mandatory}, std::pair{"strict", Encryption::strict}})
        EXPECT_EQ(parsed({"stock", "--encrypt", word}).encryption, encryption) << word;
    const ExportRequest all = parsed({"--list-warehouses", "--ca-file", "/etc/erp/ca.pem",
                                      "--trust-server-certificate", "--windows-auth"});
    EXPECT_EQ(all.certificateAuthorityFile, "/etc/erp/ca.pem");
    EXPECT_TRUE(all.trustServerCertificate);
    EXPECT_TRUE(all.windowsLogin);
    EXPECT_EQ(refusal({"stock", "--encrypt", "yes"}), "--encrypt is optional, mandatory or strict");
    EXPECT_EQ(refusal({"stock", "--ca-file"}), "--ca-file needs a value");
    EXPECT_EQ(refusal({"--test-connection", "--name", "x"}),
              "unknown option for --test-connection: --name");
}
