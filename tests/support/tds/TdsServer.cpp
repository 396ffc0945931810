#include "TdsServer.h"

#include "TdsBytes.h"
#include "TdsTokens.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <optional>

namespace {

constexpr int kPollMilliseconds = 50;
constexpr int kIdleLimitMilliseconds = 60'000;

constexpr unsigned char kSqlBatch = 0x01;
constexpr unsigned char kAttention = 0x06;
constexpr unsigned char kLogin7 = 0x10;
constexpr unsigned char kPreLogin = 0x12;
constexpr unsigned char kReply = 0x04;

struct Message {
    unsigned char type = 0;
    std::string payload;
};

bool readExactly(int fd, char* out, std::size_t size, const std::atomic<bool>& stopping) {
    int idle = 0;
    while (size > 0) {
        pollfd p{fd, POLLIN, 0};
        const int ready = poll(&p, 1, kPollMilliseconds);
        if (stopping || ready < 0 ||
            (ready == 0 && (idle += kPollMilliseconds) > kIdleLimitMilliseconds))
            return false;
        if (ready == 0)
            continue;
        const ssize_t n = read(fd, out, size);
        if (n <= 0)
            return false;
        out += n;
        size -= static_cast<std::size_t>(n);
        idle = 0;
    }
    return true;
}

// One message: its packets up to the one with the end-of-message flag.
std::optional<Message> readMessage(int fd, const std::atomic<bool>& stopping) {
    Message message;
    for (;;) {
        char header[8];
        if (!readExactly(fd, header, 8, stopping))
            return std::nullopt;
        const std::size_t length =
            (static_cast<unsigned char>(header[2]) << 8) | static_cast<unsigned char>(header[3]);
        if (length < 8)
            return std::nullopt;
        message.type = static_cast<unsigned char>(header[0]);
        const std::size_t start = message.payload.size();
        message.payload.resize(start + length - 8);
        if (!readExactly(fd, message.payload.data() + start, length - 8, stopping))
            return std::nullopt;
        if (header[1] & 0x01)
            return message;
    }
}

bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = send(fd, data, size, MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// Called before each write with the bytes written so far; false ends the answer.
using BeforeWrite = std::function<bool(std::size_t written)>;

// Sends an answer in reply packets of the negotiated size, many packets to a write (up to
// `writeBytes`).
bool sendReply(int fd, std::string_view tokens, std::size_t packetSize,
               const BeforeWrite& beforeWrite = {}, std::size_t writeBytes = 1U << 18) {
    const std::size_t room = packetSize - 8;
    std::string out;
    std::size_t written = 0;
    unsigned char packetId = 1;
    std::size_t at = 0;
    do {
        const std::size_t part = std::min(room, tokens.size() - at);
        const bool last = at + part == tokens.size();
        const std::size_t length = part + 8;
        const char header[8] = {static_cast<char>(kReply),
                                static_cast<char>(last ? 1 : 0),
                                static_cast<char>(length >> 8),
                                static_cast<char>(length & 0xFF),
                                0,
                                0,
                                static_cast<char>(packetId++),
                                0};
        out.append(header, 8);
        out.append(tokens.substr(at, part));
        at += part;
        if (out.size() >= writeBytes || last) {
            if ((beforeWrite && !beforeWrite(written)) || !writeAll(fd, out.data(), out.size()))
                return false;
            written += out.size();
            out.clear();
        }
    } while (at < tokens.size());
    return true;
}

// The pre-login answer: server version 15.0.2000, encryption not supported.
bool answerPreLogin(int fd) {
    const std::string options("\x00\x00\x0B\x00\x06" // VERSION at 11, 6 bytes
                              "\x01\x00\x11\x00\x01" // ENCRYPTION at 17, 1 byte
                              "\xFF"                 // end of options
                              "\x0F\x00\x07\xD0\x00\x00"
                              "\x02",
                              18);
    return sendReply(fd, options, 4096);
}

// A LOGIN7 text field: offset and length (in characters) stand at `at`; the password's bytes
// are stored with their nibbles swapped and XORed with 0xA5.
std::string loginField(const std::string& login, std::size_t at, bool password) {
    const std::size_t offset = tds::readLe16(login, at);
    const std::size_t chars = tds::readLe16(login, at + 2);
    if (offset + chars * 2 > login.size())
        return {};
    std::string bytes = login.substr(offset, chars * 2);
    if (password)
        for (char& c : bytes) {
            auto b = static_cast<unsigned char>(c ^ 0xA5);
            c = static_cast<char>((b << 4) | (b >> 4));
        }
    return tds::utf8FromUcs2(bytes);
}

// The batch text after the ALL_HEADERS block that TDS 7.2 and later put before it.
std::string batchText(const std::string& payload) {
    std::size_t skip = 0;
    if (payload.size() >= 4) {
        const std::uint32_t headers = tds::readLe32(payload, 0);
        if (headers >= 4 && headers <= payload.size())
            skip = headers;
    }
    return tds::utf8FromUcs2(std::string_view(payload).substr(skip));
}

int listenOnLoopback(int wantedPort, int& port) {
    // Not inherited: a client program started by the test would keep the port listening.
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int yes = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(wantedPort));
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
    listen(fd, 8);
    return fd;
}

} // namespace

