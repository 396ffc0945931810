#pragma once

#include "result/FieldKind.h"
#include "result/ResultSet.h"

#include <span>
#include <string>

// One open database session. Runs a statement and reads its whole result into memory.
class DatabaseBackend {
public:
    virtual ~DatabaseBackend() = default;

    // Throws DbError when the statement is refused, the session is lost or the result does not
    // fit the declared fields.
    virtual ResultSet fetchAll(const std::string& commandText,
                               std::span<const FieldDecl> declared) = 0;
};
