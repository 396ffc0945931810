#pragma once

#include "db/Connection.h"
#include "db/ResultQuery.h"
#include "demo/Today.h"
#include "support/DemoDatabasePath.h"

#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <set>
#include <string>

// What the tests of the period summary and the stock card share: today, figures compared to
// the millionth, the demo's connection, a query opened on it, and the raw tables read apart
// from the program's statements.

// Today as the demo's generator saw it, yyyy-mm-dd.
inline std::string todayText() {
    const CivilDateTime now = localToday();
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", now.year, now.month, now.day);
    return text;
}

// Equal to the millionth that quantities are kept in, relative to large figures.
inline bool nearlyEqual(double a, double b) {
    return std::abs(a - b) <= 1e-6 * std::max({1.0, std::abs(a), std::abs(b)});
}

// The demo's connection.
struct OnDemo {
    OnDemo() {
        connection.setSettings({"sqlite:" + demoDatabasePath(), "d", "u", ""});
        connection.open();
    }
    Connection connection;
};

// A query definition's statement for `criteria`, opened on `connection`.
template <typename Criteria, typename Definition>
ResultQuery openedQuery(Connection& connection, const Definition& query, const Criteria& criteria) {
    ResultQuery rows(connection, query.shape.fields);
    for (const std::string& line : query.statement(criteria))
        rows.appendLine(line);
    rows.open();
    return rows;
}

// A demo file read with plain SQL, apart from the program's backends.
class RawTables {
public:
    explicit RawTables(const std::string& file = demoDatabasePath()) {
        sqlite3_open_v2(file.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr);
    }
    ~RawTables() { sqlite3_close(db_); }
    RawTables(const RawTables&) = delete;
    RawTables& operator=(const RawTables&) = delete;

    // Calls `each` with every row of `sql`.
    void rows(const std::string& sql, const std::function<void(sqlite3_stmt*)>& each) const {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr);
        while (sqlite3_step(statement) == SQLITE_ROW)
            each(statement);
        sqlite3_finalize(statement);
    }

    // Text of a column, "" for null.
    static std::string textAt(sqlite3_stmt* row, int column) {
        const auto* text = sqlite3_column_text(row, column);
        return text ? reinterpret_cast<const char*>(text) : "";
    }

private:
    sqlite3* db_ = nullptr;
};

// Whether a warehouse and item are among those the windows show: the warehouse exists, and
// the item with its unit.
class ShownPairs {
public:
    explicit ShownPairs(const RawTables& raw) {
        std::set<std::string> units;
        raw.rows("select cWhCode from Warehouse",
                 [&](sqlite3_stmt* r) { warehouses_.insert(RawTables::textAt(r, 0)); });
        raw.rows("select cComunitCode from ComputationUnit",
                 [&](sqlite3_stmt* r) { units.insert(RawTables::textAt(r, 0)); });
        raw.rows("select cInvCode, cComUnitCode from Inventory", [&](sqlite3_stmt* r) {
            if (units.count(RawTables::textAt(r, 1)))
                items_.insert(RawTables::textAt(r, 0));
        });
    }
    bool operator()(const std::string& warehouse, const std::string& item) const {
        return warehouses_.count(warehouse) && items_.count(item);
    }

private:
    std::set<std::string> warehouses_;
    std::set<std::string> items_;
};
