#pragma once

#include <string>
#include <vector>

// The warehouses that the pickers list and the export command prints: code and name of each,
// by code.
std::vector<std::string> warehouseStatement();
