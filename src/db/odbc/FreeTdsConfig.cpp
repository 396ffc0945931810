#include "FreeTdsConfig.h"

#include "result/DbError.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <random>
#include <utility>
#include <vector>

namespace {

// A file in a folder of its own, readable by the user alone, under the user's runtime folder;
// its name cannot be guessed and the folder is made only when the first section comes, so
// that nobody can have put a file of theirs there.
class PrivateConfigFile {
public:
    PrivateConfigFile() {
        const char* base = std::getenv("XDG_RUNTIME_DIR");
        if (!base || !*base)
            base = std::getenv("TMPDIR");
        if (!base || !*base)
            base = "/tmp";
        std::random_device random;
        char suffix[17];
        std::snprintf(suffix, sizeof suffix, "%08x%08x", random(), random());
        folder_ = std::string(base) + "/stockquery-freetds-" + suffix;
        file_ = folder_ + "/freetds.conf";
        setenv("FREETDSCONF", file_.c_str(), 1);
    }
    ~PrivateConfigFile() { remove(); }

    void remove() {
        const std::lock_guard lock(mutex_);
        if (made_) {
            unlink(file_.c_str());
            rmdir(folder_.c_str());
        }
        made_ = false;
        sections_.clear();
    }

    std::string section(const std::string& lines) {
        const std::lock_guard lock(mutex_);
        for (const auto& [known, name] : sections_)
            if (known == lines)
                return name;
        if (!made_ && mkdir(folder_.c_str(), 0700) != 0)
            throw DbError("cannot make the folder " + folder_ + " for FreeTDS's settings");
        made_ = true;
        sections_.emplace_back(lines, "stockquery" + std::to_string(sections_.size() + 1));
        // Whole or not at all: a connection on another thread may be reading the file.
        const std::string written = file_ + ".new";
        {
            std::ofstream out(written, std::ios::trunc);
            for (const auto& [text, name] : sections_)
                out << '[' << name << "]\n" << text;
            if (!out.flush())
                throw DbError("cannot write " + written);
        }
        if (std::rename(written.c_str(), file_.c_str()) != 0)
            throw DbError("cannot write " + file_);
        return sections_.back().second;
    }

private:
    std::string folder_;
    std::string file_;
    bool made_ = false;
    std::mutex mutex_;
    std::vector<std::pair<std::string, std::string>> sections_;
};

// Made before main(), before any thread that could read the environment.
PrivateConfigFile configFile;

} // namespace

std::string freeTdsSection(const std::string& lines) {
    return configFile.section(lines);
}

void removeFreeTdsConfig() {
    configFile.remove();
}
