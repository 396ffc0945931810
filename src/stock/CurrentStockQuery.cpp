#include "CurrentStockQuery.h"

#include "CurrentStockColumns.h"
#include "CurrentStockFields.h"
#include "result/CriteriaText.h"

namespace {

std::string describe(const CurrentStockCriteria& criteria) {
    CriteriaText text;
    text.add("仓库", criteria.warehouseCodes);
    text.add("存货编码", criteria.itemCode);
    text.add("存货代码", criteria.addCode);
    text.add("规格型号", criteria.spec);
    text.add("存货名称", criteria.name);
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
