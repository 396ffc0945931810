#pragma once

#include "FieldKind.h"
#include "GridColumn.h"

#include <string>
#include <vector>

// What a query window and the export command both take from one query, so that the command's
// files are the window's: the window's caption and the pixel size of its 宋体, the grid's
// name, the fields the result delivers, the grid's column table and frozen columns.
struct QueryShape {
    const char* caption;
    int fontPixelSize;
    const char* gridName;
    const std::vector<FieldDecl>& fields;
    const std::vector<GridColumn>& columns;
    int frozenColumns;
    // The result's first and last rows are its opening and closing (a card's 期初 and 期末):
    // they stay first and last whatever the sort, and are not counted as records.
    bool endRowsStay = false;
};

// A query's shape, its statement lines for a criteria record, and the criteria as a printed
// page's heading shows them.
template <typename Criteria> struct QueryDefinition {
    QueryShape shape;
    std::vector<std::string> (*statement)(const Criteria&);
    std::string (*describe)(const Criteria&);
};
