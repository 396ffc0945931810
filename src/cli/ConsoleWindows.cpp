#include "Console.h"

#include <atomic>
#include <fcntl.h>
#include <io.h>
#include <iostream>
#include <streambuf>
#include <string>
#include <windows.h>

bool inputIsTerminal() {
    return _isatty(0);
}

bool errorsAreTerminal() {
    return _isatty(2);
}

void binaryStandardOutput() {
    _setmode(1, _O_BINARY);
}

namespace {

// The UTF-8 that a stream is given, written to its console as UTF-16; a character cut between
// two writes waits for its last bytes.
class WideConsoleBuffer : public std::streambuf {
public:
    explicit WideConsoleBuffer(HANDLE console) : console_(console) {}

protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof()))
            return traits_type::not_eof(c);
        const char byte = traits_type::to_char_type(c);
        return xsputn(&byte, 1) == 1 ? c : traits_type::eof();
    }

    std::streamsize xsputn(const char* bytes, std::streamsize count) override {
        pending_.append(bytes, static_cast<std::size_t>(count));
        return writeWhole() ? count : 0;
    }

private:
    // The end of the last whole character in pending_.
    std::size_t wholeEnd() const {
        std::size_t end = pending_.size();
        std::size_t back = 0;
        while (back < end && back < 4 && (pending_[end - 1 - back] & 0xC0) == 0x80)
            ++back;
        if (back == end)
            return end;
        const auto lead = static_cast<unsigned char>(pending_[end - 1 - back]);
        const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        return length > back + 1 ? end - 1 - back : end;
    }

    bool writeWhole() {
        const std::size_t end = wholeEnd();
        if (end == 0)
            return true;
        const int size = static_cast<int>(end);
        std::wstring wide(static_cast<std::size_t>(
                              MultiByteToWideChar(CP_UTF8, 0, pending_.data(), size, nullptr, 0)),
                          L'\0');
        MultiByteToWideChar(CP_UTF8, 0, pending_.data(), size, wide.data(),
                            static_cast<int>(wide.size()));
        pending_.erase(0, end);
        DWORD written = 0;
        return WriteConsoleW(console_, wide.data(), static_cast<DWORD>(wide.size()), &written,
                             nullptr) != 0;
    }

    HANDLE console_;
    std::string pending_;
};

void wideWhenConsole(std::ostream& stream, DWORD which) {
    const HANDLE handle = GetStdHandle(which);
    DWORD mode = 0;
    if (handle == INVALID_HANDLE_VALUE || !GetConsoleMode(handle, &mode))
        return; // a file or a pipe: UTF-8 bytes
    stream.flush();
    // Never freed: the standard streams are flushed after every static object has gone.
    stream.rdbuf(new WideConsoleBuffer(handle));
}

DWORD echoing = 0;
std::atomic<bool> silenced{false};

} // namespace

void consoleTakesWideText() {
    wideWhenConsole(std::cout, STD_OUTPUT_HANDLE);
    wideWhenConsole(std::cerr, STD_ERROR_HANDLE);
}

void silenceConsole() {
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    GetConsoleMode(input, &echoing);
    silenced = true;
    SetConsoleMode(input, echoing & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
}

void restoreConsole() {
    if (silenced.exchange(false))
        SetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), echoing);
}
