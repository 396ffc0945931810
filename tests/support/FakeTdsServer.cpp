#include "FakeTdsServer.h"

#include "LoopbackSocket.h"
#include "connection/Utf16.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <vector>

namespace {

constexpr int kWaitMilliseconds = 20'000;

bool readExactly(int fd, unsigned char* out, std::size_t size) {
    while (size > 0) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, kWaitMilliseconds) <= 0)
            return false;
        const ssize_t n = read(fd, out, size);
        if (n <= 0)
            return false;
        out += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// Reads one TDS message (packets up to the end-of-message flag) and returns its payload.
std::vector<unsigned char> readMessage(int fd) {
    std::vector<unsigned char> payload;
    for (;;) {
        unsigned char header[8];
        if (!readExactly(fd, header, 8))
            return {};
        const std::size_t length = (header[2] << 8) | header[3];
        if (length < 8)
            return {};
        const std::size_t start = payload.size();
        payload.resize(start + length - 8);
        if (!readExactly(fd, payload.data() + start, length - 8))
            return {};
        if (header[1] & 0x01)
            return payload;
    }
}

// A pre-login answer: server version 15.0.2000, encryption not supported.
void answerPreLogin(int fd) {
    const unsigned char reply[] = {0x04, 0x01, 0x00, 8 + 18, 0x00, 0x00, 0x01,
                                   0x00, 0x00, 0x00, 11,     0x00, 6, // VERSION at 11, 6 bytes
                                   0x01, 0x00, 17,   0x00,   1,       // ENCRYPTION at 17, 1 byte
                                   0xFF,                              // end of options
                                   0x0F, 0x00, 0x07, 0xD0,   0x00, 0x00, 0x02};
    (void)!write(fd, reply, sizeof reply);
}

std::uint16_t le16(const std::vector<unsigned char>& data, std::size_t at) {
    return static_cast<std::uint16_t>(data[at] | (data[at + 1] << 8));
}

// A LOGIN7 text field: offset and length (in characters) stand at `at`; the password's bytes
// are stored with their nibbles swapped and XORed with 0xA5.
std::string loginField(const std::vector<unsigned char>& login, std::size_t at, bool password) {
    const std::size_t offset = le16(login, at);
    const std::size_t chars = le16(login, at + 2);
    if (offset + chars * 2 > login.size())
        return {};
    std::u16string text;
    for (std::size_t i = 0; i < chars; ++i) {
        unsigned char bytes[2] = {login[offset + 2 * i], login[offset + 2 * i + 1]};
        if (password)
            for (unsigned char& b : bytes) {
                b ^= 0xA5;
                b = static_cast<unsigned char>((b << 4) | (b >> 4));
            }
        text += static_cast<char16_t>(bytes[0] | (bytes[1] << 8));
    }
    std::string out;
    appendUtf16AsUtf8(text.data(), text.size(), out);
    return out;
}

} // namespace

FakeTdsServer::FakeTdsServer(Mode mode) : mode_(mode) {
    listener_ = bindLoopbackSocket(port_);
    listen(listener_, 1);
    thread_ = std::thread([this] { serve(); });
}

FakeTdsServer::~FakeTdsServer() {
    wait();
    close(listener_);
}

void FakeTdsServer::wait() {
    if (thread_.joinable())
        thread_.join();
}

void FakeTdsServer::serve() {
    pollfd p{listener_, POLLIN, 0};
    if (poll(&p, 1, kWaitMilliseconds) <= 0)
        return;
    const int fd = accept(listener_, nullptr, nullptr);
    if (fd < 0)
        return;
    if (mode_ == Mode::Silent) {
        unsigned char sink[512];
        pollfd c{fd, POLLIN, 0};
        while (poll(&c, 1, kWaitMilliseconds) > 0 && read(fd, sink, sizeof sink) > 0) {
        }
    } else if (!readMessage(fd).empty()) {
        answerPreLogin(fd);
        const std::vector<unsigned char> login = readMessage(fd);
        if (login.size() >= 72) {
            user_ = loginField(login, 40, false);
            password_ = loginField(login, 44, true);
            database_ = loginField(login, 68, false);
        }
    }
    close(fd);
}
