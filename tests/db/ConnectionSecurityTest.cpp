#include "db/Connection.h"
#include "support/tds/TdsServer.h"
#include "support/tds/TdsTable.h"
#include "support/tds/TestCertificates.h"

#include <gtest/gtest.h>

#include <string>

// Encrypted connections and Windows logins through FreeTDS to the TDS server of the tests,
// with certificates made for this run: what is accepted, what is refused, and what the user
// is told.
namespace {

// Every batch is answered with one row, 库存 = 42.
std::shared_ptr<const std::string> oneRow(const std::string&) {
    tds::Table table({{"库存", tds::Type::Int}});
    table.integer(42);
    return std::make_shared<const std::string>(table.finish());
}

// The server by the host name its certificates are made for.
ConnectionSettings mandatory(const TdsServer& server) {
    ConnectionSettings settings{"localhost," + std::to_string(server.port()), "erp_2026", "reader",
                                "只读;pw"};
    settings.encryption = Encryption::mandatory;
    settings.certificateAuthorityFile = testCertificate("ca.pem");
    return settings;
}

// Connects and runs a statement; the failure's kind when it fails.
std::optional<ConnectFailure> failureOf(const ConnectionSettings& settings) {
    try {
        const ResultSet rows = Connection::connect(settings)->fetchAll("SELECT 1", {});
        EXPECT_EQ(rows.column(0).integer(0), 42); // the row came through the session
        return std::nullopt;
    } catch (const ConnectError& error) {
        EXPECT_EQ(std::string(error.what()).find(settings.password), std::string::npos);
        EXPECT_EQ(error.reason(), connectFailureReason(error.failure()));
        return error.failure();
    }
}

} // namespace

TEST(ConnectionSecurity, MandatoryWithTheRightAuthorityEncryptsTheWholeSession) {
    TdsServer server(oneRow, encryptingWith("localhost"));
    EXPECT_EQ(failureOf(mandatory(server)), std::nullopt);
    ASSERT_EQ(server.logins().size(), 1U);
    EXPECT_TRUE(server.logins()[0].sessionEncrypted);
    EXPECT_EQ(server.logins()[0].password, "只读;pw");
    EXPECT_EQ(server.batches(), std::vector<std::string>{"SELECT 1"});
}

TEST(ConnectionSecurity, ACertificateThatCannotBeTrustedIsRefusedBeforeTheLogin) {
    TdsServer stranger(oneRow, encryptingWith("stranger"));
    EXPECT_EQ(failureOf(mandatory(stranger)), ConnectFailure::certificateUntrusted);
    EXPECT_EQ(connectFailureReason(ConnectFailure::certificateUntrusted), "服务器证书不受信任");
    TdsServer otherHost(oneRow, encryptingWith("other-host"));
    EXPECT_EQ(failureOf(mandatory(otherHost)), ConnectFailure::certificateHostName);
    // The system's authorities know nothing of the test's.
    ConnectionSettings system = mandatory(otherHost);
    system.certificateAuthorityFile.clear();
    EXPECT_EQ(failureOf(system), ConnectFailure::certificateUntrusted);
    EXPECT_TRUE(stranger.logins().empty());
    EXPECT_TRUE(otherHost.logins().empty());
}

TEST(ConnectionSecurity, TrustingTheServerCertificateAcceptsAnyAndStillEncrypts) {
    TdsServer stranger(oneRow, encryptingWith("stranger"));
    ConnectionSettings settings = mandatory(stranger);
    settings.trustServerCertificate = true;
    EXPECT_EQ(failureOf(settings), std::nullopt);
    ASSERT_EQ(stranger.logins().size(), 1U);
    EXPECT_TRUE(stranger.logins()[0].sessionEncrypted);
}

TEST(ConnectionSecurity, AServerThatCannotEncryptIsRefusedWhenEncryptionIsMandatory) {
    TdsServer plain(oneRow);
    EXPECT_EQ(failureOf(mandatory(plain)), ConnectFailure::serverCannotEncrypt);
    ConnectionSettings trusting = mandatory(plain);
    trusting.trustServerCertificate = true;
    EXPECT_EQ(failureOf(trusting), ConnectFailure::serverCannotEncrypt);
    EXPECT_TRUE(plain.logins().empty());
}

