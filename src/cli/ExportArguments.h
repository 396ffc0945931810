#pragma once

#include "journal/JournalStatement.h"
#include "ledger/AgeingStatement.h"
#include "ledger/PeriodSummaryStatement.h"
#include "ledger/StockCardStatement.h"
#include "settings/ConnectionSettings.h"
#include "stock/CurrentStockStatement.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// A command line that cannot be run; its text says what is wrong.
class ArgumentError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What one run of stockquery-export is asked to do.
struct ExportRequest {
    enum class Action {
        Help,
        TestConnection,
        ListWarehouses,
        Stock,
        Journal,
        Summary,
        Card,
        Ageing
    };
    Action action = Action::Help;
    CurrentStockCriteria stock;
    JournalCriteria journal;
    PeriodSummaryCriteria summary;
    StockCardCriteria card;
    AgeingCriteria ageing; // its as-of day empty for today
    std::string format;    // xls, rtf, html, txt, csv, xlsx or csv-utf8
    std::string output;    // "-" for standard output
    std::string sortField;
    bool sortDescending = false;
    // Given on the command line; the others come from the stored settings.
    std::optional<std::string> server;
    std::optional<std::string> database;
    std::optional<std::string> user;
    std::optional<Encryption> encryption;
    std::optional<std::string> certificateAuthorityFile;
    bool trustServerCertificate = false; // given: trusted; not given: as stored
    bool windowsLogin = false;           // given: a Windows login; not given: as stored
    // Seconds the query may take from its start to its last row; 0: as long as it takes.
    int timeoutSeconds = 0;
    // Seconds a log-in may take.
    int loginTimeoutSeconds = 15;
};

// Reads the arguments after the program's name; throws ArgumentError.
ExportRequest parseExportArguments(const std::vector<std::string>& arguments);

// The usage text that --help prints.
std::string exportUsage();
