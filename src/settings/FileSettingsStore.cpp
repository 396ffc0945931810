#include "FileSettingsStore.h"

#include "RegFile.h"
#include "SettingsKey.h"
#include "platform/FileCalls.h"
#include "platform/PartialFiles.h"
#include "platform/SaveTarget.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <optional>
#include <sstream>
#include <sys/file.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// An exclusive lock on a key's folder for as long as a write reads, changes and replaces the
// key: two programs storing at the same moment then each store whole, and neither drops the
// values the other stored.
class FolderLock {
public:
    explicit FolderLock(const fs::path& folder)
        : folder_(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        if (folder_ < 0)
            throw RegistryError("cannot open " + folder.string() + ": " + std::strerror(errno));
        while (::flock(folder_, LOCK_EX) != 0)
            if (errno != EINTR) {
                const int error = errno;
                ::close(folder_);
                throw RegistryError("cannot lock " + folder.string() + ": " + std::strerror(error));
            }
    }
    ~FolderLock() { ::close(folder_); } // which releases the lock
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int folder_;
};

// The key's values as the file holds them now; none when there is no file yet. Anything else
// than a file in its place (a folder, a FIFO someone made there) is an error, never waited on.
std::vector<RegValue> readKeyFile(const fs::path& file) {
    try {
        const files::Target target = files::resolve(file.string());
        if (target.kind == files::Target::Kind::Missing)
            return {};
        if (target.kind != files::Target::Kind::Regular)
            throw RegistryError(file.string() + " is not a file");
    } catch (const files::SaveError& error) {
        throw RegistryError("cannot read " + file.string() + ": " + error.what());
    }
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw RegistryError("cannot read " + file.string());
    std::ostringstream text;
    text << in.rdbuf(); // (an empty file sets the failbit of `text`: it is a key of no values)
    return parseRegFile(text.str());
}

// Replaces the key's file in one step (a new file beside it renamed over it, see SaveTarget),
// so that a failed write, a full disk or a killed program leaves the values stored before.
void replaceKeyFile(const fs::path& file, const std::string& text) {
    try {
        SaveTarget target(
            file.string(), [] { return false; }, SaveTarget::Purpose::setting);
        target.write(text.data(), text.size());
        target.commit([] { return false; });
    } catch (const files::SaveError& error) {
        throw RegistryError("cannot replace " + file.string() + ": " + error.what());
    } catch (const PartialFiles::Abandoned& ending) {
        throw RegistryError(ending.what());
    }
}

class FileSettingsKey : public SettingsKey {
public:
    FileSettingsKey(fs::path file, std::string keyPath, bool writable)
        : file_(std::move(file)), keyPath_(std::move(keyPath)), writable_(writable) {}

    std::string readString(const std::string& name) override {
        if (!values_)
            values_ = readKeyFile(file_);
        for (const RegValue& value : *values_)
            if (value.name == name) {
                if (value.type == RegValue::Type::Other)
                    throw RegistryError("value " + name + " is not a string");
                return value.text;
            }
        return {};
    }

    void writeStrings(const StringValues& changes) override {
        if (!writable_)
            throw RegistryError("the settings folder " + file_.parent_path().string() +
                                " cannot be written");
        const FolderLock lock(file_.parent_path());
        std::vector<RegValue> values = readKeyFile(file_);
        for (const auto& change : changes) {
            auto found = std::find_if(values.begin(), values.end(),
                                      [&](const RegValue& v) { return v.name == change.first; });
            if (found == values.end())
                found =
                    values.insert(values.end(), RegValue{change.first, RegValue::Type::String, {}});
            found->type = RegValue::Type::String;
            found->text = change.second;
        }
        replaceKeyFile(file_, formatRegFile(keyPath_, values));
        values_ = std::move(values);
    }

    // Makes the key's file, empty and for its owner's eyes alone (it will hold a password),
    // where there is none (at the end of a link, too); the values written later keep its
    // permissions.
    void create() {
        if (fs::status(file_).type() != fs::file_type::not_found)
            return;
        const FolderLock lock(file_.parent_path());
        if (fs::status(file_).type() != fs::file_type::not_found)
            return;
        replaceKeyFile(file_, formatRegFile(keyPath_, {}));
        std::error_code error;
        fs::permissions(file_, fs::perms::owner_read | fs::perms::owner_write, error);
        if (error)
            throw RegistryError("cannot protect " + file_.string() + ": " + error.message());
    }

private:
    fs::path file_;
    std::string keyPath_;
    bool writable_;
    std::optional<std::vector<RegValue>> values_; // as first read: one moment's values
};

} // namespace

fs::path settingsRoot() {
    if (const char* root = std::getenv("STOCKQUERY_SETTINGS_ROOT"); root && *root)
        return root;
    fs::path config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        config = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        config = fs::path(home) / ".config";
    else
        config = ".config";
    return config / "stockquery" / "HKEY_LOCAL_MACHINE";
}

std::unique_ptr<SettingsKey> openSettingsKey(const std::string& keyPath) {
    fs::path file = settingsRoot();
    std::string part;
    std::istringstream parts(keyPath);
    while (std::getline(parts, part, '\\'))
        if (!part.empty())
            file /= part;
    file += ".reg";
    std::error_code error;
    fs::create_directories(file.parent_path(), error);
    // A folder that takes the new file of a write gives a key to read and write, made where
    // missing; a key in a folder that does not (a folder made read-only) is read and refuses
    // writes; a key that cannot be read, or made, is none.
    const bool writable = !error && ::access(file.parent_path().c_str(), W_OK) == 0;
    auto key = std::make_unique<FileSettingsKey>(file, keyPath, writable);
    try {
        if (writable)
            key->create();
    } catch (const RegistryError&) {
        return nullptr;
    }
    return ::access(file.c_str(), writable ? R_OK | W_OK : R_OK) == 0 ? std::move(key) : nullptr;
}
