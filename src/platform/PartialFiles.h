#pragma once

#include <functional>
#include <mutex>
#include <set>
#include <string>

// The files this program is making that are not yet in their place (a document before it
// replaces its target, a workbook's scratch copy). A program that has to end before its work
// does (a second Ctrl+C, a driver that does not answer) abandons them: they are removed, and
// no file is made or put in place after that. Paths are UTF-8.
class PartialFiles {
public:
    static PartialFiles& instance();

    // Runs `make`, which creates a file and returns its path, and tracks the file. Throws
    // Abandoned, without running `make`, once the program has abandoned its files.
    std::string make(const std::function<std::string()>& make);
    // Runs `place`, which puts the file in its place, and stops tracking it, unless the files
    // were abandoned (Abandoned is thrown). When `place` throws, the file stays tracked.
    // `document`: the file is what the program was asked to write (not a setting it keeps).
    void place(const std::string& path, const std::function<void()>& place, bool document);
    // Removes a tracked file and stops tracking it.
    void discard(const std::string& path);
    // Removes every tracked file; nothing is made or placed afterwards. Returns whether a
    // document was placed before (the program then has written what it was asked to).
    bool abandon();

    struct Abandoned : std::exception {
        const char* what() const noexcept override { return "the program is ending"; }
    };

private:
    std::mutex mutex_;
    std::set<std::string> files_;
    bool abandoned_ = false;
    bool placed_ = false;
};
