#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>

// The file system calls that writing a document needs, where POSIX and Windows differ. Paths
// are UTF-8; failures throw SaveError with the system's reason.
namespace files {

class SaveError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file that its owner marked read-only to keep it: it is never replaced.
class ReadOnlyError : public SaveError {
public:
    using SaveError::SaveError;
};

// What a path names, after following symbolic links to their final target.
struct Target {
    enum class Kind { Missing, Regular, Folder, Stream };
    std::string path; // the final target: writing goes there, the links stay links
    Kind kind = Kind::Missing;
    bool readOnly = false; // a regular file without write permission, or marked read-only
};
Target resolve(const std::string& path);

// Creates a new file for writing with the permissions a new file gets (the umask's), or -1
// when one of that name exists.
int createNew(const std::string& path);
// Gives a new file the permissions (and, where allowed, the owner) of the file it replaces.
void takeOverAttributes(int file, const std::string& replaced);
// Opens a device, a FIFO or a socket for writing, without creating or truncating anything;
// waits for a FIFO's reader while `cancelled` says no.
int openStream(const std::string& path, const std::function<bool()>& cancelled);

void writeAll(int file, const char* bytes, std::size_t size);
// Flushes the file's data to the disk.
void sync(int file);
void close(int file);
// Puts `from` in the place of `to`, replacing it in one step.
void replace(const std::string& from, const std::string& to);

// A folder as narrow C calls (fopen in libxlsxwriter) open it: on Windows in the ANSI code
// page, or its short name where that code page cannot hold it.
std::string folderForNarrowCalls(const std::string& folder);

// Whether `path` is a regular file of this user's (on POSIX; any on Windows, where the folders
// written are the user's own) that nobody has written to for at least `age`.
bool ownFileUntouchedFor(const std::string& path, std::chrono::seconds age);

std::string folderOf(const std::string& path);
std::string nameOf(const std::string& path);
std::string temporaryFolder();

// Writing into a closed pipe fails with EPIPE, and beyond the file size limit with EFBIG,
// instead of ending the program; the size limit is counted for writers that cannot see their
// own failures (libxlsxwriter's scratch files).
void reportWriteFailures();
int sizeLimitHits();
// Whether the disk of `folder` is full (writes there would fail for want of space).
bool diskFull(const std::string& folder);
// The system's text for "No space left on device" and "File too large".
std::string noSpaceReason();
std::string tooLargeReason();

} // namespace files
