#include "JournalQuery.h"

#include "JournalColumns.h"
#include "JournalFields.h"
#include "result/CriteriaText.h"

namespace {

std::string describe(const JournalCriteria& criteria) {
    CriteriaText text;
    text.add("制单日期", criteria.dateFrom + " 至 " + criteria.dateTo);
    text.addItemCriteria(criteria);
    text.add("收发标志", criteria.flag);
    text.add("单据来源", criteria.source);
    text.add("生产订单", criteria.productionOrder);
    text.add("单据号", criteria.documentNumber);
    return text.text();
}

} // namespace

const QueryDefinition<JournalCriteria>& journalQuery() {
    static const QueryDefinition<JournalCriteria> query{
        {"出入库流水帐", 12, "dbg_crinfo", journalFields(), journalColumns(), 0},
        journalStatement,
        describe};
    return query;
}
