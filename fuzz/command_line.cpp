// The command's arguments as a script or a person may give them (parted by NUL bytes, which
// no argument can hold): each is refused with a reason or read, and what is read makes a
// statement that the database prepares as one statement.
#include "FuzzSql.h"
#include "cli/ExportArguments.h"
#include "ledger/AgeingStatement.h"
#include "result/DateTime.h"

#include <cstdio>
#include <cstdlib>

namespace {

bool isDay(const std::string& text) {
    const auto day = parseIsoDateTime(text);
    return day && text.size() == 10;
}

std::vector<std::string> statementOf(ExportRequest request) {
    using Action = ExportRequest::Action;
    switch (request.action) {
    case Action::Stock:
        return currentStockStatement(request.stock);
    case Action::Journal:
        return journalStatement(request.journal);
    case Action::Summary:
        return periodSummaryStatement(request.summary);
    case Action::Card:
        return stockCardStatement(request.card);
    case Action::Ageing:
        if (request.ageing.asOf.empty())
            request.ageing.asOf = "2026-12-10";
        return ageingStatement(request.ageing);
    default:
        return {};
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    ExportRequest request;
    try {
        request = parseExportArguments(fuzzFields(data, size, '\0'));
    } catch (const ArgumentError& refused) {
        if (std::string(refused.what()).empty())
            std::abort(); // a refusal says why
        return 0;
    }
    // Dates read are days of the calendar, in order.
    for (const auto& [from, to] : {std::pair{request.journal.dateFrom, request.journal.dateTo},
                                   std::pair{request.summary.dateFrom, request.summary.dateTo},
                                   std::pair{request.card.dateFrom, request.card.dateTo}})
        if ((!from.empty() && !isDay(from)) || (!to.empty() && !isDay(to)))
            std::abort();
    if (!request.ageing.asOf.empty() && !isDay(request.ageing.asOf))
        std::abort();
    const std::vector<std::string> statement = statementOf(request);
    if (statement.empty())
        return 0;
    if (const std::string failed = preparesAsOneStatement(statement); !failed.empty()) {
        std::fprintf(stderr, "%s\n", failed.c_str());
        std::abort();
    }
    return 0;
}
