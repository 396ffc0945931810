#include "SaveFileStream.h"

#include "ExportError.h"

SaveFileStream::Buffer::Buffer(QSaveFile& file) : file_(file) {
    setp(bytes_.data(), bytes_.data() + bytes_.size());
}

SaveFileStream::Buffer::int_type SaveFileStream::Buffer::overflow(int_type c) {
    if (sync() != 0)
        return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof()))
        sputc(traits_type::to_char_type(c));
    return traits_type::not_eof(c);
}

int SaveFileStream::Buffer::sync() {
    const qint64 size = pptr() - pbase();
    if (size > 0 && file_.write(pbase(), size) != size)
        return -1;
    setp(bytes_.data(), bytes_.data() + bytes_.size());
    return 0;
}

SaveFileStream::SaveFileStream(const QString& path)
    : std::ostream(nullptr), file_(path), buffer_(file_) {
    rdbuf(&buffer_);
    // Unbuffered, so that every failed write reaches QSaveFile's own error check: a failure
    // while Qt flushes its buffer at commit would go unnoticed.
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw ExportError("Cannot create file " + path.toStdString());
}

SaveFileStream::~SaveFileStream() {
    if (file_.isOpen())
        file_.cancelWriting();
}

void SaveFileStream::commit() {
    flush();
    if (!*this || file_.error() != QFileDevice::NoError)
        throw ExportError(file_.errorString().isEmpty() ? "Stream write error"
                                                        : file_.errorString().toStdString());
    if (!file_.commit())
        throw ExportError(file_.errorString().toStdString());
}
