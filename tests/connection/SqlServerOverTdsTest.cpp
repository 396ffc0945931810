#include "connection/Connection.h"
#include "connection/ResultQuery.h"
#include "stock/CurrentStockFields.h"
#include "support/DemoDatabasePath.h"
#include "support/QueryText.h"
#include "support/tds/ErpTdsResponder.h"

#include <gtest/gtest.h>

TEST(SqlServerOverTds, Experiment) {
    TdsServer server{ErpTdsResponder(demoDatabasePath())};
    Connection connection;
    connection.setSettings({server.address(), "UFDATA_001", "reader", "pw"});
    connection.open();
    CurrentStockCriteria criteria;
    criteria.name = "轴承";
    const std::string text = joinedStatement(currentStockStatement(criteria));
    try {
        ResultSet r = connection.fetchAll(text, currentStockFields());
        std::cout << "rows " << r.rowCount() << "\n";
    } catch (const DbError& e) {
        std::cout << "error " << e.what() << "\n";
    }
    for (auto& b : server.batches())
        std::cout << "BATCH[" << b << "]\n";
}
#include "connection/odbc/OdbcBackend.h"
#include <clocale>
TEST(SqlServerOverTds, Names) {
    std::setlocale(LC_ALL, "C.UTF-8");
    OdbcBackend odbc("DRIVER={SQLite3};StepAPI=1;DATABASE=" + demoDatabasePath());
    ResultSet r = odbc.fetchAll("select cWhName as 收发标志, 'é密' as x from Warehouse", {});
    for (size_t i = 0; i < r.columnCount(); ++i) std::cout << "[" << r.column(i).name() << "] " << r.column(i).text(0) << "\n";
}
