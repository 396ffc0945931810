#pragma once

#include "result/DbError.h"

#include <string>

// Why a connection could not be made, as far as the driver tells it.
enum class ConnectFailure {
    other,
    unreachable,          // no server answered at that address
    loginRefused,         // wrong login or password, or no access to the database
    encryptionFailed,     // the encrypted start failed; see the kinds below when known
    certificateUntrusted, // the server's certificate is not from a trusted authority
    certificateHostName,  // the certificate is for another host name
    serverCannotEncrypt,  // encryption was required and the server has none
    kerberosFailed,       // a Windows login by ticket, and no valid ticket
    unusableSetting,      // a setting that this driver cannot carry out or a bad file
};

// A connection that could not be made: what() for developers and logs, reason() for the
// user, in Chinese.
class ConnectError : public DbError {
public:
    ConnectError(ConnectFailure failure, const std::string& reason, const std::string& what)
        : DbError(what), failure_(failure), reason_(reason) {}

    ConnectFailure failure() const { return failure_; }
    const std::string& reason() const { return reason_; }

private:
    ConnectFailure failure_;
    std::string reason_;
};

// The reason shown for each kind that has one of its own.
std::string connectFailureReason(ConnectFailure failure);
