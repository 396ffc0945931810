#pragma once

#include "WorkControl.h"
#include "result/FieldKind.h"
#include "result/ResultSet.h"

#include <span>
#include <string>

// One open database session. Runs a statement and reads its whole result into memory.
class DatabaseBackend {
public:
    virtual ~DatabaseBackend() = default;

    // Throws DbError when the statement is refused, the session is lost or the result does not
    // fit the declared fields, and WorkCancelled when `control` asked it to stop. Counts the
    // rows read so far into `control`; a cancel from another thread interrupts the statement.
    virtual ResultSet fetchAll(const std::string& commandText, std::span<const FieldDecl> declared,
                               WorkControl& control) = 0;
    // The same, watched by no one.
    ResultSet fetchAll(const std::string& commandText, std::span<const FieldDecl> declared) {
        WorkControl unwatched;
        return fetchAll(commandText, declared, unwatched);
    }
};
