#pragma once

#include "db/ResultQuery.h"
#include "table/ResultTableModel.h"

#include <string>
#include <vector>

// Runs `statement` on the table's query and opens the table on the rows, as a window does.
inline void openInTable(ResultTableModel& table, const std::vector<std::string>& statement) {
    table.beginQueryChange();
    for (const std::string& line : statement)
        table.query().appendLine(line);
    table.query().open();
    table.endQueryChange();
}
