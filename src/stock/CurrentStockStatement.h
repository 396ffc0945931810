#pragma once

#include <string>
#include <vector>

// What the current-stock query is asked: the chosen warehouses' codes in list order and the
// four item criteria, already trimmed.
struct CurrentStockCriteria {
    std::vector<std::string> warehouseCodes;
    std::string itemCode;
    std::string addCode;
    std::string spec;
    std::string name;
};

// The statement's lines: 25 without warehouses, 26 with them.
std::vector<std::string> currentStockStatement(const CurrentStockCriteria& criteria);
