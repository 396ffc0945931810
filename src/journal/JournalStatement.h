#pragma once

#include "result/ItemCriteria.h"

#include <string>
#include <vector>

// What the journal query is asked, every text already trimmed; dates as "yyyy-mm-dd".
struct JournalCriteria : ItemCriteria {
    std::string dateFrom;
    std::string dateTo;
    std::string flag;   // "", "收" or "发"
    std::string source; // "" for any source
    std::string productionOrder;
    std::string documentNumber;
};

// The statement's lines: 38 without warehouses, 39 with them.
std::vector<std::string> journalStatement(const JournalCriteria& criteria);
