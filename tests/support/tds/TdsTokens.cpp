#include "TdsTokens.h"

#include "TdsBytes.h"

namespace tds {

namespace {

constexpr unsigned kLoginAck = 0xAD;
constexpr unsigned kEnvChange = 0xE3;
constexpr unsigned kError = 0xAA;
constexpr unsigned kDone = 0xFD;
constexpr std::uint16_t kSelectCommand = 0xC1;

// A token whose body follows a two-byte length.
std::string withLength(unsigned token, const std::string& body) {
    std::string out;
    putU8(out, token);
    putLe<std::uint16_t>(out, static_cast<std::uint16_t>(body.size()));
    return out + body;
}

std::string envChangeText(unsigned type, std::string_view value) {
    std::string body;
    putU8(body, type);
    putBVarchar(body, value);
    putBVarchar(body, "");
    return withLength(kEnvChange, body);
}

} // namespace

std::string doneToken(std::uint16_t status, std::uint64_t rowCount) {
    std::string out;
    putU8(out, kDone);
    putLe<std::uint16_t>(out, status);
    putLe<std::uint16_t>(out, kSelectCommand);
    putLe<std::uint64_t>(out, rowCount);
    return out;
}

std::string errorToken(std::int32_t number, std::uint8_t severity, std::string_view message) {
    std::string body;
    putLe<std::int32_t>(body, number);
    putU8(body, 1); // state
    putU8(body, severity);
    putUsVarchar(body, message);
    putBVarchar(body, "TESTSERVER");
    putBVarchar(body, "");
    putLe<std::int32_t>(body, 1); // line
    return withLength(kError, body);
}

std::string loginAcceptedTokens(std::string_view database, int packetSize) {
    std::string out = envChangeText(1, database);
    std::string collation;
    putU8(collation, 7);
    putU8(collation, sizeof kChinesePrcCollation);
    collation.append(kChinesePrcCollation, sizeof kChinesePrcCollation);
    putU8(collation, 0);
    out += withLength(kEnvChange, collation);

    std::string ack;
    putU8(ack, 1);                             // T-SQL
    ack += std::string("\x74\x00\x00\x04", 4); // TDS 7.4
    putBVarchar(ack, "Microsoft SQL Server");
    ack += std::string("\x0F\x00\x07\xD0", 4); // 15.0.2000
    out += withLength(kLoginAck, ack);
    out += envChangeText(4, std::to_string(packetSize));
    return out + doneToken(0, 0);
}

std::string loginRefusedTokens(std::string_view user) {
    return errorToken(18456, 14, "Login failed for user '" + std::string(user) + "'.") +
           doneToken(kDoneError, 0);
}

std::string untrustedDomainTokens() {
    return errorToken(18452, 14,
                      "Login failed. The login is from an untrusted domain and cannot be used "
                      "with Integrated authentication.") +
           doneToken(kDoneError, 0);
}

} // namespace tds
