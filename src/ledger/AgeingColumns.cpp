#include "AgeingColumns.h"

namespace {

constexpr FooterFont kBold14{14, true};

const std::vector<std::string>& itemTexts() {
    static const std::vector<std::string> names = {"仓库编码", "仓库",     "存货编码",
                                                   "存货名称", "规格型号", "计量单位"};
    return names;
}

// 结存数量 and the bands.
std::vector<std::string> quantities(const AgeingBands& bands) {
    std::vector<std::string> names = ageingBandTitles(bands);
    names.insert(names.begin(), "结存数量");
    return names;
}

} // namespace

std::vector<FieldDecl> ageingFields(const AgeingBands& bands, bool byBatch) {
    using enum FieldKind;
    std::vector<FieldDecl> list;
    for (const std::string& name : itemTexts())
        list.push_back({name, Text});
    if (byBatch)
        list.push_back({"批号", Text});
    for (const std::string& name : quantities(bands))
        list.push_back({name, Double});
    list.push_back({"最近入库日期", DateTime});
    list.push_back({"最近出库日期", DateTime});
    list.push_back({"呆滞天数", Integer});
    return list;
}

std::vector<GridColumn> ageingColumns(const AgeingBands& bands, bool byBatch) {
    const auto text = [](const std::string& field, int width) {
        return GridColumn{field, width, false, FooterValue::None, "", kBold14};
    };
    std::vector<GridColumn> list = {
        text("仓库编码", 60), {"仓库", 90, false, FooterValue::StaticText, "合计", kBold14},
        text("存货编码", 75), text("存货名称", 120),
        text("规格型号", 80), text("计量单位", 56),
    };
    if (byBatch)
        list.push_back(text("批号", 80));
    for (const std::string& name : quantities(bands))
        list.push_back({name, 82, true, FooterValue::Sum, "", kBold14});
    for (const char* day : {"最近入库日期", "最近出库日期"})
        list.push_back({day, 90, true, FooterValue::None, "", kBold14});
    list.push_back({"呆滞天数", 64, true, FooterValue::None, "", kBold14});
    return list;
}
