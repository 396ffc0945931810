#pragma once

#include <string>
#include <string_view>

// A new file named ".stockquery-<stem>-XXXXXX.partial" in a folder, so that a person who
// finds one left by a killed program sees what it is. It is tracked among the program's
// partial files and removed when it goes, unless it was put in place.
class PartialFile {
public:
    // Throws files::SaveError when no such file can be made in `folder`.
    PartialFile(const std::string& folder, std::string_view stem);
    ~PartialFile();
    PartialFile(const PartialFile&) = delete;
    PartialFile& operator=(const PartialFile&) = delete;

    const std::string& path() const { return path_; }
    // Open for writing until close(); -1 after it.
    int descriptor() const { return file_; }
    void close();
    // Closes the file and renames it over `target`; throws PartialFiles::Abandoned when the
    // program has abandoned its files. `document`: see PartialFiles::place.
    void replace(const std::string& target, bool document);

private:
    std::string path_;
    int file_ = -1;
    bool placed_ = false;
};

// Removes from `folder` the partial files that a program killed while writing left behind:
// only this program's (by name), the user's own, and untouched for an hour, so that another
// program's document being written is never taken.
void removeLeftoverPartialFiles(const std::string& folder);