TdsServer::TdsServer(Responder responder, TdsServerOptions options)
    : responder_(std::move(responder)), options_(options) {
    listener_ = listenOnLoopback(options.port, port_);
    acceptor_ = std::thread([this] { acceptLoop(); });
}

TdsServer::~TdsServer() {
    // As a server stops: no new clients, then the connections go.
    listening_ = false;
    acceptor_.join();
    close(listener_);
    stopping_ = true;
    dropConnections();
    std::vector<std::thread> threads;
    {
        std::lock_guard lock(mutex_);
        threads.swap(connections_);
    }
    for (std::thread& t : threads)
        t.join();
}

std::string TdsServer::address() const {
    return "127.0.0.1," + std::to_string(port_);
}

std::vector<std::string> TdsServer::batches() const {
    std::lock_guard lock(mutex_);
    return batches_;
}

std::vector<TdsServer::Login> TdsServer::logins() const {
    std::lock_guard lock(mutex_);
    return logins_;
}

void TdsServer::dropConnections() {
    std::lock_guard lock(mutex_);
    for (int fd : openFds_)
        shutdown(fd, SHUT_RDWR);
}

void TdsServer::acceptLoop() {
    while (listening_) {
        pollfd p{listener_, POLLIN, 0};
        if (poll(&p, 1, kPollMilliseconds) <= 0)
            continue;
        const int fd = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            continue;
        std::lock_guard lock(mutex_);
        openFds_.push_back(fd);
        connections_.emplace_back([this, fd] { serve(fd); });
    }
}

void TdsServer::serve(int fd) {
    std::size_t packetSize = 4096;
    bool loggedIn = false;
    while (auto message = readMessage(fd, stopping_)) {
        if (options_.silent)
            continue;
        if (silentNow_) { // heard, never answered
            if (message->type == kSqlBatch) {
                std::lock_guard lock(mutex_);
                batches_.push_back(batchText(message->payload));
            }
            continue;
        }
        if (message->type == kPreLogin && !loggedIn) {
            if (!answerPreLogin(fd))
                break;
        } else if (message->type == kLogin7 && message->payload.size() >= 72) {
            const std::string& login = message->payload;
            const Login values{loginField(login, 40, false), loginField(login, 44, true),
                               loginField(login, 68, false),
                               (static_cast<unsigned char>(login[26]) & 0x20) != 0};
            {
                std::lock_guard lock(mutex_);
                logins_.push_back(values);
            }
            packetSize = std::clamp<std::size_t>(tds::readLe32(login, 8), 512, 32767);
            if (options_.refuseLogin) {
                sendReply(fd, tds::loginRefusedTokens(values.user), packetSize);
                break;
            }
            loggedIn =
                sendReply(fd, tds::loginAcceptedTokens(values.database, packetSize), packetSize);
        } else if (message->type == kSqlBatch && loggedIn) {
            std::string text = batchText(message->payload);
            {
                std::lock_guard lock(mutex_);
                batches_.push_back(text);
            }
            const auto reply = responder_ ? responder_(text) : nullptr;
            // A slow statement: an attention while it "runs" ends it without its result.
            if (options_.answerAfterMs > 0) {
                pollfd p{fd, POLLIN, 0};
                if (poll(&p, 1, options_.answerAfterMs) > 0) {
                    const auto attention = readMessage(fd, stopping_);
                    if (attention && attention->type == kAttention &&
                        sendReply(fd, tds::doneToken(tds::kDoneAttention, 0), packetSize))
                        continue;
                    break;
                }
            }
            if (!sendAnswer(fd, reply ? *reply : tds::doneToken(0, 0), packetSize))
                break;
        } else if (message->type == kAttention) {
            if (!sendReply(fd, tds::doneToken(tds::kDoneAttention, 0), packetSize))
                break;
        } else if (!sendReply(fd, tds::doneToken(0, 0), packetSize)) {
            break;
        }
    }
    std::lock_guard lock(mutex_);
    openFds_.erase(std::find(openFds_.begin(), openFds_.end(), fd));
    close(fd);
}

bool TdsServer::sendAnswer(int fd, std::string_view tokens, std::size_t packetSize) {
    const auto start = std::chrono::steady_clock::now();
    answerStarted_ = start.time_since_epoch().count();
    if (options_.bytesPerSecond == 0 && options_.holdAfterBytes == 0)
        return sendReply(fd, tokens, packetSize);
    const auto beforeWrite = [&](std::size_t written) {
        if (options_.holdAfterBytes > 0 && written >= options_.holdAfterBytes)
            while (!released_ && !stopping_)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
        if (options_.bytesPerSecond > 0)
            std::this_thread::sleep_until(
                start + std::chrono::microseconds(
                            static_cast<long long>(static_cast<double>(written) * 1e6 /
                                                   static_cast<double>(options_.bytesPerSecond))));
        return !stopping_.load();
    };
    // Small writes, so that the pace and the hold keep within a few kilobytes.
    return sendReply(fd, tokens, packetSize, beforeWrite, 4U << 10);
}
