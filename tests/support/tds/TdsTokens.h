#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The tokens of a server's answer that are not rows: log-in acknowledgement, environment
// changes, errors and the DONE that ends every answer.
namespace tds {

inline constexpr std::uint16_t kDoneError = 0x0002;
inline constexpr std::uint16_t kDoneCount = 0x0010;
inline constexpr std::uint16_t kDoneAttention = 0x0020;

// Chinese_PRC_CI_AS: LCID 0x0804 (code page 936), case-, kana- and width-insensitive.
inline constexpr char kChinesePrcCollation[5] = {0x04, 0x08, static_cast<char>(0xD0), 0x00, 0x00};

std::string doneToken(std::uint16_t status, std::uint64_t rowCount);
std::string errorToken(std::int32_t number, std::uint8_t severity, std::string_view message);
// ENVCHANGE (database, collation, packet size) and LOGINACK for TDS 7.4.
std::string loginAcceptedTokens(std::string_view database, int packetSize);
// A failed log-in as SQL Server answers one: error 18456 and DONE with the error flag.
std::string loginRefusedTokens(std::string_view user);
// A Windows login that the server cannot check, as SQL Server refuses one: error 18452.
std::string untrustedDomainTokens();

} // namespace tds
