#include "StockCardColumns.h"

namespace {

constexpr FooterFont kBold14{14, true};

} // namespace

const std::vector<FieldDecl>& stockCardFields() {
    using enum FieldKind;
    static const std::vector<FieldDecl> fields = {
        {"单据日期", DateTime}, {"单据号", Text},     {"单据类型", Text},   {"收发类别", Text},
        {"摘要", Text},         {"部门", Text},       {"客户", Text},       {"供应商简称", Text},
        {"批次", Text},         {"入库数量", Double}, {"出库数量", Double}, {"结存数量", Double},
    };
    return fields;
}

const std::vector<GridColumn>& stockCardColumns() {
    static const std::vector<GridColumn> columns = [] {
        const auto text = [](const char* field, int width) {
            return GridColumn{field, width, false, FooterValue::None, "", kBold14};
        };
        const auto summed = [](const char* field) {
            return GridColumn{field, 82, true, FooterValue::Sum, "", kBold14};
        };
        return std::vector<GridColumn>{
            {"单据日期", 75, false, FooterValue::StaticText, "合计", kBold14},
            text("单据号", 100),
            text("单据类型", 80),
            text("收发类别", 70),
            text("摘要", 80),
            text("部门", 70),
            text("客户", 80),
            text("供应商简称", 90),
            text("批次", 80),
            summed("入库数量"),
            summed("出库数量"),
            // A balance is not added up: each stands after its line.
            {"结存数量", 90, true, FooterValue::None, "", kBold14},
        };
    }();
    return columns;
}
