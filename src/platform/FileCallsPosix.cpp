#include "FileCalls.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <thread>
#include <unistd.h>

namespace files {

namespace {

[[noreturn]] void fail(int error = errno) {
    throw SaveError(std::strerror(error));
}

// Where a relative link's text points from the folder of the link.
std::string joined(const std::string& folder, const std::string& link) {
    if (!link.empty() && link.front() == '/')
        return link;
    return folder + "/" + link;
}

} // namespace

Target resolve(const std::string& path) {
    Target target{path, Target::Kind::Missing};
    for (int links = 0;; ++links) {
        struct stat status {};
        if (lstat(target.path.c_str(), &status) != 0) {
            if (errno != ENOENT)
                fail();
            return target; // a new file, also at the end of a dangling link
        }
        if (S_ISLNK(status.st_mode)) {
            if (links >= 40)
                fail(ELOOP);
            std::string text(static_cast<std::size_t>(status.st_size) + 256, '\0');
            const ssize_t size = readlink(target.path.c_str(), text.data(), text.size());
            if (size < 0)
                fail();
            text.resize(static_cast<std::size_t>(size));
            target.path = joined(folderOf(target.path), text);
            continue;
        }
        target.kind = S_ISREG(status.st_mode)   ? Target::Kind::Regular
                      : S_ISDIR(status.st_mode) ? Target::Kind::Folder
                                                : Target::Kind::Stream;
        // Write permission for nobody holds also for root, whom access() lets write anything.
        target.readOnly = target.kind == Target::Kind::Regular &&
                          ((status.st_mode & 0222) == 0 || access(target.path.c_str(), W_OK) != 0);
        return target;
    }
}

int createNew(const std::string& path) {
    const int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (file < 0 && errno != EEXIST)
        fail();
    return file;
}

void takeOverAttributes(int file, const std::string& replaced) {
    struct stat status {};
    if (stat(replaced.c_str(), &status) != 0)
        return; // gone meanwhile: the new file keeps a new file's permissions
    if (fchmod(file, status.st_mode & 07777) != 0)
        fail();
    // Only root may give a file away; anyone else keeps the new file as their own.
    if (fchown(file, status.st_uid, status.st_gid) != 0 && errno != EPERM)
        fail();
}

int openStream(const std::string& path, const std::function<bool()>& cancelled) {
    for (;;) {
        // Without O_NONBLOCK the open of a FIFO would wait for a reader beyond any cancel.
        const int file = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (file >= 0) {
            fcntl(file, F_SETFL, fcntl(file, F_GETFL) & ~O_NONBLOCK);
            return file;
        }
        struct stat status {};
        if (errno != ENXIO || stat(path.c_str(), &status) != 0 || !S_ISFIFO(status.st_mode))
            fail();
        if (cancelled())
            fail(ECANCELED);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

void writeAll(int file, const char* bytes, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(file, bytes, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            fail();
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
}

void sync(int file) {
    if (fsync(file) != 0)
        fail();
}

void close(int file) {
    if (::close(file) != 0 && errno != EINTR)
        fail();
}

void replace(const std::string& from, const std::string& to) {
    if (rename(from.c_str(), to.c_str()) != 0)
        fail();
    // The new name lasts once the folder's entry is on the disk too.
    const int folder = ::open(folderOf(to).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        fsync(folder);
        ::close(folder);
    }
}

std::string folderForNarrowCalls(const std::string& folder) {
    return folder; // UTF-8, as every path here
}

bool ownFileUntouchedFor(const std::string& path, std::chrono::seconds age) {
    struct stat status {};
    if (lstat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode) || status.st_uid != geteuid())
        return false;
    const auto written = std::chrono::system_clock::from_time_t(status.st_mtime);
    return std::chrono::system_clock::now() - written >= age;
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string temporaryFolder() {
    const char* folder = std::getenv("TMPDIR");
    return folder && *folder ? folder : "/tmp";
}

namespace {
std::atomic<int> sizeLimitSignals{0};
}

void reportWriteFailures() {
    static std::once_flag once;
    std::call_once(once, [] {
        std::signal(SIGPIPE, SIG_IGN);
        std::signal(SIGXFSZ, [](int) { sizeLimitSignals.fetch_add(1); });
    });
}

int sizeLimitHits() {
    return sizeLimitSignals.load();
}

bool diskFull(const std::string& folder) {
    struct statvfs disk {};
    if (statvfs(folder.c_str(), &disk) != 0)
        return false;
    // Root may write into the blocks kept back for it; a few blocks are not room for a page.
    const fsblkcnt_t free = geteuid() == 0 ? disk.f_bfree : disk.f_bavail;
    return free * disk.f_frsize < 64 * 1024;
}

std::string noSpaceReason() {
    return std::strerror(ENOSPC);
}

std::string tooLargeReason() {
    return std::strerror(EFBIG);
}

} // namespace files
