#pragma once

#include <stdexcept>
#include <string>

// An export that could not be written: the file could not be created or the stream failed.
// `reason` is the system's word for why, where the message does not hold it already.
class ExportError : public std::runtime_error {
public:
    explicit ExportError(const std::string& message, std::string reason = {})
        : std::runtime_error(message), reason_(std::move(reason)) {}
    const std::string& reason() const { return reason_; }

private:
    std::string reason_;
};

// The file named is marked read-only: it was kept as it was.
class ReadOnlyTarget : public ExportError {
public:
    using ExportError::ExportError;
};
