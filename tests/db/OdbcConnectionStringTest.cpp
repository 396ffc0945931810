#include "db/odbc/OdbcConnectionString.h"
#include "db/ConnectError.h"
#include "db/odbc/OdbcDrivers.h"
#include "result/DbError.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

TEST(OdbcConnectionString, BracesEveryValueAsTheDriverReadsBraces) {
    EXPECT_EQ(bracedOdbcValue("a;b=c}d"), "{a;b=c}}d}");
    EXPECT_EQ(bracedOdbcValue(""), "{}");
    EXPECT_EQ(bracedFreeTdsValue("a;b=c}d}"), "{a;b=c}d}}");
    EXPECT_THROW(bracedFreeTdsValue("a};UID=x"), DbError);
#ifndef _WIN32
    const std::string text = sqlServerOdbcConnectionString({"db1", "erp;x=1", "sa", "p;w}d=x}"});
    EXPECT_NE(text.find(";DATABASE={erp;x=1};"), std::string::npos) << text;
    EXPECT_NE(text.find(";UID={sa};"), std::string::npos) << text;
    EXPECT_NE(text.find(";PWD={p;w}d=x}};"), std::string::npos) << text;
    EXPECT_THROW(sqlServerOdbcConnectionString({"db1", "d", "sa", "x};UID=evil"}), DbError);
#endif
}

TEST(OdbcConnectionString, ReadsTheServerFormsOfSqlServerTools) {
    auto address = parseSqlServerAddress("erp-db");
    EXPECT_EQ(address.host, "erp-db");
    EXPECT_FALSE(address.port);
    address = parseSqlServerAddress("10.0.0.5,14330");
    EXPECT_EQ(address.host, "10.0.0.5");
    EXPECT_EQ(address.port, 14330);
    address = parseSqlServerAddress("tcp:erp-db,1500");
    EXPECT_EQ(address.host, "erp-db");
    EXPECT_EQ(address.port, 1500);
    address = parseSqlServerAddress("erp-db\\ERPSQL");
    EXPECT_EQ(address.host, "erp-db");
    EXPECT_EQ(address.instance, "ERPSQL");
    address = parseSqlServerAddress("erp-db,notaport");
    EXPECT_EQ(address.host, "erp-db,notaport");
    EXPECT_FALSE(address.port);
}

#ifndef _WIN32
TEST(OdbcConnectionString, PassesFreeTdsEitherTheInstanceOrThePort) {
    EXPECT_NE(sqlServerOdbcConnectionString({"h\\inst", "d", "u", ""}).find("SERVER={h\\inst};"),
              std::string::npos);
    const std::string both = sqlServerOdbcConnectionString({"h\\inst,1600", "d", "u", ""});
    EXPECT_NE(both.find("SERVER={h};PORT=1600;"), std::string::npos) << both;
    EXPECT_NE(sqlServerOdbcConnectionString({"h", "d", "u", ""}).find("SERVER={h};PORT=1433;"),
              std::string::npos);
}
#endif

namespace {

ConnectionSettings withSecurity(Encryption encryption, bool trust = false,
                                Authentication authentication = Authentication::sqlServer) {
    ConnectionSettings settings{"erp-db\\ERP,1500", "erp", "sa", "pw"};
    settings.encryption = encryption;
    settings.trustServerCertificate = trust;
    settings.authentication = authentication;
    return settings;
}

std::string unusableReason(const std::function<void()>& build) {
    try {
        build();
    } catch (const ConnectError& error) {
        EXPECT_EQ(error.failure(), ConnectFailure::unusableSetting);
        return error.reason();
    }
    return "built";
}

} // namespace

TEST(OdbcConnectionString, PicksTheNewestMicrosoftDriverInstalled) {
    EXPECT_EQ(newestSqlServerDriver({"SQL Server", "ODBC Driver 17 for SQL Server",
                                     "ODBC Driver 18 for SQL Server", "Oracle"}),
              "ODBC Driver 18 for SQL Server");
    EXPECT_EQ(newestSqlServerDriver(
                  {"SQL Server Native Client 11.0", "SQL Server", "ODBC Driver 17 for SQL Server"}),
              "ODBC Driver 17 for SQL Server");
    EXPECT_EQ(newestSqlServerDriver({"SQL Server", "SQL Server Native Client 11.0"}),
              "SQL Server Native Client 11.0");
    EXPECT_EQ(newestSqlServerDriver({"SQL Server"}), "SQL Server");
    EXPECT_EQ(newestSqlServerDriver({}), "SQL Server");
    // The driver manager's own list, read for real: this machine's FreeTDS and SQLite.
#ifndef _WIN32
    const auto installed = installedOdbcDrivers();
    EXPECT_NE(std::find(installed.begin(), installed.end(), "FreeTDS"), installed.end());
#endif
}

