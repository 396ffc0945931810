#pragma once

#include <QString>

#include <vector>

class ResultQuery;

struct Warehouse {
    QString code;
    QString name;
};

// Runs the warehouse statement on `query` and gives each warehouse's code and name as a grid
// would show them, by code; throws DbError when the statement fails.
std::vector<Warehouse> readWarehouses(ResultQuery& query);
