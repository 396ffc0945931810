#include "PartialFile.h"

#include "FileCalls.h"
#include "PartialFiles.h"

#include "CommandLine.h"

#include <filesystem>
#include <random>

namespace {

// At most `most` bytes of a UTF-8 name, cut before a character.
std::string_view shortened(std::string_view name, std::size_t most) {
    if (name.size() <= most)
        return name;
    std::size_t at = most;
    while (at > 0 && (static_cast<unsigned char>(name[at]) & 0xC0) == 0x80)
        --at;
    return name.substr(0, at);
}

std::string randomLetters() {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    std::string letters(6, ' ');
    for (char& c : letters)
        c = kLetters[pick(random)];
    return letters;
}

constexpr std::string_view kPrefix = ".stockquery-";
constexpr std::string_view kSuffix = ".partial";

} // namespace

PartialFile::PartialFile(const std::string& folder, std::string_view stem) {
    path_ = PartialFiles::instance().make([&] {
        for (int tries = 0; tries < 100; ++tries) {
            std::string path = folder + "/" + std::string(kPrefix) +
                               std::string(shortened(stem, 64)) + "-" + randomLetters() +
                               std::string(kSuffix);
            file_ = files::createNew(path);
            if (file_ >= 0)
                return path;
        }
        throw files::SaveError("no free name for a temporary file in " + folder);
    });
}

PartialFile::~PartialFile() {
    if (file_ >= 0) {
        try {
            files::close(file_);
        } catch (const files::SaveError&) {
            // the file goes anyway
        }
    }
    if (!placed_)
        PartialFiles::instance().discard(path_);
}

void PartialFile::close() {
    const int file = file_;
    file_ = -1;
    files::close(file);
}

void PartialFile::replace(const std::string& target, bool document) {
    if (file_ >= 0)
        close();
    PartialFiles::instance().place(
        path_, [&] { files::replace(path_, target); }, document);
    placed_ = true;
}

void removeLeftoverPartialFiles(const std::string& folder) {
    std::error_code error;
    for (std::filesystem::directory_iterator entry(pathFromUtf8(folder), error), end;
         !error && entry != end; entry.increment(error)) {
        const std::string name = utf8Of(entry->path().filename());
        if (!name.starts_with(kPrefix) || !name.ends_with(kSuffix))
            continue;
        const std::string path = utf8Of(entry->path());
        if (files::ownFileUntouchedFor(path, std::chrono::hours(1))) {
            std::error_code ignored;
            std::filesystem::remove(entry->path(), ignored);
        }
    }
}
