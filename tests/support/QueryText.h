#pragma once

#include "journal/JournalStatement.h"
#include "stock/CurrentStockStatement.h"

#include <string>
#include <vector>

// The journal over every date the demo database can hold.
inline JournalCriteria wholeJournal() {
    JournalCriteria criteria;
    criteria.dateFrom = "1900-01-01";
    criteria.dateTo = "9999-12-31";
    return criteria;
}
