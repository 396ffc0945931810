#include "settings/DBLinkInfo.h"
#include "settings/SettingsKey.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
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

    // This program's partial files in `folder`.
    static int partialFilesIn(const fs::path& folder) {
        int count = 0;
        for (const auto& entry : fs::directory_iterator(folder))
            count += entry.path().filename().string().starts_with(".stockquery-");
        return count;
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
    // A line that is no value; text that is no UTF-8 or holds a NUL, or a raw value with
    // control characters (neither could be written back as it stands).
    for (const std::string& line :
         {std::string("this is not a value line"), std::string("\"dbserver\"=\"e\xFF\xFF_\x80\""),
          std::string("\"dbserver\"=\"a\0b\"", 10), std::string("\"x\"=hex\r\r")}) {
        writeKeyFile("\"dbuser\"=\"sa\"\n" + line + "\n");
        const std::string before = keyText();
        ConnectionSettings loaded;
        EXPECT_FALSE(loadDBLinkInfo(loaded)) << line;
        EXPECT_EQ(loaded, ConnectionSettings{});
        EXPECT_FALSE(writeDBLinkInfo(kStored));
        EXPECT_EQ(keyText(), before);
    }
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

TEST_F(SettingsStore, AKeyInAFolderMadeReadOnlyIsReadAndAWriteThereIsRefused) {
    ASSERT_TRUE(writeDBLinkInfo(kStored));
    // Everyone may read the folders and the key; nobody but their owner may write.
    using fs::perms;
    const perms readable = perms::owner_all | perms::group_read | perms::group_exec |
                           perms::others_read | perms::others_exec;
    for (fs::path folder = keyFile().parent_path(); folder != root_.path().parent_path();
         folder = folder.parent_path())
        fs::permissions(folder, readable);
    fs::permissions(keyFile(), perms::owner_read | perms::owner_write | perms::group_read |
                                   perms::others_read);
    const int status = runInChild([&] {
        if (geteuid() == 0 && setuid(65534) != 0)
            return 10;
        ConnectionSettings loaded;
        if (!loadDBLinkInfo(loaded) || loaded != kStored)
            return 11; // the stored connection is used
        if (writeDBLinkInfo({"s", "d", "u", "p"}))
            return 12; // and storing another is refused, not passed over in silence
        return 0;
    });
    EXPECT_EQ(status, 0);
    ConnectionSettings read;
    EXPECT_TRUE(readDBLinkInfo(read));
    EXPECT_EQ(read, kStored);
}

TEST_F(SettingsStore, AFullDiskKeepsTheConnectionStoredBeforeWhole) {
    ASSERT_TRUE(writeDBLinkInfo(kStored));
    // Room for a file of the size stored now, not for the longer user: the new connection is
    // not stored at all, the old one stays whole, and no partial file is left.
    const int status = runInChild([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlim_t limit = fs::file_size(keyFile()) + 4;
        const rlimit fileSize{limit, limit};
        setrlimit(RLIMIT_FSIZE, &fileSize);
        return writeDBLinkInfo({"new-server", "new-database", std::string(200, 'u'), "p"}) ? 1 : 0;
    });
    EXPECT_EQ(status, 0);
    ConnectionSettings read;
    EXPECT_TRUE(readDBLinkInfo(read));
    EXPECT_EQ(read, kStored);
    EXPECT_EQ(partialFilesIn(keyFile().parent_path()), 0);
}

TEST_F(SettingsStore, AFolderOrAFifoInTheKeysPlaceIsAnErrorAndStaysWhileALinkIsFollowed) {
    fs::create_directories(keyFile());
    ConnectionSettings read;
    EXPECT_FALSE(loadDBLinkInfo(read));
    EXPECT_FALSE(writeDBLinkInfo(kStored));
    EXPECT_TRUE(fs::is_directory(keyFile()));
    fs::remove(keyFile());
    ASSERT_EQ(mkfifo(keyFile().c_str(), 0600), 0);
    EXPECT_FALSE(loadDBLinkInfo(read)); // at once: nobody writes into the FIFO
    EXPECT_FALSE(writeDBLinkInfo(kStored));
    EXPECT_TRUE(fs::is_fifo(keyFile()));
    fs::remove(keyFile());
    // A link to a key kept elsewhere: read there, written there, and still a link.
    const fs::path kept = root_ / "kept.reg";
    fs::create_symlink(kept, keyFile());
    ASSERT_TRUE(writeDBLinkInfo(kStored));
    EXPECT_TRUE(fs::is_symlink(keyFile()));
    EXPECT_TRUE(fs::is_regular_file(kept));
    EXPECT_TRUE(loadDBLinkInfo(read));
    EXPECT_EQ(read, kStored);
}

TEST_F(SettingsStore, ProgramsStoringAtOnceNeverMixTheirValuesNorDropEachOthers) {
    // Two programs each store their own connection and their own value of a shared key a
    // thousand times, while a third reads: every connection read is one program's whole, and
    // both programs' last values are there at the end.
    constexpr int kWrites = 1000;
    const auto storing = [&](const std::string& who) {
        return [=] {
            for (int i = 0; i < kWrites; ++i) {
                const std::string n = who + std::to_string(i);
                const auto key = openSettingsKey("\\SOFTWARE\\QARVO\\TOLMA\\Shared");
                if (!key || !writeDBLinkInfo({"server-" + n, "database-" + n, "user-" + n, n}))
                    return 1;
                key->writeString(who, std::to_string(i));
            }
            return 0;
        };
    };
    std::vector<pid_t> writers;
    for (const char* who : {"a", "b"})
        if (const pid_t pid = fork(); pid == 0)
            _exit(storing(who)());
        else
            writers.push_back(pid);
    int mixed = 0;
    int reads = 0;
    for (bool running = true; running; ++reads) {
        running = waitpid(writers[0], nullptr, WNOHANG) == 0 ||
                  waitpid(writers[1], nullptr, WNOHANG) == 0;
        ConnectionSettings read;
        ASSERT_TRUE(loadDBLinkInfo(read));
        const std::string n = read.password;
        mixed += read != ConnectionSettings{} &&
                 read != ConnectionSettings{"server-" + n, "database-" + n, "user-" + n, n};
    }
    EXPECT_EQ(mixed, 0) << "of " << reads << " reads";
    const auto shared = openSettingsKey("\\SOFTWARE\\QARVO\\TOLMA\\Shared");
    ASSERT_TRUE(shared);
    EXPECT_EQ(shared->readString("a"), std::to_string(kWrites - 1));
    EXPECT_EQ(shared->readString("b"), std::to_string(kWrites - 1));
    EXPECT_EQ(partialFilesIn(keyFile().parent_path()), 0);
}

TEST_F(SettingsStore, AProgramKilledWhileStoringLeavesAWholeKeyAndItsLeftoverGoesLater) {
    ASSERT_TRUE(writeDBLinkInfo(kStored));
    for (int kill = 0; kill < 40; ++kill) {
        const pid_t pid = fork();
        if (pid == 0)
            for (int i = 0;; ++i)
                writeDBLinkInfo({"s" + std::to_string(i), "d", std::string(4000, 'u'), "p"});
        usleep(static_cast<useconds_t>(2000 + kill * 500));
        ::kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        ConnectionSettings read;
        ASSERT_TRUE(readDBLinkInfo(read));
        EXPECT_TRUE(read == kStored || read.user == std::string(4000, 'u')) << read.server;
    }
    // A leftover is removed once it has lain untouched for an hour, by the next program
    // that stores into its folder; one just written (another program's) stays.
    const fs::path folder = keyFile().parent_path();
    const fs::path young = folder / ".stockquery-DBLinkInfo.reg-young1.partial";
    const fs::path old = folder / ".stockquery-DBLinkInfo.reg-old123.partial";
    const fs::path stranger = folder / ".other-old123.partial";
    for (const fs::path& file : {young, old, stranger})
        std::ofstream(file) << "partial";
    for (const fs::path& file : {old, stranger})
        fs::last_write_time(file, fs::file_time_type::clock::now() - std::chrono::hours(2));
    ASSERT_TRUE(writeDBLinkInfo(kStored));
    EXPECT_TRUE(fs::exists(young));
    EXPECT_FALSE(fs::exists(old));
    EXPECT_TRUE(fs::exists(stranger));
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
