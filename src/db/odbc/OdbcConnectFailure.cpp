#include "OdbcConnectFailure.h"

#include <string_view>
#include <utility>

namespace {

constexpr long kSqlServerLoginFailed = 18456;
constexpr long kSqlServerUntrustedDomain = 18452; // a Windows login the server cannot check
constexpr long kFreeTdsCannotConnect = 20009;     // no server at the address
constexpr long kFreeTdsConnectFailed = 20002;     // the start failed; under TLS, its handshake

// The Microsoft drivers' texts, most telling first.
constexpr std::pair<std::string_view, ConnectFailure> kMicrosoftTexts[] = {
    {"issued by an authority that is not trusted", ConnectFailure::certificateUntrusted},
    {"target principal name is incorrect", ConnectFailure::certificateHostName},
    {"Encryption not supported", ConnectFailure::serverCannotEncrypt},
    {"SSL Provider", ConnectFailure::encryptionFailed},
    {"TCP Provider", ConnectFailure::unreachable},
    {"Named Pipes Provider", ConnectFailure::unreachable},
    {"does not exist or access denied", ConnectFailure::unreachable},
    {"Login timeout expired", ConnectFailure::unreachable},
};

} // namespace

ConnectFailure connectFailureOf(const std::vector<OdbcDiagnostic>& diagnostics) {
    for (const OdbcDiagnostic& record : diagnostics)
        if (record.nativeError == kSqlServerLoginFailed ||
            record.nativeError == kSqlServerUntrustedDomain || record.state == "28000")
            return ConnectFailure::loginRefused;
    for (const auto& [text, failure] : kMicrosoftTexts)
        for (const OdbcDiagnostic& record : diagnostics)
            if (record.message.find(text) != std::string::npos)
                return failure;
    for (const OdbcDiagnostic& record : diagnostics) {
        if (record.nativeError == kFreeTdsCannotConnect || record.state == "HYT00")
            return ConnectFailure::unreachable;
        if (record.nativeError == kFreeTdsConnectFailed)
            return ConnectFailure::encryptionFailed;
    }
    return ConnectFailure::other;
}
