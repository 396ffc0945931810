#pragma once

#include "result/DbError.h"
#include "result/FieldKind.h"
#include "result/ResultSet.h"

#include <span>
#include <string>
#include <vector>

// A column as the database describes it before any row is read. Where the backend only
// learns the kind from each value (SQLite), `kind` is a guess from the declared column type
// used for undeclared fields, and each value is checked as it is read instead.
struct SourceColumn {
    std::string name;
    FieldKind kind;
    bool kindKnown = true;
};

// Where each column of the database's result goes. With declared fields the result holds
// exactly those, in declared order and kinds; without, it holds every column as it comes.
struct ColumnPlan {
    std::vector<int> targetOf; // per source column: index in the result, or -1 to skip
    std::vector<std::string> targetNames;
    std::vector<FieldKind> targetKinds;
    bool fieldsDeclared = false; // the result holds declared fields only

    ResultSet makeEmptyResult() const;
};

// Throws DbError when a declared field is missing or its known kind is incompatible.
ColumnPlan planColumns(const std::vector<SourceColumn>& source,
                       std::span<const FieldDecl> declared);

DbError incompatibleField(const FieldDecl& field, FieldKind actual);
