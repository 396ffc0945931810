#pragma once

#include "result/ItemCriteria.h"

#include <string>
#include <vector>

// What the current-stock query is asked: the item criteria alone.
using CurrentStockCriteria = ItemCriteria;

// The statement's lines: 25 without warehouses, 26 with them.
std::vector<std::string> currentStockStatement(const CurrentStockCriteria& criteria);
