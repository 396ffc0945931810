#include "OdbcConnectionString.h"

#include "OdbcDrivers.h"
#include "db/ConnectError.h"
#include "result/DbError.h"

#include <algorithm>
#include <charconv>

#ifndef _WIN32
#include "FreeTdsConfig.h"
#endif

namespace {

[[noreturn]] void unusable(const std::string& reason, const std::string& what) {
    throw ConnectError(ConnectFailure::unusableSetting, reason, what);
}

std::string loginPart(const ConnectionSettings& settings, std::string (*braced)(std::string_view)) {
    return ";UID=" + braced(settings.user) + ";PWD=" + braced(settings.password);
}

} // namespace

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

std::string freeTdsConnectionString(const ConnectionSettings& settings,
                                    const FreeTdsSections& sectionNamed) {
    if (settings.encryption == Encryption::strict)
        unusable("FreeTDS 1.3 不支持“严格”加密（TDS 8），请选择“必需”",
                 "FreeTDS 1.3 cannot encrypt strictly (TDS 8)");
    const bool windowsLogin = settings.authentication == Authentication::windows;
    if (windowsLogin && !settings.user.empty() && settings.user.find('\\') == std::string::npos)
        unusable("Windows 身份验证的用户名应写作“域\\用户名”；留空则用当前的 Kerberos 票据",
                 "a Windows login needs DOMAIN\\user, or no user for Kerberos");
    const SqlServerAddress address = parseSqlServerAddress(settings.server);
    const auto braced = bracedFreeTdsValue;
    std::string text = "DRIVER={FreeTDS};";
    const bool checked =
        settings.encryption == Encryption::mandatory && !settings.trustServerCertificate;
    if (checked) {
        // The authority and the host name check reach FreeTDS only through its own file.
        if ((settings.server + settings.certificateAuthorityFile).find_first_of("\r\n") !=
            std::string::npos)
            unusable("服务器名称或证书文件名中不能有换行",
                     "a line break in the server or file name");
        std::string lines = "host = " + address.host + "\n";
        if (!address.instance.empty() && !address.port)
            lines += "instance = " + address.instance + "\n";
        else
            lines += "port = " + std::to_string(address.port.value_or(1433)) + "\n";
        lines += "ca file = " +
                 (settings.certificateAuthorityFile.empty() ? std::string("system")
                                                            : settings.certificateAuthorityFile) +
                 "\ncheck certificate hostname = yes\n";
        text += "SERVERNAME=" + braced(sectionNamed(lines));
    } else if (!address.instance.empty() && !address.port) {
        // FreeTDS takes either an instance (looked up through the browser service) or a port.
        text += "SERVER=" + braced(address.host + "\\" + address.instance);
    } else {
        text += "SERVER=" + braced(address.host) +
                ";PORT=" + std::to_string(address.port.value_or(1433));
    }
    text += ";TDS_Version=7.4;ClientCharset=UTF-8";
    if (settings.encryption == Encryption::mandatory)
        text += ";Encryption=require";
    text += ";DATABASE=" + braced(settings.database);
    if (windowsLogin && settings.user.empty())
        text += ";Trusted_Connection=Yes";
    else
        text += loginPart(settings, braced);
    return text + ";ApplicationIntent=ReadOnly";
}

std::string newestSqlServerDriver(const std::vector<std::string>& installed) {
    for (const std::string_view driver : kMicrosoftSqlServerDrivers)
        if (std::find(installed.begin(), installed.end(), driver) != installed.end())
            return std::string(driver);
    return std::string(kMicrosoftSqlServerDrivers[std::size(kMicrosoftSqlServerDrivers) - 1]);
}

std::string microsoftConnectionString(const ConnectionSettings& settings, std::string_view driver) {
    const bool driver18 = driver == kMicrosoftSqlServerDrivers[0];
    const bool legacy = driver == kMicrosoftSqlServerDrivers[3];
    const std::string named = "驱动“" + std::string(driver) + "”";
    if (settings.encryption == Encryption::strict && !driver18)
        unusable(named + "不支持“严格”加密，请安装 ODBC Driver 18 for SQL Server",
                 std::string(driver) + " cannot encrypt strictly");
    if (!settings.certificateAuthorityFile.empty())
        unusable("Windows 上请把证书颁发机构的证书导入“受信任的根证书颁发机构”，证书文件留空",
                 "Windows drivers check certificates against the system's store alone");
    if (legacy && settings.encryption != Encryption::optional)
        unusable(named + "不能要求加密，请安装 ODBC Driver 18 for SQL Server",
                 "the SQL Server driver of Windows cannot be made to encrypt");
    // The server typed in any of its forms goes to the driver whole.
    const SqlServerAddress address = parseSqlServerAddress(settings.server);
    std::string server = address.host;
    if (!address.instance.empty())
        server += "\\" + address.instance;
    if (address.port)
        server += "," + std::to_string(*address.port);
    const auto braced = bracedOdbcValue;
    std::string text = "DRIVER=" + braced(driver) + ";SERVER=" + braced(server) +
                       ";DATABASE=" + braced(settings.database);
    if (settings.authentication == Authentication::windows)
        text += ";Trusted_Connection=Yes";
    else
        text += loginPart(settings, braced);
    if (driver18) // it encrypts unless told otherwise
        text += settings.encryption == Encryption::optional    ? ";Encrypt=Optional"
                : settings.encryption == Encryption::mandatory ? ";Encrypt=Mandatory"
                                                               : ";Encrypt=Strict";
    else if (!legacy)
        text += settings.encryption == Encryption::optional ? ";Encrypt=No" : ";Encrypt=Yes";
    if (!legacy)
        text += settings.trustServerCertificate ? ";TrustServerCertificate=Yes"
                                                : ";TrustServerCertificate=No";
    return text + ";ApplicationIntent=ReadOnly";
}

std::string sqlServerOdbcConnectionString(const ConnectionSettings& settings) {
#ifdef _WIN32
    return microsoftConnectionString(settings, newestSqlServerDriver(installedOdbcDrivers()));
#else
    return freeTdsConnectionString(settings, freeTdsSection);
#endif
}
