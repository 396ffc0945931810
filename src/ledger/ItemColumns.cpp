#include "ItemColumns.h"

namespace {

constexpr FooterFont kBold14{14, true};

} // namespace

std::vector<FieldDecl> itemFields(bool byBatch) {
    std::vector<FieldDecl> list;
    for (const char* name : {"仓库编码", "仓库", "存货编码", "存货名称", "规格型号", "计量单位"})
        list.push_back({name, FieldKind::Text});
    if (byBatch)
        list.push_back({"批号", FieldKind::Text});
    return list;
}

std::vector<GridColumn> itemColumns(bool byBatch) {
    const auto text = [](const char* field, int width) {
        return GridColumn{field, width, false, FooterValue::None, "", kBold14};
    };
    std::vector<GridColumn> list = {
        text("仓库编码", 60), {"仓库", 90, false, FooterValue::StaticText, "合计", kBold14},
        text("存货编码", 75), text("存货名称", 120),
        text("规格型号", 80), text("计量单位", 56),
    };
    if (byBatch)
        list.push_back(text("批号", 80));
    return list;
}

GridColumn summedColumn(const std::string& field, int width) {
    return GridColumn{field, width, true, FooterValue::Sum, "", kBold14};
}
