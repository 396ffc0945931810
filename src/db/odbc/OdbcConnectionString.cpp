#include "OdbcConnectionString.h"

#include "result/DbError.h"

#include <charconv>

std::string bracedOdbcValue(std::string_view value) {
    std::string out = "{";
    for (char c : value) {
        out += c;
        if (c == '}')
            out += '}';
    }
    out += '}';
    return out;
}

std::string bracedFreeTdsValue(std::string_view value) {
    if (value.find("};") != std::string_view::npos)
        throw DbError("a connection value holding \"};\" cannot be passed to FreeTDS");
    return "{" + std::string(value) + "}";
}

SqlServerAddress parseSqlServerAddress(std::string_view server) {
    SqlServerAddress address;
    if (server.size() >= 4 && (server.substr(0, 4) == "tcp:" || server.substr(0, 4) == "TCP:"))
        server.remove_prefix(4);
    if (const std::size_t comma = server.rfind(','); comma != std::string_view::npos) {
        const std::string_view portText = server.substr(comma + 1);
        int port = 0;
        const auto [end, error] =
            std::from_chars(portText.data(), portText.data() + portText.size(), port);
        if (error == std::errc() && end == portText.data() + portText.size() && port > 0 &&
            port < 65536) {
            address.port = port;
            server = server.substr(0, comma);
        }
    }
    if (const std::size_t slash = server.find('\\'); slash != std::string_view::npos) {
        address.instance = std::string(server.substr(slash + 1));
        server = server.substr(0, slash);
    }
    address.host = std::string(server);
    return address;
}

std::string sqlServerOdbcConnectionString(const ConnectionSettings& settings) {
    const SqlServerAddress address = parseSqlServerAddress(settings.server);
#ifdef _WIN32
    // The system's driver takes "host\instance,port" whole.
    std::string server = address.host;
    if (!address.instance.empty())
        server += "\\" + address.instance;
    if (address.port)
        server += "," + std::to_string(*address.port);
    const auto braced = bracedOdbcValue;
    std::string text = "DRIVER={SQL Server};SERVER=" + braced(server);
#else
    // FreeTDS takes either an instance (looked up through the browser service) or a port.
    const auto braced = bracedFreeTdsValue;
    std::string text = "DRIVER={FreeTDS};SERVER=";
    if (!address.instance.empty() && !address.port) {
        text += braced(address.host + "\\" + address.instance);
    } else {
        text += braced(address.host);
        text += ";PORT=" + std::to_string(address.port.value_or(1433));
    }
    text += ";TDS_Version=7.4;ClientCharset=UTF-8";
#endif
    text += ";DATABASE=" + braced(settings.database);
    text += ";UID=" + braced(settings.user);
    text += ";PWD=" + braced(settings.password);
    text += ";ApplicationIntent=ReadOnly";
    return text;
}
