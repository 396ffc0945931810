#include "ExportRun.h"

#include "Console.h"
#include "StopOnSignals.h"
#include "db/Connection.h"
#include "db/ResultQuery.h"
#include "export/ExportError.h"
#include "export/ExportFileTypes.h"
#include "export/SaveStream.h"
#include "export/TDBGridExport.h"
#include "journal/JournalQuery.h"
#include "ledger/AgeingQuery.h"
#include "ledger/PeriodSummaryQuery.h"
#include "ledger/StockCardQuery.h"
#include "settings/DBLinkInfo.h"
#include "stock/CurrentStockQuery.h"
#include "table/ResultTableModel.h"
#include "table/TableView.h"
#include "table/Warehouses.h"

#include <QDate>
#include <QScopeGuard>
#include <QString>

#include <cstdlib>
#include <functional>
#include <iostream>
#include <memory>

namespace {

// How long a lost session is tried again before the run gives up.
constexpr std::chrono::seconds kReconnectPatience{30};

// A failure that ends the run with its exit status and one line of text.
struct RunFailure {
    int status = kDone;
    std::string message;
};

std::string oneLine(std::string text) {
    for (char& c : text)
        if (c == '\r' || c == '\n')
            c = ' ';
    return text;
}

// A password typed at the terminal without echo; empty without a terminal.
std::string askPassword(std::ostream& errors) {
    if (!inputIsTerminal())
        return {};
    errors << "password: " << std::flush;
    std::string password = readLineWithoutEcho();
    errors << "\n";
    return password;
}

// The stored settings, with what the command line gives in their place; the password is
// asked for when another user is given or it is not stored.
ConnectionSettings settingsFor(const ExportRequest& request, std::ostream& errors) {
    ConnectionSettings settings;
    loadDBLinkInfo(settings);
    if (request.server)
        settings.server = *request.server;
    if (request.database)
        settings.database = *request.database;
    if (request.user)
        settings.user = *request.user;
    if (request.encryption)
        settings.encryption = *request.encryption;
    if (request.certificateAuthorityFile)
        settings.certificateAuthorityFile = *request.certificateAuthorityFile;
    settings.trustServerCertificate =
        settings.trustServerCertificate || request.trustServerCertificate;
    if (request.windowsLogin)
        settings.authentication = Authentication::windows;
    if (const char* password = std::getenv("STOCKQUERY_PASSWORD"))
        settings.password = password;
    else if ((request.user || !settings.rememberPassword) && loginTakesPassword(settings))
        settings.password = askPassword(errors);
    return settings;
}

// The query of the request, its statement for the request's criteria, and those criteria as
// a printed page's heading shows them.
struct RequestedQuery {
    const QueryShape& shape;
    std::vector<std::string> statement;
    std::string criteria;
};

RequestedQuery queryFor(const ExportRequest& request) {
    if (request.action == ExportRequest::Action::Stock)
        return {currentStockQuery().shape, currentStockQuery().statement(request.stock),
                currentStockQuery().describe(request.stock)};
    if (request.action == ExportRequest::Action::Card)
        return {stockCardQuery().shape, stockCardQuery().statement(request.card),
                stockCardQuery().describe(request.card)};
    if (request.action == ExportRequest::Action::Ageing) {
        AgeingCriteria criteria = request.ageing;
        if (criteria.asOf.empty()) // as the window starts: today
            criteria.asOf = QDate::currentDate().toString("yyyy-MM-dd").toStdString();
        const auto& ageing = ageingQuery(criteria.bands, criteria.byBatch);
        return {ageing.shape, ageing.statement(criteria), ageing.describe(criteria)};
    }
    if (request.action == ExportRequest::Action::Summary) {
        const auto& summary = periodSummaryQuery(request.summary.byBatch);
        return {summary.shape, summary.statement(request.summary),
                summary.describe(request.summary)};
    }
    return {journalQuery().shape, journalQuery().statement(request.journal),
            journalQuery().describe(request.journal)};
}

// What the command says when the server did not answer within the time limit.
std::string notAnsweredWithin(int seconds, const ExportRequest& request) {
    return "the server did not answer within " + std::to_string(seconds) + " seconds" +
           (request.output == "-" || request.action == ExportRequest::Action::ListWarehouses
                ? ""
                : "; nothing was written");
}

// Runs `read`, the query, within the request's time limit; the session lost for good is no
// connection, not a failed query.
template <typename Read>
auto readWithinLimit(const ExportRequest& request, StopOnSignals& stop, Read&& read) {
    stop.startTimeLimit(std::chrono::seconds(request.timeoutSeconds), kQueryFailed,
                        "stockquery-export: " + notAnsweredWithin(request.timeoutSeconds, request));
    const auto ended = qScopeGuard([&] { stop.endTimeLimit(); });
    try {
        return read();
    } catch (const WorkCancelled&) {
        if (stop.timedOut())
            throw RunFailure{kQueryFailed, notAnsweredWithin(request.timeoutSeconds, request)};
        throw;
    } catch (const ServerUnreachable& error) {
        throw RunFailure{kNoConnection,
                         "lost the connection to the server: " + oneLine(error.what())};
    }
}

void listWarehouses(const ExportRequest& request, Connection& connection, StopOnSignals& stop,
                    const WorkControl& control) {
    ResultQuery warehouses(connection);
    SaveStream out;
    for (const Warehouse& warehouse :
         readWithinLimit(request, stop, [&] { return readWarehouses(warehouses); }))
        out << warehouse.code.toStdString() << '\t' << warehouse.name.toStdString() << '\n';
    try {
        out.commit(control);
    } catch (const ExportError& error) {
        throw RunFailure{kWriteFailed, std::string("cannot write the list: ") + error.what()};
    }
}

// Writes the request's rows; tells `errors` how many cells lost characters to "?".
void exportRows(const ExportRequest& request, Connection& connection, StopOnSignals& stop,
                WorkControl& control, std::ostream& errors) {
    const RequestedQuery requested = queryFor(request);
    const QueryShape& window = requested.shape;
    ResultQuery query(connection, window.fields, window.endRowsStay);
    for (const std::string& line : requested.statement)
        query.appendLine(line);
    try {
        query.adopt(readWithinLimit(request, stop, [&] {
            return connection.fetchAll(query.commandText(), window.fields, control);
        }));
    } catch (const DbError& error) {
        throw RunFailure{kQueryFailed, "the query failed: " + oneLine(error.what())};
    }
    // The table as a fresh window shows it, so that the file is the one its 输出 writes.
    ResultTableModel table(query, window.columns);
    table.beginQueryChange();
    table.endQueryChange();
    table.setCriteriaText(QString::fromStdString(requested.criteria));
    if (!request.sortField.empty()) {
        const int column = table.columnOf(request.sortField);
        if (column < 0)
            throw RunFailure{kBadArguments, "no column to sort by: " + request.sortField};
        for (int clicks = request.sortDescending ? 2 : 1; clicks > 0; --clicks)
            table.sortByTitle(column);
    }
    const ExportLayout layout = exportLayout(table, startingView(table, window));
    const std::unique_ptr<TDBGridExport> writer = exportFileTypeNamed(request.format)->writer();
    writer->watchWith(control);
    try {
        if (request.output == "-") {
            SaveStream out;
            writer->endLastLine();
            writer->WriteGridTo(out, layout, query);
        } else {
            // arguments are UTF-8 on every platform (platform/CommandLine.h)
            writer->WriteGridToFile(QString::fromStdString(request.output), layout, query);
        }
    } catch (const ExportError& error) {
        const std::string target =
            request.output == "-" ? "to standard output" : oneLine(request.output);
        const std::string why = error.reason().empty() ? "" : " (" + error.reason() + ")";
        throw RunFailure{kWriteFailed,
                         "cannot write " + target + ": " + oneLine(error.what()) + why};
    }
    if (const std::size_t replaced = writer->replacedCells(); replaced > 0)
        errors << "stockquery-export: " << replaced
               << " cells hold characters that code page 936 (GBK) cannot represent; they were "
                  "written as '?' (csv-utf8, xlsx and pdf keep every character)\n";
}

} // namespace

