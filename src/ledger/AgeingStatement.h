#pragma once

#include "AgeingBands.h"
#include "result/ItemCriteria.h"

#include <string>
#include <vector>

// What the stock ageing (库龄分析) is asked, every text already trimmed; the day as
// "yyyy-mm-dd".
struct AgeingCriteria : ItemCriteria {
    std::string asOf;
    AgeingBands bands = kDefaultAgeingBands;
    bool byBatch = false; // a row per batch, not per item
};

// One statement that the server works out alone: per warehouse and item (and batch) with a
// balance at the end of the as-of day (the summary's: today's stock less the receipts after
// that day plus the issues after it), that balance spread over the age bands first in, first
// out: it is taken to be made of the latest receipts up to that day, each aged from its day to
// the as-of day, and what the receipts on record do not cover lies in the last band. A
// negative balance fills no band. Then the last receipt's and the last issue's day up to the
// as-of day, and the days since the last issue (since the last receipt when none).
std::vector<std::string> ageingStatement(const AgeingCriteria& criteria);
