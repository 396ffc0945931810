#pragma once

#include <string>
#include <vector>

// What every query is asked of the stock it covers: the chosen warehouses' codes in list order
// and the four item criteria, already trimmed.
struct ItemCriteria {
    std::vector<std::string> warehouseCodes;
    std::string itemCode;
    std::string addCode;
    std::string spec;
    std::string name;
};
