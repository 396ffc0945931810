#pragma once

#include "db/ConnectError.h"
#include "settings/ConnectionSettings.h"

// Why an encrypted start with the server failed, looked at again without logging in: the
// server's pre-login answer (it has no encryption) and its certificate checked against the
// authority and the host name, as the driver checks them. The driver itself only says that
// the start failed. Where the driver names the cause itself (the Microsoft drivers), or the
// probe learns nothing more, the answer is encryptionFailed.
ConnectFailure probeEncryption(const ConnectionSettings& settings, int timeoutSeconds);

// Throws ConnectError (unusableSetting) when the authority's certificate file of the settings
// is needed and cannot be read or holds no certificate.
void checkCertificateAuthorityFile(const ConnectionSettings& settings);