namespace {

// What an interrupted run has done to its target.
std::string interrupted(const ExportRequest& request) {
    const bool writesAFile = request.action != ExportRequest::Action::ListWarehouses &&
                             request.action != ExportRequest::Action::TestConnection &&
                             request.output != "-";
    return writesAFile ? "interrupted; nothing was written" : "interrupted";
}

// Runs the request; a failure becomes its status and one line.
RunFailure run(const ExportRequest& request, WorkControl& control, StopOnSignals& stop,
               std::ostream& errors) {
    try {
        Connection connection;
        connection.setSettings(settingsFor(request, errors));
        connection.setLoginTimeout(request.loginTimeoutSeconds);
        // A server restarting during the run is waited for, with growing waits.
        connection.setReconnectPatience(kReconnectPatience);
        if (errorsAreTerminal())
            stop.showProgressOn(errors);
        try {
            connection.open();
        } catch (const DbError& error) {
            const ConnectionSettings& s = connection.settings();
            const auto* refused = dynamic_cast<const ConnectError*>(&error);
            throw RunFailure{kNoConnection, "cannot connect to database " + s.database + " on " +
                                                s.server + " as " + s.user + ": " +
                                                (refused ? refused->reason() + " — " : "") +
                                                oneLine(error.what())};
        }
        if (request.action == ExportRequest::Action::TestConnection)
            std::cout << connection.sessionInfo().server << "\n"
                      << "driver: " << connection.sessionInfo().driver << std::endl;
        else if (request.action == ExportRequest::Action::ListWarehouses)
            listWarehouses(request, connection, stop, control);
        else
            exportRows(request, connection, stop, control, errors);
    } catch (const RunFailure& failure) {
        return failure;
    } catch (const WorkCancelled&) {
        return {kInterrupted, interrupted(request)};
    } catch (const DbError& error) {
        return {kQueryFailed, oneLine(error.what())};
    }
    return {kDone, {}};
}

} // namespace

int runExport(const ExportRequest& request, std::ostream& errors) {
    if (request.action == ExportRequest::Action::Help) {
        std::cout << exportUsage() << std::flush;
        return std::cout ? kDone : kWriteFailed;
    }
    WorkControl control;
    RunFailure outcome;
    {
        StopOnSignals stop(control, "stockquery-export: " + interrupted(request));
        outcome = run(request, control, stop, errors); // the prompt too can be interrupted
    }                                                  // the progress line is gone
    if (outcome.status != kDone)
        errors << "stockquery-export: " << outcome.message << '\n';
    return outcome.status;
}
