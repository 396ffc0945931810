#include "SaveStream.h"

#include "ExportError.h"
#include "db/WorkControl.h"
#include "platform/FileCalls.h"

SaveStream::Buffer::Buffer(SaveTarget& target) : target_(target) {
    setp(bytes_.data(), bytes_.data() + bytes_.size());
}

bool SaveStream::Buffer::send(const char* bytes, std::size_t size) {
    if (!failure.empty())
        return false;
    try {
        target_.write(bytes, size);
        return true;
    } catch (const files::SaveError& error) {
        failure = error.what();
        return false;
    }
}

SaveStream::Buffer::int_type SaveStream::Buffer::overflow(int_type c) {
    if (sync() != 0)
        return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof()))
        sputc(traits_type::to_char_type(c));
    return traits_type::not_eof(c);
}

int SaveStream::Buffer::sync() {
    const auto size = static_cast<std::size_t>(pptr() - pbase());
    setp(bytes_.data(), bytes_.data() + bytes_.size());
    return size == 0 || send(bytes_.data(), size) ? 0 : -1;
}

std::streamsize SaveStream::Buffer::xsputn(const char* bytes, std::streamsize size) {
    // Large pieces go out without a copy into the buffer.
    if (size < static_cast<std::streamsize>(bytes_.size()))
        return std::streambuf::xsputn(bytes, size);
    if (sync() != 0 || !send(bytes, static_cast<std::size_t>(size)))
        return 0;
    return size;
}

SaveStream::SaveStream(const QString& path, const WorkControl& control)
    : std::ostream(nullptr), target_([&] {
          try {
              return SaveTarget(path.toStdString(), [&] { return control.cancelled(); });
          } catch (const files::ReadOnlyError& error) {
              throw ReadOnlyTarget(error.what());
          } catch (const files::SaveError& error) {
              control.throwIfCancelled();
              throw ExportError("Cannot create file " + path.toStdString(), error.what());
          }
      }()),
      buffer_(target_) {
    rdbuf(&buffer_);
}

SaveStream::SaveStream() : std::ostream(nullptr), buffer_(target_) {
    rdbuf(&buffer_);
}

SaveStream::~SaveStream() = default;

void SaveStream::commit(const WorkControl& control) {
    flush();
    if (!*this)
        throw ExportError(failureOf(*this));
    try {
        if (!target_.commit([&] { return control.cancelled(); }))
            throw WorkCancelled();
    } catch (const files::SaveError& error) {
        throw ExportError(error.what());
    }
}

std::string failureOf(const std::ostream& stream) {
    const auto* save = dynamic_cast<const SaveStream*>(&stream);
    return save && !save->failure().empty() ? save->failure() : "Stream write error";
}
