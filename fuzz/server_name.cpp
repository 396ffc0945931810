// The connection's settings as typed (a server in any of its forms, a database, a login, a
// password, any bytes): each connection string built for FreeTDS and for every Microsoft
// driver reads back, as that driver reads it, as the same attributes once each, the values
// exactly as typed; FreeTDS's own configuration lines stay the lines they are meant to be.
#include "db/ConnectError.h"
#include "db/odbc/OdbcConnectionString.h"
#include "result/DbError.h"

#include <cstdlib>
#include <map>

namespace {

using Attributes = std::map<std::string, std::string>;

// Reads "KEY=value;KEY={braced};…". `doubled`: "}}" in braces stands for "}" (the Microsoft
// drivers); otherwise a braced value runs verbatim to the first "};" or the end (FreeTDS).
Attributes readAttributes(const std::string& text, bool doubled) {
    Attributes read;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t equals = text.find('=', at);
        if (equals == std::string::npos)
            std::abort();
        const std::string key = text.substr(at, equals - at);
        std::string value;
        at = equals + 1;
        if (at < text.size() && text[at] == '{') {
            ++at;
            if (doubled) {
                for (;; ++at) {
                    if (at >= text.size())
                        std::abort(); // braces never closed
                    if (text[at] == '}' && (at + 1 >= text.size() || text[at + 1] != '}'))
                        break;
                    value += text[at];
                    at += text[at] == '}';
                }
                ++at;
            } else {
                std::size_t end = text.find("};", at);
                if (end == std::string::npos) {
                    end = text.size() - 1;
                    if (text.back() != '}')
                        std::abort();
                }
                value = text.substr(at, end - at);
                at = end + 1;
            }
        } else {
            const std::size_t end = std::min(text.find(';', at), text.size());
            value = text.substr(at, end - at);
            at = end;
        }
        if (at < text.size() && text[at++] != ';')
            std::abort(); // something after a braced value
        if (!read.emplace(key, value).second)
            std::abort(); // an attribute given twice
    }
    return read;
}

void sameLogin(const Attributes& read, const ConnectionSettings& settings) {
    if (read.at("DATABASE") != settings.database || read.at("UID") != settings.user ||
        read.at("PWD") != settings.password || read.at("ApplicationIntent") != "ReadOnly")
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    if (size < 1)
        return 0;
    std::vector<std::string> fields(5);
    std::size_t field = 0;
    for (std::size_t i = 1; i < size; ++i)
        if (data[i] == 0 && field + 1 < fields.size())
            ++field;
        else
            fields[field] += static_cast<char>(data[i]);
    ConnectionSettings settings{fields[0], fields[1], fields[2], fields[3]};
    settings.encryption = static_cast<Encryption>(data[0] % 3);
    settings.trustServerCertificate = data[0] & 4;
    settings.certificateAuthorityFile = data[0] & 8 ? fields[4] : "";
    const SqlServerAddress address = parseSqlServerAddress(settings.server);
    if (address.port && (*address.port <= 0 || *address.port >= 65536))
        std::abort();
    try {
        const std::string text = freeTdsConnectionString(settings, [&](const std::string& lines) {
            // host, then instance or port, then the authority and the host name check.
            std::size_t count = 0;
            for (std::size_t at = 0; at < lines.size(); at = lines.find('\n', at) + 1) {
                const std::string line = lines.substr(at, lines.find('\n', at) - at);
                if (!line.starts_with("host = ") && !line.starts_with("instance = ") &&
                    !line.starts_with("port = ") && !line.starts_with("ca file = ") &&
                    line != "check certificate hostname = yes")
                    std::abort();
                ++count;
            }
            if (count != 4)
                std::abort();
            return std::string("fuzz-section");
        });
        sameLogin(readAttributes(text, false), settings);
    } catch (const ConnectError&) {
    } catch (const DbError&) {
    }
    for (const std::string_view driver : kMicrosoftSqlServerDrivers) {
        try {
            const Attributes read =
                readAttributes(microsoftConnectionString(settings, driver), true);
            sameLogin(read, settings);
            if (read.at("DRIVER") != driver)
                std::abort();
        } catch (const ConnectError&) {
        }
    }
    return 0;
}
