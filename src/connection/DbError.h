#pragma once

#include <stdexcept>
#include <string>

// The one error kind of the data layer. Its text is the backend's diagnostic, meant for
// developers (tests, debugger); windows catch it and show their own fixed texts.
class DbError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
