#pragma once

#include <cstdio>
#include <memory>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

// A byte stream held for later, in pieces of a few megabytes so that growing it never copies
// what it already holds. Beyond `memoryLimit` bytes it goes on in a temporary file, so that a
// document body of gigabytes does not have to fit in memory.
class ChunkedBuffer : public std::streambuf {
public:
    explicit ChunkedBuffer(std::size_t memoryLimit = std::size_t{256} << 20)
        : memoryLimit_(memoryLimit) {}

    // Writes everything held to `out`, in order; throws ExportError when the temporary file
    // cannot be written or read back.
    void copyTo(std::ostream& out);

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* bytes, std::streamsize count) override;

private:
    static constexpr std::size_t kChunk = std::size_t{4} << 20;
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    std::size_t memoryLimit_;
    std::size_t held_ = 0;
    std::vector<std::string> chunks_;
    std::unique_ptr<std::FILE, FileCloser> spill_;
    bool spillFailed_ = false;
};
