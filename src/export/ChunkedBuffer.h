#pragma once

#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

// An in-memory byte stream kept in pieces of a few megabytes, so that growing it never copies
// what it already holds (a document body of gigabytes would otherwise be copied as it doubles).
class ChunkedBuffer : public std::streambuf {
public:
    // Writes everything held to `out`, in order.
    void copyTo(std::ostream& out) const {
        for (const std::string& chunk : chunks_)
            out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    }

protected:
    int_type overflow(int_type c) override {
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            const char byte = traits_type::to_char_type(c);
            xsputn(&byte, 1);
        }
        return traits_type::not_eof(c);
    }

    std::streamsize xsputn(const char* bytes, std::streamsize count) override {
        for (std::streamsize done = 0; done < count;) {
            if (chunks_.empty() || chunks_.back().size() == kChunk) {
                chunks_.emplace_back();
                chunks_.back().reserve(kChunk);
            }
            std::string& chunk = chunks_.back();
            const auto take =
                std::min(count - done, static_cast<std::streamsize>(kChunk - chunk.size()));
            chunk.append(bytes + done, static_cast<std::size_t>(take));
            done += take;
        }
        return count;
    }

private:
    static constexpr std::size_t kChunk = 4 << 20;
    std::vector<std::string> chunks_;
};
