#include "settings/DBLinkInfo.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

class SettingsStore : public ::testing::Test {
protected:
    void SetUp() override { setenv("STOCKQUERY_SETTINGS_ROOT", root_.path().c_str(), 1); }
    void TearDown() override { unsetenv("STOCKQUERY_SETTINGS_ROOT"); }

    fs::path keyFile() const { return root_ / "SOFTWARE/QARVO/TOLMA/DBLinkInfo.reg"; }

    void writeKeyFile(const std::string& values) {
        fs::create_directories(keyFile().parent_path());
        std::ofstream(keyFile()) << "[HKEY_LOCAL_MACHINE\\SOFTWARE\\QARVO\\TOLMA\\DBLinkInfo]\n"
                                 << values;
    }

    std::string keyText() const {
        std::ifstream in(keyFile());
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    TempDir root_;
};

const ConnectionSettings kStored{"erp-db,1433", "erp_2026", "sa", "secret"};

} // namespace

TEST_F(SettingsStore, FirstReadCreatesTheKeyEmpty) {
    ConnectionSettings read{"x", "x", "x", "x"};
    EXPECT_TRUE(loadDBLinkInfo(read));
    EXPECT_EQ(read, ConnectionSettings{});
    EXPECT_TRUE(fs::exists(keyFile()));
}

