#include "AgeingColumns.h"

#include "ItemColumns.h"

namespace {

// 结存数量 and the bands.
std::vector<std::string> quantities(const AgeingBands& bands) {
    std::vector<std::string> names = ageingBandTitles(bands);
    names.insert(names.begin(), "结存数量");
    return names;
}

} // namespace

std::vector<FieldDecl> ageingFields(const AgeingBands& bands, bool byBatch) {
    std::vector<FieldDecl> list = itemFields(byBatch);
    for (const std::string& name : quantities(bands))
        list.push_back({name, FieldKind::Double});
    list.push_back({"最近入库日期", FieldKind::DateTime});
    list.push_back({"最近出库日期", FieldKind::DateTime});
    list.push_back({"呆滞天数", FieldKind::Integer});
    return list;
}

std::vector<GridColumn> ageingColumns(const AgeingBands& bands, bool byBatch) {
    std::vector<GridColumn> list = itemColumns(byBatch);
    for (const std::string& name : quantities(bands))
        list.push_back(summedColumn(name, 82));
    // Sortable by a click, without a sum.
    for (const char* day : {"最近入库日期", "最近出库日期"})
        list.push_back({day, 90, true, FooterValue::None, "", FooterFont{14, true}});
    list.push_back({"呆滞天数", 64, true, FooterValue::None, "", FooterFont{14, true}});
    return list;
}
