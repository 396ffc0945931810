#pragma once

#include "platform/SaveTarget.h"

#include <QString>

#include <array>
#include <ostream>
#include <streambuf>
#include <string>

class WorkControl;

// The one stream every format is written through, to a file (see SaveTarget: a new file
// beside the target that replaces it only at commit(); a device or a FIFO written straight
// into) or to standard output. A failed write sets the stream's badbit and keeps the system's
// reason for failure().
class SaveStream : public std::ostream {
public:
    // Throws ExportError "Cannot create file <path>" when the file cannot be made;
    // a cancel of `control` stops the wait for a FIFO's reader.
    SaveStream(const QString& path, const WorkControl& control);
    // Standard output.
    SaveStream();
    ~SaveStream() override;

    // Writes what is buffered and makes the document the target's; throws ExportError with
    // the system's reason when a write failed or fails, and WorkCancelled when `control` was
    // cancelled before the target was replaced (the old file then stays as it was).
    void commit(const WorkControl& control);
    // Why the last write failed, in the system's words.
    std::string failure() const { return buffer_.failure; }
    // Where a scratch file of the document belongs (see SaveTarget).
    std::string scratchFolder() const { return target_.scratchFolder(); }

private:
    class Buffer : public std::streambuf {
    public:
        explicit Buffer(SaveTarget& target);
        std::string failure;

    protected:
        int_type overflow(int_type c) override;
        int sync() override;
        std::streamsize xsputn(const char* bytes, std::streamsize size) override;

    private:
        bool send(const char* bytes, std::size_t size);
        SaveTarget& target_;
        std::array<char, 1 << 16> bytes_;
    };

    SaveTarget target_;
    Buffer buffer_;
};

// Why a stream failed: the system's reason when it is a SaveStream.
std::string failureOf(const std::ostream& stream);
