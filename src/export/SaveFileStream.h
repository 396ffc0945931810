#pragma once

#include <QSaveFile>

#include <array>
#include <ostream>
#include <streambuf>

// An output stream into a file that is written beside its target under a temporary name and
// put in the target's place only by commit(), once the whole document is written and closed:
// a refusal, a failure or a cancel leaves the old file byte for byte as it was and nothing
// behind. A failed write sets the stream's badbit.
class SaveFileStream : public std::ostream {
public:
    // Throws ExportError "Cannot create file <path>" when the temporary file cannot be made.
    explicit SaveFileStream(const QString& path);
    ~SaveFileStream() override;

    // Writes what is buffered, closes and replaces the target; throws ExportError with the
    // system's reason when any of it fails.
    void commit();

private:
    class Buffer : public std::streambuf {
    public:
        explicit Buffer(QSaveFile& file);

    protected:
        int_type overflow(int_type c) override;
        int sync() override;

    private:
        QSaveFile& file_;
        std::array<char, 1 << 16> bytes_;
    };

    QSaveFile file_;
    Buffer buffer_;
};
