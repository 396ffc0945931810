#include "CurrentStockQuery.h"

#include "CurrentStockColumns.h"
#include "CurrentStockFields.h"
#include "result/CriteriaText.h"

namespace {

std::string describe(const CurrentStockCriteria& criteria) {
    CriteriaText text;
    text.addItemCriteria(criteria);
    return text.text();
}

} // namespace

const QueryDefinition<CurrentStockCriteria>& currentStockQuery() {
    static const QueryDefinition<CurrentStockCriteria> query{
        {"现存量查询", 12, "dbg_xclinfo", currentStockFields(), currentStockColumns(),
         kCurrentStockFrozenColumns},
        currentStockStatement,
        describe};
    return query;
}
