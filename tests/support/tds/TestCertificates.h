#pragma once

#include "TdsServer.h"

#include <string>

// The certificates that make-test-certificates.sh made for this test run.
inline std::string testCertificate(const std::string& name) {
    return std::string(STOCKQUERY_TEST_CERTIFICATES) + "/" + name;
}

// A server that encrypts with the named certificate and its key, insisting on it or not.
inline TdsServerOptions encryptingWith(const std::string& name, bool required = false) {
    TdsServerOptions options;
    options.encryption =
        required ? TdsServerOptions::Encryption::required : TdsServerOptions::Encryption::supported;
    options.certificateFile = testCertificate(name + ".pem");
    options.keyFile = testCertificate(name + ".key");
    return options;
}