TEST_F(SettingsStore, WrittenValuesReadBackExactlyWithOwnerOnlyRights) {
    const ConnectionSettings values{"服务器\\实例", "库 \"一\"", "sa;x=}", "p\tw\\d"};
    ASSERT_TRUE(writeDBLinkInfo(values));
    ConnectionSettings read;
    EXPECT_TRUE(readDBLinkInfo(read));
    EXPECT_EQ(read, values);
    EXPECT_EQ(fs::status(keyFile()).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(SettingsStore, AnEmptyPasswordIsStoredAsAnEmptyValue) {
    ASSERT_TRUE(writeDBLinkInfo({"s", "d", "u", ""}));
    EXPECT_NE(keyText().find("\"dbpassword\"=\"\"\n"), std::string::npos) << keyText();
}

TEST_F(SettingsStore, AValueOfAnotherTypeStopsTheTransferThere) {
    writeKeyFile("\"dbserver\"=\"srv\"\n\"dbdatabase\"=dword:0000000c\n\"dbuser\"=\"sa\"\n"
                 "\"dbpassword\"=\"pw\"\n");
    ConnectionSettings loaded;
    EXPECT_FALSE(loadDBLinkInfo(loaded)); // user is read before the database
    EXPECT_EQ(loaded, (ConnectionSettings{"", "", "sa", ""}));

    ConnectionSettings boxes{"a", "b", "c", "d"};
    EXPECT_FALSE(readDBLinkInfo(boxes)); // server is read before the database
    EXPECT_EQ(boxes, (ConnectionSettings{"srv", "b", "c", "d"}));
}

TEST_F(SettingsStore, ExpandableStringsReadAsTextUpToTheirFirstZero) {
    // "A中" then a zero character and a stray "B"
    writeKeyFile("\"dbuser\"=hex(2):41,00,2d,4e,00,00,42,00\n");
    ConnectionSettings loaded;
    EXPECT_TRUE(loadDBLinkInfo(loaded));
    EXPECT_EQ(loaded.user, "A中");
}

TEST_F(SettingsStore, ACorruptKeyIsAnErrorAndIsLeftAsItIs) {
    writeKeyFile("\"dbuser\"=\"sa\"\nthis is not a value line\n");
    const std::string before = keyText();
    ConnectionSettings loaded;
    EXPECT_FALSE(loadDBLinkInfo(loaded));
    EXPECT_EQ(loaded, ConnectionSettings{});
    EXPECT_FALSE(writeDBLinkInfo(kStored));
    EXPECT_EQ(keyText(), before);
}

TEST_F(SettingsStore, WithoutRightsNothingIsReadOrWrittenAndNothingFails) {
    ASSERT_TRUE(writeDBLinkInfo(kStored));
    const fs::path otherRoot = root_ / "unwritable";
    fs::create_directories(otherRoot);
    using fs::perms;
    const perms readAndEnter = perms::owner_read | perms::owner_exec | perms::group_read |
                               perms::group_exec | perms::others_read | perms::others_exec;
    fs::permissions(otherRoot, readAndEnter);
    fs::permissions(root_.path(), readAndEnter | perms::owner_write);
    fs::permissions(keyFile(), perms::none);
    // A user who may neither open the existing key nor create one elsewhere (root passes
    // every permission check, so it becomes nobody for this).
    const int status = runInChild([&] {
        if (geteuid() == 0 && setuid(65534) != 0)
            return 10;
        ConnectionSettings loaded{"keep", "keep", "keep", "keep"};
        if (!loadDBLinkInfo(loaded) || loaded != ConnectionSettings{"keep", "keep", "keep", "keep"})
            return 11;
        if (!writeDBLinkInfo({"s", "d", "u", "p"}))
            return 12;
        setenv("STOCKQUERY_SETTINGS_ROOT", otherRoot.c_str(), 1);
        if (!loadDBLinkInfo(loaded) || fs::exists(otherRoot / "SOFTWARE"))
            return 13;
        return 0;
    });
    EXPECT_EQ(status, 0);
    fs::permissions(keyFile(), perms::owner_read | perms::owner_write);
    ConnectionSettings read;
    EXPECT_TRUE(loadDBLinkInfo(read));
    EXPECT_EQ(read, kStored);
}

TEST_F(SettingsStore, AFullDiskKeepsTheValuesStoredBefore) {
    ASSERT_TRUE(writeDBLinkInfo(kStored));
    const auto sizeAfterTwoValues = [&] {
        TempDir scratch;
        setenv("STOCKQUERY_SETTINGS_ROOT", scratch.path().c_str(), 1);
        writeDBLinkInfo({"new-server", "new-database", kStored.user, kStored.password});
        const auto size = fs::file_size(scratch / "SOFTWARE/QARVO/TOLMA/DBLinkInfo.reg");
        setenv("STOCKQUERY_SETTINGS_ROOT", root_.path().c_str(), 1);
        return size;
    }();
    // Room for the file with the new server and database, not for the longer user that
    // follows: the first two values are stored, the write of the third fails.
    const int status = runInChild([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlim_t limit = sizeAfterTwoValues + 4;
        const rlimit fileSize{limit, limit};
        setrlimit(RLIMIT_FSIZE, &fileSize);
        return writeDBLinkInfo({"new-server", "new-database", std::string(200, 'u'), "p"}) ? 1 : 0;
    });
    EXPECT_EQ(status, 0);
    ConnectionSettings read;
    EXPECT_TRUE(readDBLinkInfo(read));
    EXPECT_EQ(read, (ConnectionSettings{"new-server", "new-database", "sa", "secret"}));
    EXPECT_FALSE(fs::exists(keyFile().string() + ".tmp"));
}

TEST_F(SettingsStore, TheSecuritySettingsLieBesideTheFourAndReadAsBeforeWhenAbsent) {
    ConnectionSettings values = kStored;
    values.authentication = Authentication::windows;
    values.encryption = Encryption::strict;
    values.trustServerCertificate = true;
    values.certificateAuthorityFile = "/etc/erp/证书.pem";
    values.rememberPassword = false;
    ASSERT_TRUE(writeDBLinkInfo(values));
    EXPECT_NE(keyText().find("\"dbserver\"=\"erp-db,1433\"\n\"dbdatabase\"=\"erp_2026\"\n"
                             "\"dbuser\"=\"sa\"\n\"dbpassword\"=\"\"\n"),
              std::string::npos)
        << keyText(); // the four where they were; the password not remembered
    ConnectionSettings read;
    ASSERT_TRUE(loadDBLinkInfo(read));
    values.password.clear();
    EXPECT_EQ(read, values);
    // A key of before: the four alone read as the program behaved then.
    writeKeyFile("\"dbserver\"=\"s\"\n\"dbdatabase\"=\"d\"\n\"dbuser\"=\"u\"\n"
                 "\"dbpassword\"=\"p\"\n");
    ASSERT_TRUE(readDBLinkInfo(read));
    EXPECT_EQ(read, (ConnectionSettings{"s", "d", "u", "p"}));
    // An encryption word not known asks for more, never for less.
    writeKeyFile("\"dbuser\"=\"u\"\n\"dbencrypt\"=\"sometimes\"\n");
    ASSERT_TRUE(readDBLinkInfo(read));
    EXPECT_EQ(read.encryption, Encryption::mandatory);
}
