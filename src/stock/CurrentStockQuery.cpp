#include "CurrentStockQuery.h"

#include "CurrentStockColumns.h"
#include "CurrentStockFields.h"

const QueryDefinition<CurrentStockCriteria>& currentStockQuery() {
    static const QueryDefinition<CurrentStockCriteria> query{
        {"现存量查询", 12, "dbg_xclinfo", currentStockFields(), currentStockColumns(),
         kCurrentStockFrozenColumns},
        currentStockStatement};
    return query;
}
