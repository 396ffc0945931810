#include "PeriodSummaryColumns.h"

namespace {

constexpr FooterFont kBold14{14, true};

std::vector<FieldDecl> fields(bool byBatch) {
    using enum FieldKind;
    std::vector<FieldDecl> list = {{"仓库编码", Text}, {"仓库", Text},     {"存货编码", Text},
                                   {"存货名称", Text}, {"规格型号", Text}, {"计量单位", Text}};
    if (byBatch)
        list.push_back({"批号", Text});
    for (const char* quantity : {"期初数量", "入库数量", "出库数量", "期末数量"})
        list.push_back({quantity, Double});
    list.push_back({"入库金额", Decimal});
    list.push_back({"出库金额", Decimal});
    return list;
}

std::vector<GridColumn> columns(bool byBatch) {
    const auto text = [](const char* field, int width) {
        return GridColumn{field, width, false, FooterValue::None, "", kBold14};
    };
    const auto summed = [](const char* field, int width) {
        return GridColumn{field, width, true, FooterValue::Sum, "", kBold14};
    };
    std::vector<GridColumn> list = {
        text("仓库编码", 60), {"仓库", 90, false, FooterValue::StaticText, "合计", kBold14},
        text("存货编码", 75), text("存货名称", 120),
        text("规格型号", 80), text("计量单位", 56),
    };
    if (byBatch)
        list.push_back(text("批号", 80));
    for (const char* quantity : {"期初数量", "入库数量", "出库数量", "期末数量"})
        list.push_back(summed(quantity, 82));
    list.push_back(summed("入库金额", 96));
    list.push_back(summed("出库金额", 96));
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
