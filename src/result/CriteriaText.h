#pragma once

#include "ItemCriteria.h"

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
    // The warehouses and the four item boxes, which every window has, in their order.
    void addItemCriteria(const ItemCriteria& criteria);
    std::string text() const;

private:
    std::vector<std::string> parts_;
};
