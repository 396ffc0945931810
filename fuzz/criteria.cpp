// Whatever is typed into a criterion box (any bytes but NUL, which neither a box nor an
// argument can hold) stays a criterion: every query's statement prepares as one statement,
// and each text goes into it as a literal that reads back as the text itself.
#include "FuzzSql.h"
#include "journal/JournalStatement.h"
#include "ledger/AgeingStatement.h"
#include "ledger/PeriodSummaryStatement.h"
#include "ledger/StockCardStatement.h"
#include "result/SqlText.h"
#include "stock/CurrentStockStatement.h"

#include <cstdio>
#include <cstdlib>

namespace {

void mustPrepare(const std::vector<std::string>& statement) {
    if (const std::string failed = preparesAsOneStatement(statement); !failed.empty()) {
        std::fprintf(stderr, "%s\n", failed.c_str());
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    std::vector<std::string> fields = fuzzFields(data, size, '\x1f');
    for (std::string& field : fields)
        std::erase(field, '\0');
    fields.resize(std::max<std::size_t>(fields.size(), 9));
    for (const std::string& text : fields)
        if (literalReadBack(sqlLiteral(text)) != text) {
            std::fprintf(stderr, "read back otherwise: %s\n", sqlLiteral(text).c_str());
            std::abort();
        }
    std::vector<std::string> warehouses;
    for (std::size_t i = 8; i < fields.size(); ++i)
        warehouses.push_back(fields[i]);
    const std::string from = "2026-01-01";
    const std::string to = "2026-12-31";

    const auto items = [&](auto criteria) {
        criteria.warehouseCodes = warehouses;
        criteria.itemCode = fields[0];
        criteria.addCode = fields[1];
        criteria.spec = fields[2];
        criteria.name = fields[3];
        return criteria;
    };
    mustPrepare(currentStockStatement(items(CurrentStockCriteria{})));
    JournalCriteria journal = items(JournalCriteria{});
    journal.dateFrom = from;
    journal.dateTo = to;
    journal.flag = fields[4].empty() ? "" : fields[4][0] % 2 ? "收" : "发";
    journal.source = fields[5];
    journal.productionOrder = fields[6];
    journal.documentNumber = fields[7];
    mustPrepare(journalStatement(journal));
    for (const bool byBatch : {false, true}) {
        PeriodSummaryCriteria summary = items(PeriodSummaryCriteria{});
        summary.dateFrom = from;
        summary.dateTo = to;
        summary.byBatch = byBatch;
        mustPrepare(periodSummaryStatement(summary));
        AgeingCriteria ageing = items(AgeingCriteria{});
        ageing.asOf = to;
        ageing.byBatch = byBatch;
        mustPrepare(ageingStatement(ageing));
    }
    for (const std::optional<std::string>& batch : {std::optional<std::string>{}, {fields[5]}})
        mustPrepare(stockCardStatement({fields[4], fields[0], batch, from, to}));
    return 0;
}
