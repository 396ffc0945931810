#include "FileSettingsStore.h"

#include "RegFile.h"
#include "SettingsKey.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class FileSettingsKey : public SettingsKey {
public:
    FileSettingsKey(fs::path file, std::string keyPath)
        : file_(std::move(file)), keyPath_(std::move(keyPath)) {}

    std::string readString(const std::string& name) override {
        for (const RegValue& value : load())
            if (value.name == name) {
                if (value.type == RegValue::Type::Other)
                    throw RegistryError("value " + name + " is not a string");
                return value.text;
            }
        return {};
    }

    void writeString(const std::string& name, const std::string& text) override {
        std::vector<RegValue> values = load();
        auto found = std::find_if(values.begin(), values.end(),
                                  [&](const RegValue& v) { return v.name == name; });
        if (found == values.end())
            found = values.insert(values.end(), RegValue{name, RegValue::Type::String, {}});
        found->type = RegValue::Type::String;
        found->text = text;
        replaceFile(formatRegFile(keyPath_, values));
    }

private:
    std::vector<RegValue> load() const {
        std::ifstream in(file_, std::ios::binary);
        if (!in)
            throw RegistryError("cannot read " + file_.string());
        std::ostringstream text;
        text << in.rdbuf();
        return parseRegFile(text.str());
    }

    // Writes a temporary file beside the key and renames it over the key, so that a failed
    // write (a full disk, a crash) leaves the values stored before as they were.
    void replaceFile(const std::string& text) const {
        const fs::path temporary = file_.string() + ".tmp";
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (fd < 0)
            throw RegistryError("cannot create " + temporary.string() + ": " +
                                std::strerror(errno));
        std::size_t written = 0;
        while (written < text.size()) {
            const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
            if (n <= 0) {
                const int error = errno;
                ::close(fd);
                ::unlink(temporary.c_str());
                throw RegistryError("cannot write " + temporary.string() + ": " +
                                    std::strerror(error));
            }
            written += static_cast<std::size_t>(n);
        }
        const bool synced = ::fsync(fd) == 0;
        const bool closed = ::close(fd) == 0;
        if (!synced || !closed || ::rename(temporary.c_str(), file_.c_str()) != 0) {
            ::unlink(temporary.c_str());
            throw RegistryError("cannot replace " + file_.string());
        }
    }

    fs::path file_;
    std::string keyPath_;
};

// The key's file exists afterwards, or nothing is returned.
bool createKeyFile(const fs::path& file, const std::string& keyPath) {
    std::error_code error;
    fs::create_directories(file.parent_path(), error);
    if (error)
        return false;
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return errno == EEXIST;
    const std::string text = formatRegFile(keyPath, {});
    const bool ok = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    ::close(fd);
    if (!ok)
        ::unlink(file.c_str());
    return ok;
}

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
    // Full access: the key must be readable and writable, and its folder must take the
    // temporary file of a write.
    if (!createKeyFile(file, keyPath) || ::access(file.c_str(), R_OK | W_OK) != 0 ||
        ::access(file.parent_path().c_str(), W_OK) != 0)
        return nullptr;
    return std::make_unique<FileSettingsKey>(std::move(file), keyPath);
}
