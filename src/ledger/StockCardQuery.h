#pragma once

#include "StockCardStatement.h"
#include "result/QueryDefinition.h"

// The stock card "库存台账" of one item in one warehouse.
const QueryDefinition<StockCardCriteria>& stockCardQuery();
