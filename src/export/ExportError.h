#pragma once

#include <stdexcept>

// An export that could not be written: the file could not be created or the stream failed.
class ExportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