TEST(ConnectionSecurity, OptionalWorksWithServersThatInsistOnEncryptionAndThatHaveNone) {
    TdsServer insisting(oneRow, encryptingWith("stranger", true));
    ConnectionSettings settings = mandatory(insisting);
    settings.encryption = Encryption::optional;
    EXPECT_EQ(failureOf(settings), std::nullopt);
    ASSERT_EQ(insisting.logins().size(), 1U);
    EXPECT_TRUE(insisting.logins()[0].sessionEncrypted);
    TdsServer plain(oneRow);
    settings.server = plain.address();
    EXPECT_EQ(failureOf(settings), std::nullopt);
    ASSERT_EQ(plain.logins().size(), 1U);
    EXPECT_FALSE(plain.logins()[0].sessionEncrypted);
}

TEST(ConnectionSecurity, SettingsThatCannotBeCarriedOutAreToldAndNothingIsSent) {
    TdsServer server(oneRow, encryptingWith("localhost"));
    const auto told = [&](const ConnectionSettings& settings, const std::string& part) {
        try {
            Connection::connect(settings);
            ADD_FAILURE() << "connected with " << part;
        } catch (const ConnectError& error) {
            EXPECT_EQ(error.failure(), ConnectFailure::unusableSetting);
            EXPECT_NE(error.reason().find(part), std::string::npos) << error.reason();
        }
    };
    ConnectionSettings missing = mandatory(server);
    missing.certificateAuthorityFile = testCertificate("no-such.pem");
    told(missing, "no-such.pem");
    ConnectionSettings notOne = mandatory(server);
    notOne.certificateAuthorityFile = testCertificate("not-a-certificate.pem");
    told(notOne, "没有证书");
    ConnectionSettings strict = mandatory(server);
    strict.encryption = Encryption::strict;
    told(strict, "严格");
    ConnectionSettings windows = mandatory(server);
    windows.authentication = Authentication::windows;
    told(windows, "域\\用户名");
    EXPECT_TRUE(server.logins().empty());
}

TEST(ConnectionSecurity, AWrongLoginAndAnAbsentServerAreToldApart) {
    TdsServer refusing(oneRow, {.refuseLogin = true});
    ConnectionSettings settings = mandatory(refusing);
    settings.encryption = Encryption::optional;
    EXPECT_EQ(failureOf(settings), ConnectFailure::loginRefused);
    settings.server = "127.0.0.1,1";
    EXPECT_EQ(failureOf(settings), ConnectFailure::unreachable);
}

TEST(ConnectionSecurity, AWindowsLoginOnLinuxIsADomainLoginThroughNtlm) {
    TdsServer server(oneRow);
    ConnectionSettings settings{server.address(), "erp_2026", "CORP\\wang", "域密码"};
    settings.authentication = Authentication::windows;
    // The test server has no domain to ask: it refuses, as SQL Server refuses an untrusted one.
    EXPECT_EQ(failureOf(settings), ConnectFailure::loginRefused);
    ASSERT_EQ(server.logins().size(), 1U);
    const TdsServer::Login login = server.logins()[0];
    EXPECT_TRUE(login.integrated);
    EXPECT_TRUE(login.user.empty()); // no SQL Server login, no password in the log-in
    EXPECT_TRUE(login.password.empty());
    // An NTLM negotiation that names the domain.
    EXPECT_EQ(login.securityToken.substr(0, 9), std::string("NTLMSSP\0\x01", 9));
    EXPECT_NE(login.securityToken.find("CORP"), std::string::npos);
    // No user: the Kerberos ticket, which this machine has none of.
    settings.user.clear();
    EXPECT_EQ(failureOf(settings), ConnectFailure::kerberosFailed);
    EXPECT_EQ(server.logins().size(), 1U); // nothing sent without one
}
