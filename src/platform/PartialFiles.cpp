#include "PartialFiles.h"

#include "CommandLine.h"

#include <filesystem>

PartialFiles& PartialFiles::instance() {
    static PartialFiles files;
    return files;
}

std::string PartialFiles::make(const std::function<std::string()>& make) {
    const std::lock_guard lock(mutex_);
    if (abandoned_)
        throw Abandoned();
    std::string path = make();
    files_.insert(path);
    return path;
}

namespace {

void removeFile(const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove(pathFromUtf8(path), ignored);
}

} // namespace

void PartialFiles::place(const std::string& path, const std::function<void()>& place,
                         bool document) {
    const std::lock_guard lock(mutex_);
    if (abandoned_)
        throw Abandoned();
    place();
    files_.erase(path);
    placed_ = placed_ || document;
}

void PartialFiles::discard(const std::string& path) {
    const std::lock_guard lock(mutex_);
    if (files_.erase(path) > 0)
        removeFile(path);
}

bool PartialFiles::abandon() {
    const std::lock_guard lock(mutex_);
    abandoned_ = true;
    for (const std::string& path : files_)
        removeFile(path);
    files_.clear();
    return placed_;
}
