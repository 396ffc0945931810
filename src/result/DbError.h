#pragma once

#include <stdexcept>
#include <string>

// The one error kind of the data layer. Its text is the backend's diagnostic, meant for
// developers (tests, debugger); windows catch it and show their own fixed texts.
class DbError : public std::runtime_error {
public:
    explicit DbError(const std::string& what, bool connectionLost = false)
        : std::runtime_error(what), connectionLost_(connectionLost) {}

    // The session with the server is gone (a communication-link failure, a closed socket), so
    // the same statement may well succeed on a new connection. Refused statements are not.
    bool connectionLost() const { return connectionLost_; }

private:
    bool connectionLost_;
};

// The session with the server was lost during a statement and no new one could be made while
// the connection's patience lasted: the server is out of reach, not the statement at fault.
class ServerUnreachable : public DbError {
public:
    explicit ServerUnreachable(const std::string& what) : DbError(what, true) {}
};
