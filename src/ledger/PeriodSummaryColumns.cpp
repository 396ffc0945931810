#include "PeriodSummaryColumns.h"

#include "ItemColumns.h"

namespace {

std::vector<FieldDecl> fields(bool byBatch) {
    std::vector<FieldDecl> list = itemFields(byBatch);
    for (const char* quantity : {"期初数量", "入库数量", "出库数量", "期末数量"})
        list.push_back({quantity, FieldKind::Double});
    list.push_back({"入库金额", FieldKind::Decimal});
    list.push_back({"出库金额", FieldKind::Decimal});
    return list;
}

std::vector<GridColumn> columns(bool byBatch) {
    std::vector<GridColumn> list = itemColumns(byBatch);
    for (const char* quantity : {"期初数量", "入库数量", "出库数量", "期末数量"})
        list.push_back(summedColumn(quantity, 82));
    list.push_back(summedColumn("入库金额", 96));
    list.push_back(summedColumn("出库金额", 96));
    return list;
}

} // namespace

const std::vector<FieldDecl>& periodSummaryFields(bool byBatch) {
    static const std::vector<FieldDecl> perItem = fields(false);
    static const std::vector<FieldDecl> perBatch = fields(true);
    return byBatch ? perBatch : perItem;
}

const std::vector<GridColumn>& periodSummaryColumns(bool byBatch) {
    static const std::vector<GridColumn> perItem = columns(false);
    static const std::vector<GridColumn> perBatch = columns(true);
    return byBatch ? perBatch : perItem;
}
