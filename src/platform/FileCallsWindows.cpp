#include "FileCalls.h"

#include <windows.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <system_error>

namespace files {

namespace {

[[noreturn]] void fail(int error = errno) {
    throw SaveError(std::strerror(error));
}

[[noreturn]] void failWithLastError() {
    throw SaveError(std::system_category().message(static_cast<int>(GetLastError())));
}

std::wstring wide(const std::string& utf8) {
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(), size);
    return text;
}

std::string utf8(const std::wstring& wide) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(), size,
                        nullptr, nullptr);
    return text;
}

// NUL, CON, COM1 and the like name devices in every folder, with any extension.
bool namesDevice(const std::string& path) {
    if (path.rfind("\\\\.\\", 0) == 0)
        return true;
    std::string stem = nameOf(path).substr(0, nameOf(path).find('.'));
    for (char& c : stem)
        c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    if (stem == "NUL" || stem == "CON" || stem == "PRN" || stem == "AUX")
        return true;
    return stem.size() == 4 && (stem.rfind("COM", 0) == 0 || stem.rfind("LPT", 0) == 0) &&
           stem[3] >= '1' && stem[3] <= '9';
}

} // namespace

Target resolve(const std::string& path) {
    Target target{path, Target::Kind::Missing};
    if (namesDevice(path)) {
        target.kind = Target::Kind::Stream;
        return target;
    }
    const DWORD attributes = GetFileAttributesW(wide(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        target.kind = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? Target::Kind::Folder
                                                                   : Target::Kind::Regular;
        target.readOnly =
            target.kind == Target::Kind::Regular && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    }
    return target;
}

int createNew(const std::string& path) {
    const int file =
        _wopen(wide(path).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
               _S_IREAD | _S_IWRITE);
    if (file < 0 && errno != EEXIST)
        fail();
    return file;
}

void takeOverAttributes(int, const std::string&) {
    // A new file in the folder already has the permissions the folder gives.
}

int openStream(const std::string& path, const std::function<bool()>&) {
    const int file = _wopen(wide(path).c_str(), _O_WRONLY | _O_BINARY | _O_NOINHERIT);
    if (file < 0)
        fail();
    return file;
}

void writeAll(int file, const char* bytes, std::size_t size) {
    while (size > 0) {
        const unsigned piece = static_cast<unsigned>(std::min<std::size_t>(size, 1u << 30));
        const int written = _write(file, bytes, piece);
        if (written < 0)
            fail();
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
}

void sync(int file) {
    if (_commit(file) != 0)
        fail();
}

void close(int file) {
    if (_close(file) != 0)
        fail();
}

void replace(const std::string& from, const std::string& to) {
    if (!MoveFileExW(wide(from).c_str(), wide(to).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        failWithLastError();
}

std::string folderForNarrowCalls(const std::string& folder) {
    const std::wstring path = wide(folder);
    BOOL lost = FALSE;
    const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path.data(),
                                         static_cast<int>(path.size()), nullptr, 0, nullptr, &lost);
    if (!lost) {
        std::string ansi(static_cast<std::size_t>(size), '\0');
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path.data(),
                            static_cast<int>(path.size()), ansi.data(), size, nullptr, nullptr);
        return ansi;
    }
    const DWORD length = GetShortPathNameW(path.c_str(), nullptr, 0);
    std::wstring shortPath(length, L'\0');
    if (length == 0 || GetShortPathNameW(path.c_str(), shortPath.data(), length) == 0)
        return folder; // no short names on this disk: the call fails and says so
    shortPath.resize(length - 1);
    return utf8(shortPath); // short names are ASCII
}

bool ownFileUntouchedFor(const std::string& path, std::chrono::seconds age) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(wide(path).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0)
        return false;
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const auto ticks = [](const FILETIME& time) {
        return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    constexpr unsigned long long kTicksPerSecond = 10'000'000; // of 100 ns
    const unsigned long long written = ticks(data.ftLastWriteTime);
    return ticks(now) >= written &&
           ticks(now) - written >= static_cast<unsigned long long>(age.count()) * kTicksPerSecond;
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    if (slash == std::string::npos)
        return ".";
    return slash == 0 || (slash == 2 && path[1] == ':') ? path.substr(0, slash + 1)
                                                        : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string temporaryFolder() {
    wchar_t folder[MAX_PATH + 1];
    const DWORD size = GetTempPathW(MAX_PATH + 1, folder);
    std::wstring path(folder, size);
    while (!path.empty() && (path.back() == L'\\' || path.back() == L'/'))
        path.pop_back();
    return utf8(path);
}

void reportWriteFailures() {
    // Windows has neither SIGPIPE nor a file size limit: failed writes fail as they are.
}

int sizeLimitHits() {
    return 0;
}

bool diskFull(const std::string& folder) {
    ULARGE_INTEGER available{};
    if (!GetDiskFreeSpaceExW(wide(folder).c_str(), &available, nullptr, nullptr))
        return false;
    return available.QuadPart < 64 * 1024;
}

std::string noSpaceReason() {
    return std::strerror(ENOSPC);
}

std::string tooLargeReason() {
    return std::strerror(EFBIG);
}

} // namespace files
