#pragma once

#include "result/ResultColumn.h"

struct sqlite3_stmt;

// Appends the value of one statement column to a result column, converting SQLite's
// per-value storage class to the column's kind. Throws DbError when the value cannot be that
// kind; text columns accept numbers only when the field was not declared.
void appendSqliteValue(ResultColumn& column, bool declared, sqlite3_stmt* statement, int index);

// The kind an undeclared column gets from its declared SQL type.
FieldKind kindFromSqliteDeclType(const char* declType);

// The kind an undeclared expression column gets from the storage class of its first value.
FieldKind kindFromSqliteValue(int storageClass);
