#pragma once

#include "db/Connection.h"
#include "db/ResultQuery.h"
#include "journal/JournalStatement.h"

#include <filesystem>
#include <string>
#include <vector>

// A statement opened on a demo database file through the SQLite backend, as a window's
// result query opens it.
struct DemoQuery {
    DemoQuery(const std::string& file, const std::vector<std::string>& lines,
              const std::vector<FieldDecl>& fields)
        : query(connection, fields) {
        connection.setSettings(
            {"sqlite:" + std::filesystem::absolute(file).string(), "demo", "demo", ""});
        connection.open();
        for (const std::string& line : lines)
            query.appendLine(line);
        query.open();
    }

    Connection connection;
    ResultQuery query;
};

// The journal over every date the demo database can hold.
inline JournalCriteria wholeJournal() {
    JournalCriteria criteria;
    criteria.dateFrom = "1900-01-01";
    criteria.dateTo = "9999-12-31";
    return criteria;
}
