#pragma once

#include "journal/JournalStatement.h"
#include "stock/CurrentStockStatement.h"

#include <string>
#include <vector>

// The statements' lines joined as a result query joins them.
inline std::string joinedLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

// The journal over every date the demo database can hold.
inline JournalCriteria wholeJournal() {
    JournalCriteria criteria;
    criteria.dateFrom = "1900-01-01";
    criteria.dateTo = "9999-12-31";
    return criteria;
}
