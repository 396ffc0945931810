#pragma once

#include "RowArrival.h"
#include "WorkControl.h"
#include "result/FieldKind.h"
#include "result/ResultSet.h"

#include <span>
#include <string>

// What a session is connected to, and through what, as people name them.
struct SessionInfo {
    std::string server; // "Microsoft SQL Server 15.00.2000"
    std::string driver; // "FreeTDS 01.03.0017"
};

// One open database session. Runs a statement and reads its whole result into memory.
class DatabaseBackend {
public:
    virtual ~DatabaseBackend() = default;

    virtual SessionInfo sessionInfo() const = 0;

    // Reads the result into `into`, publishing rows as they come. Throws DbError when the
    // statement is refused, the session is lost or the result does not fit the declared
    // fields, and WorkCancelled when `control` asked it to stop. Counts the rows read so far
    // into `control`; a cancel from another thread interrupts the statement.
    virtual void fetchInto(const std::string& commandText, std::span<const FieldDecl> declared,
                           WorkControl& control, RowArrival& into) = 0;
    // The same into a result of its own.
    ResultSet fetchAll(const std::string& commandText, std::span<const FieldDecl> declared,
                       WorkControl& control) {
        return RowArrival::whole(
            [&](RowArrival& into) { fetchInto(commandText, declared, control, into); });
    }
    // The same, watched by no one.
    ResultSet fetchAll(const std::string& commandText, std::span<const FieldDecl> declared) {
        WorkControl unwatched;
        return fetchAll(commandText, declared, unwatched);
    }
};
