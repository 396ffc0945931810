#pragma once

#include "TempDir.h"
#include "demo/DemoSchema.h"

#include <sqlite3.h>

#include <string>

// A small ERP database of a test's own, in a folder of its own: the demo schema and whatever
// rows the test writes.
class TinyErp {
public:
    TinyErp() : file_((dir_ / "erp.sqlite").string()) {
        sqlite3_open(file_.c_str(), &db_);
        exec(kDemoSchema);
        exec("INSERT INTO ComputationUnit VALUES ('01', '个')");
    }
    ~TinyErp() { sqlite3_close(db_); }

    void exec(const std::string& sql) { sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr); }

    // A warehouse with one item in stock, quantity `onHand`.
    void addWarehouseWithStock(const std::string& code, const std::string& name, int onHand) {
        exec("INSERT INTO Warehouse VALUES ('" + code + "', '" + name + "')");
        exec("INSERT OR IGNORE INTO Inventory VALUES ('I1', 'A-1', '螺栓', 'M8', '01')");
        exec("INSERT INTO CurrentStock (cWhCode, cInvCode, cBatch, iQuantity) VALUES ('" + code +
             "', 'I1', 'B-" + code + "', " + std::to_string(onHand) + ")");
    }

    // Every statement of the windows joins the unit table; as a view that counts to a hundred
    // million before it gives its one row, it keeps each of them busy for many seconds.
    void slowDown() {
        exec("DROP TABLE ComputationUnit");
        exec("CREATE VIEW ComputationUnit AS WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
             "SELECT i + 1 FROM n WHERE i < 100000000) SELECT '01' AS cComunitCode, '个' AS "
             "cComUnitName FROM n WHERE i = 100000000");
    }

    std::string server() const { return "sqlite:" + file_; }

private:
    TempDir dir_;
    std::string file_;
    sqlite3* db_ = nullptr;
};
