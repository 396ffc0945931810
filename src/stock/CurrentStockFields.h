#pragma once

#include "result/FieldKind.h"

#include <vector>

// The fields the current-stock result must deliver, in declared order.
const std::vector<FieldDecl>& currentStockFields();
