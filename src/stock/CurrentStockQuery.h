#pragma once

#include "CurrentStockStatement.h"
#include "result/QueryDefinition.h"

// The current-stock query of the main window "现存量查询".
const QueryDefinition<CurrentStockCriteria>& currentStockQuery();
