#include "CriteriaText.h"

void CriteriaText::add(std::string_view label, const std::string& value) {
    if (!value.empty())
        parts_.push_back(std::string(label) + "：" + value);
}

void CriteriaText::add(std::string_view label, const std::vector<std::string>& values) {
    std::string joined;
    for (const std::string& value : values)
        joined += (joined.empty() ? "" : "、") + value;
    add(label, joined);
}

std::string CriteriaText::text() const {
    std::string text = "查询条件：";
    if (parts_.empty())
        return text + "无";
    for (std::size_t i = 0; i < parts_.size(); ++i)
        text += (i > 0 ? "；" : "") + parts_[i];
    return text;
}

void CriteriaText::addItemCriteria(const ItemCriteria& criteria) {
    add("仓库", criteria.warehouseCodes);
    add("存货编码", criteria.itemCode);
    add("存货代码", criteria.addCode);
    add("规格型号", criteria.spec);
    add("存货名称", criteria.name);
}
