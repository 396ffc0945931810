#pragma once

#include "LikePattern.h"
#include "result/FixedPoint.h"
#include "stock/CurrentStockStatement.h"

#include <sqlite3.h>

#include <array>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

// The current stock worked out from the raw tables in C++, apart from the statement: the
// inner joins, the criteria as LIKE '%T%' substrings, the grouping and the sums with nulls as 0.
// Warehouses are told apart by code: one whose name another bears too reads "名称（代码）".
class RawCurrentStock {
public:
    using Text = std::optional<std::string>;
    // warehouse label, item code, item name, size and model, add-code, batch, remark
    using Key = std::tuple<Text, Text, Text, Text, Text, Text, Text>;
    // on hand, available, awaiting issue, awaiting receipt, in transit, awaiting dispatch, frozen
    using Sums = std::array<double, 7>;

    explicit RawCurrentStock(const std::string& file) {
        sqlite3_open_v2(file.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr);
        std::map<Text, int> bearers;
        const auto warehouses = select("select cWhCode, cWhName from Warehouse", 2);
        for (auto& row : warehouses)
            ++bearers[row[1]];
        for (auto& row : warehouses)
            warehouses_[*row[0]] =
                bearers[row[1]] > 1 ? Text(*row[1] + "（" + *row[0] + "）") : row[1];
        for (auto& row : select("select cComunitCode from ComputationUnit", 1))
            units_.insert(*row[0]);
        for (auto& row : select("select cInvCode, cInvName, cInvStd, cInvAddCode, cComUnitCode "
                                "from Inventory",
                                5))
            items_[*row[0]] = row;
        stock_ = select("select cWhCode, cInvCode, cBatch, cFree1, iQuantity, fInQuantity, "
                        "fOutQuantity, fTransInQuantity, fTransOutQuantity, fStopQuantity "
                        "from CurrentStock",
                        10);
        sqlite3_close(db_);
    }

    std::map<Key, Sums> query(const CurrentStockCriteria& c) const {
        std::map<Key, Sums> groups;
        const std::set<std::string> codes(c.warehouseCodes.begin(), c.warehouseCodes.end());
        for (const auto& s : stock_) {
            const auto item = items_.find(s[1].value_or(""));
            const auto warehouse = warehouses_.find(s[0].value_or(""));
            if (!s[1] || item == items_.end() || !s[0] || warehouse == warehouses_.end() ||
                !item->second[4] || !units_.count(*item->second[4]))
                continue;
            if (!codes.empty() && !codes.count(*s[0]))
                continue;
            const auto& i = item->second;
            if (!contains(s[1], c.itemCode) || !contains(i[3], c.addCode) ||
                !contains(i[2], c.spec) || !contains(i[1], c.name))
                continue;
            Sums& sums = groups[Key{warehouse->second, s[1], i[1], i[2], i[3], s[2], s[3]}];
            const auto q = [&](int k) { return s[k] ? std::stod(*s[k]) : 0.0; };
            sums[0] += q(4);
            sums[1] += q(4) + q(5) + q(7) - q(6) - q(8);
            sums[2] += q(6);
            sums[3] += q(5);
            sums[4] += q(7);
            sums[5] += q(8);
            sums[6] += q(9);
        }
        return groups;
    }

private:
    static bool contains(const Text& column, const std::string& criterion) {
        return criterion.empty() || (column && likeMatches(*column, "%" + criterion + "%"));
    }

    std::vector<std::vector<Text>> select(const char* sql, int columns) {
        std::vector<std::vector<Text>> rows;
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db_, sql, -1, &statement, nullptr);
        while (sqlite3_step(statement) == SQLITE_ROW) {
            std::vector<Text> row;
            for (int i = 0; i < columns; ++i) {
                const auto* text = sqlite3_column_text(statement, i);
                row.push_back(text ? Text(reinterpret_cast<const char*>(text)) : std::nullopt);
            }
            rows.push_back(std::move(row));
        }
        sqlite3_finalize(statement);
        return rows;
    }

    sqlite3* db_ = nullptr;
    std::map<std::string, Text> warehouses_;
    std::set<std::string> units_;
    std::map<std::string, std::vector<Text>> items_;
    std::vector<std::vector<Text>> stock_;
};
