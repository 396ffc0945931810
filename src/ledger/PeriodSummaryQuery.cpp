#include "PeriodSummaryQuery.h"

#include "PeriodSummaryColumns.h"
#include "result/CriteriaText.h"

namespace {

std::string describe(const PeriodSummaryCriteria& criteria) {
    CriteriaText text;
    text.add("期间", criteria.dateFrom + " 至 " + criteria.dateTo);
    text.addItemCriteria(criteria);
    if (criteria.byBatch)
        text.add("按批次", std::string("是"));
    return text.text();
}

QueryDefinition<PeriodSummaryCriteria> definition(bool byBatch) {
    return {{"收发存汇总", 12, "dbg_summary", periodSummaryFields(byBatch),
             periodSummaryColumns(byBatch), kPeriodSummaryFrozenColumns},
            periodSummaryStatement,
            describe};
}

} // namespace

const QueryDefinition<PeriodSummaryCriteria>& periodSummaryQuery(bool byBatch) {
    static const QueryDefinition<PeriodSummaryCriteria> perItem = definition(false);
    static const QueryDefinition<PeriodSummaryCriteria> perBatch = definition(true);
    return byBatch ? perBatch : perItem;
}