TEST(OdbcConnectionString, EachMicrosoftDriverGetsTheSettingsInItsOwnKeywords) {
    const std::string common = "SERVER={erp-db\\ERP,1500};DATABASE={erp};UID={sa};PWD={pw}";
    const std::string v18 = "DRIVER={ODBC Driver 18 for SQL Server};" + common;
    EXPECT_EQ(microsoftConnectionString(withSecurity(Encryption::optional),
                                        "ODBC Driver 18 for SQL Server"),
              v18 + ";Encrypt=Optional;TrustServerCertificate=No;ApplicationIntent=ReadOnly");
    EXPECT_EQ(microsoftConnectionString(withSecurity(Encryption::mandatory, true),
                                        "ODBC Driver 18 for SQL Server"),
              v18 + ";Encrypt=Mandatory;TrustServerCertificate=Yes;ApplicationIntent=ReadOnly");
    EXPECT_EQ(microsoftConnectionString(withSecurity(Encryption::strict),
                                        "ODBC Driver 18 for SQL Server"),
              v18 + ";Encrypt=Strict;TrustServerCertificate=No;ApplicationIntent=ReadOnly");
    for (const char* driver : {"ODBC Driver 17 for SQL Server", "SQL Server Native Client 11.0"}) {
        const std::string head = "DRIVER={" + std::string(driver) + "};" + common;
        EXPECT_EQ(microsoftConnectionString(withSecurity(Encryption::optional), driver),
                  head + ";Encrypt=No;TrustServerCertificate=No;ApplicationIntent=ReadOnly");
        EXPECT_EQ(microsoftConnectionString(withSecurity(Encryption::mandatory, true), driver),
                  head + ";Encrypt=Yes;TrustServerCertificate=Yes;ApplicationIntent=ReadOnly");
        EXPECT_NE(unusableReason([&] {
                      microsoftConnectionString(withSecurity(Encryption::strict), driver);
                  }).find("严格"),
                  std::string::npos);
    }
    EXPECT_EQ(microsoftConnectionString(withSecurity(Encryption::optional), "SQL Server"),
              "DRIVER={SQL Server};" + common + ";ApplicationIntent=ReadOnly");
    EXPECT_NE(unusableReason([] {
                  microsoftConnectionString(withSecurity(Encryption::mandatory), "SQL Server");
              }).find("不能要求加密"),
              std::string::npos);
    // Windows logins: the user's own, no name or password passed.
    EXPECT_EQ(microsoftConnectionString(
                  withSecurity(Encryption::mandatory, false, Authentication::windows),
                  "ODBC Driver 18 for SQL Server"),
              "DRIVER={ODBC Driver 18 for SQL Server};SERVER={erp-db\\ERP,1500};DATABASE={erp};"
              "Trusted_Connection=Yes;Encrypt=Mandatory;TrustServerCertificate=No;"
              "ApplicationIntent=ReadOnly");
    ConnectionSettings withFile = withSecurity(Encryption::mandatory);
    withFile.certificateAuthorityFile = "C:\\ca.pem";
    EXPECT_NE(unusableReason([&] {
                  microsoftConnectionString(withFile, "ODBC Driver 18 for SQL Server");
              }).find("受信任的根证书颁发机构"),
              std::string::npos);
}

TEST(OdbcConnectionString, FreeTdsChecksCertificatesThroughASectionOfItsOwnFile) {
    std::vector<std::string> sections;
    const FreeTdsSections keep = [&](const std::string& lines) {
        sections.push_back(lines);
        return "section" + std::to_string(sections.size());
    };
    ConnectionSettings settings = withSecurity(Encryption::mandatory);
    settings.certificateAuthorityFile = "/etc/erp/ca.pem";
    EXPECT_EQ(freeTdsConnectionString(settings, keep),
              "DRIVER={FreeTDS};SERVERNAME={section1};TDS_Version=7.4;ClientCharset=UTF-8;"
              "Encryption=require;DATABASE={erp};UID={sa};PWD={pw};ApplicationIntent=ReadOnly");
    settings.server = "erp-db\\ERP";
    settings.certificateAuthorityFile.clear();
    freeTdsConnectionString(settings, keep);
    ASSERT_EQ(sections.size(), 2U);
    EXPECT_EQ(sections[0], "host = erp-db\nport = 1500\nca file = /etc/erp/ca.pem\n"
                           "check certificate hostname = yes\n");
    EXPECT_EQ(sections[1], "host = erp-db\ninstance = ERP\nca file = system\n"
                           "check certificate hostname = yes\n");
    // Trusted, or optional: no section, the address itself.
    EXPECT_EQ(freeTdsConnectionString(withSecurity(Encryption::mandatory, true), keep),
              "DRIVER={FreeTDS};SERVER={erp-db};PORT=1500;TDS_Version=7.4;ClientCharset=UTF-8;"
              "Encryption=require;DATABASE={erp};UID={sa};PWD={pw};ApplicationIntent=ReadOnly");
    EXPECT_EQ(freeTdsConnectionString(withSecurity(Encryption::optional), keep),
              "DRIVER={FreeTDS};SERVER={erp-db};PORT=1500;TDS_Version=7.4;ClientCharset=UTF-8;"
              "DATABASE={erp};UID={sa};PWD={pw};ApplicationIntent=ReadOnly");
    EXPECT_EQ(sections.size(), 2U);
    // A line break cannot add lines of its own to the section.
    settings.certificateAuthorityFile = "ca.pem\nhost = evil";
    EXPECT_NE(unusableReason([&] { freeTdsConnectionString(settings, keep); }).find("换行"),
              std::string::npos);
    // Windows logins: a domain login by name and password (NTLM), or Kerberos without a name.
    ConnectionSettings domain = withSecurity(Encryption::optional, false, Authentication::windows);
    domain.user = "CORP\\wang";
    EXPECT_NE(freeTdsConnectionString(domain, keep).find(";UID={CORP\\wang};PWD={pw};"),
              std::string::npos);
    domain.user.clear();
    const std::string kerberos = freeTdsConnectionString(domain, keep);
    EXPECT_NE(kerberos.find(";Trusted_Connection=Yes;"), std::string::npos);
    EXPECT_EQ(kerberos.find("UID="), std::string::npos);
}
