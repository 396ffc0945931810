#pragma once

#include "result/ItemCriteria.h"

#include <string>
#include <vector>

// What the period summary (收发存汇总) is asked, every text already trimmed; dates as
// "yyyy-mm-dd", the first not after the second.
struct PeriodSummaryCriteria : ItemCriteria {
    std::string dateFrom;
    std::string dateTo;
    bool byBatch = false; // a row per batch, not per item
};

// One statement that the server works out alone: per warehouse and item (and batch) the
// balance at the start of the period, its receipts and issues (quantities and amounts) and the
// balance at its end. The end is today's stock less the receipts after the period plus the
// issues after it; the start is the end less the period's receipts plus its issues. So a
// period that ends today closes on the current stock. Rows with neither a balance nor a
// movement in the period are left out.
std::vector<std::string> periodSummaryStatement(const PeriodSummaryCriteria& criteria);
