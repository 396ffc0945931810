#pragma once

#include <string>
#include <string_view>
#include <vector>

// The criteria in force as a printed page's heading shows them: "查询条件：" and each given
// criterion as "名称：值", parted by "；", or "查询条件：无" when none is given.
class CriteriaText {
public:
    // Nothing for an empty value.
    void add(std::string_view label, const std::string& value);
    // The values parted by "、"; nothing for none.
    void add(std::string_view label, const std::vector<std::string>& values);
    // The warehouses and the four item boxes, which both windows have, in their order.
    template <typename Criteria> void addItemCriteria(const Criteria& criteria) {
        add("仓库", criteria.warehouseCodes);
        add("存货编码", criteria.itemCode);
        add("存货代码", criteria.addCode);
        add("规格型号", criteria.spec);
        add("存货名称", criteria.name);
    }
    std::string text() const;

private:
    std::vector<std::string> parts_;
};
