#include "StockCardQuery.h"

#include "StockCardColumns.h"
#include "result/CriteriaText.h"

namespace {

std::string describe(const StockCardCriteria& criteria) {
    CriteriaText text;
    text.add("期间", criteria.dateFrom + " 至 " + criteria.dateTo);
    text.add("仓库", criteria.warehouseCode);
    text.add("存货编码", criteria.itemCode);
    if (criteria.batch)
        text.add("批号", criteria.batch->empty() ? std::string("（空）") : *criteria.batch);
    return text.text();
}

} // namespace

const QueryDefinition<StockCardCriteria>& stockCardQuery() {
    static const QueryDefinition<StockCardCriteria> query{{"库存台账", 12, "dbg_card",
                                                           stockCardFields(), stockCardColumns(),
                                                           kStockCardFrozenColumns, true},
                                                          stockCardStatement,
                                                          describe};
    return query;
}
