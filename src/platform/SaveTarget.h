#pragma once

#include "PartialFile.h"

#include <functional>
#include <memory>
#include <string>

// Where a document's bytes go. A regular file, or a name where there is none yet, gets a new
// file beside it that takes its place in one step at commit(), once the data is on the disk,
// with the old file's permissions (a new one gets the umask's): a refusal, a failure or a
// cancel leaves the old file as it was and nothing behind. A device, a FIFO or a socket is
// written straight into and never replaced. Symbolic links are followed to their final target
// and stay links. A file marked read-only is refused (files::ReadOnlyError). Failures throw
// files::SaveError with the system's reason.
class SaveTarget {
public:
    // What is written: a document the program was asked for, or a file of its own settings.
    enum class Purpose { document, setting };

    // `cancelled` is asked while a FIFO waits for its reader.
    SaveTarget(const std::string& path, const std::function<bool()>& cancelled,
               Purpose purpose = Purpose::document);
    // Standard output, written straight into.
    SaveTarget();
    ~SaveTarget();
    SaveTarget(const SaveTarget&) = delete;
    SaveTarget& operator=(const SaveTarget&) = delete;

    void write(const char* bytes, std::size_t size);
    // Makes the bytes written the target's. Unless `cancelled` says yes just before, a new
    // file is flushed to the disk and replaces the target; false when it was cancelled.
    bool commit(const std::function<bool()>& cancelled);
    // Where scratch files that belong with the document go: beside the file it replaces, on
    // the same disk; the temporary folder for a target written straight into.
    std::string scratchFolder() const;

private:
    std::string target_;
    std::unique_ptr<PartialFile> partial_; // none when written straight into
    int file_ = -1;
    bool ownsFile_ = false;
    Purpose purpose_ = Purpose::document;
};
