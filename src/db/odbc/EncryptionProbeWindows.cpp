#include "EncryptionProbe.h"

// The Microsoft drivers name the cause of a failed encrypted start themselves, and check
// certificates against the system's store alone.
ConnectFailure probeEncryption(const ConnectionSettings&, int) {
    return ConnectFailure::encryptionFailed;
}

void checkCertificateAuthorityFile(const ConnectionSettings&) {}
