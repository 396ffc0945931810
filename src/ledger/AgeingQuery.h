#pragma once

#include "AgeingStatement.h"
#include "result/QueryDefinition.h"

// The stock ageing "库龄分析" with these bands: a row per warehouse and item, or per batch when
// `byBatch`. The definition lives as long as the program; on any thread.
const QueryDefinition<AgeingCriteria>& ageingQuery(const AgeingBands& bands, bool byBatch);
