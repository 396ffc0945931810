#pragma once

#include "PeriodSummaryStatement.h"
#include "result/QueryDefinition.h"

// The period summary "收发存汇总": a row per warehouse and item, or per batch when `byBatch`.
const QueryDefinition<PeriodSummaryCriteria>& periodSummaryQuery(bool byBatch);
