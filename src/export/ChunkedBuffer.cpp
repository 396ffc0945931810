#include "ChunkedBuffer.h"

#include "ExportError.h"

ChunkedBuffer::int_type ChunkedBuffer::overflow(int_type c) {
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        const char byte = traits_type::to_char_type(c);
        xsputn(&byte, 1);
    }
    return traits_type::not_eof(c);
}

std::streamsize ChunkedBuffer::xsputn(const char* bytes, std::streamsize count) {
    const auto size = static_cast<std::size_t>(count);
    if (spill_ || held_ + size > memoryLimit_) {
        if (!spill_)
            spill_.reset(std::tmpfile());
        spillFailed_ = spillFailed_ || !spill_ || std::fwrite(bytes, 1, size, spill_.get()) != size;
        return count;
    }
    for (std::size_t done = 0; done < size;) {
        if (chunks_.empty() || chunks_.back().size() == kChunk) {
            chunks_.emplace_back();
            chunks_.back().reserve(kChunk);
        }
        std::string& chunk = chunks_.back();
        const std::size_t take = std::min(size - done, kChunk - chunk.size());
        chunk.append(bytes + done, take);
        done += take;
    }
    held_ += size;
    return count;
}

void ChunkedBuffer::copyTo(std::ostream& out) {
    for (const std::string& chunk : chunks_)
        out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    if (!spill_ && !spillFailed_)
        return;
    if (spillFailed_ || std::fseek(spill_.get(), 0, SEEK_SET) != 0)
        throw ExportError("Stream write error");
    std::vector<char> piece(kChunk);
    while (const std::size_t got = std::fread(piece.data(), 1, piece.size(), spill_.get()))
        out.write(piece.data(), static_cast<std::streamsize>(got));
}
