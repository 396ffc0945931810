#include "TdsServer.h"

#include "TdsBytes.h"
#include "TdsChannel.h"
#include "TdsTokens.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <optional>
#include <stdexcept>

namespace {

constexpr int kPollMilliseconds = 50;

constexpr unsigned char kSqlBatch = 0x01;
constexpr unsigned char kAttention = 0x06;
constexpr unsigned char kLogin7 = 0x10;
constexpr unsigned char kReply = 0x04;

// The pre-login's ENCRYPTION values.
constexpr char kEncryptOff = 0x00;
constexpr char kEncryptOn = 0x01;
constexpr char kEncryptNotSupported = 0x02;
constexpr char kEncryptRequired = 0x03;

// Called before each write with the bytes written so far; false ends the answer.
using BeforeWrite = std::function<bool(std::size_t written)>;

// Sends an answer in reply packets of the negotiated size, many packets to a write (up to
// `writeBytes`).
bool sendReply(tds::Channel& channel, std::string_view tokens, std::size_t packetSize,
               const BeforeWrite& beforeWrite = {}, std::size_t writeBytes = 1U << 18,
               bool endOfMessage = true) {
    const std::size_t room = packetSize - 8;
    std::string out;
    std::size_t written = 0;
    unsigned char packetId = 1;
    std::size_t at = 0;
    do {
        const std::size_t part = std::min(room, tokens.size() - at);
        const bool last = at + part == tokens.size();
        const std::size_t length = part + 8;
        tds::appendPacketHeader(out, kReply, last && endOfMessage, length, packetId++);
        out.append(tokens.substr(at, part));
        at += part;
        if (out.size() >= writeBytes || last) {
            if ((beforeWrite && !beforeWrite(written)) || !channel.writeAll(out))
                return false;
            written += out.size();
            out.clear();
        }
    } while (at < tokens.size());
    return true;
}

// The client's ENCRYPTION option in its pre-login, NOT_SUP when it sent none.
char clientEncryption(const std::string& preLogin) {
    for (std::size_t at = 0; at + 5 <= preLogin.size() && preLogin[at] != '\xFF'; at += 5) {
        const std::size_t offset = (static_cast<unsigned char>(preLogin[at + 1]) << 8) |
                                   static_cast<unsigned char>(preLogin[at + 2]);
        if (preLogin[at] == 0x01 && offset < preLogin.size())
            return preLogin[offset];
    }
    return kEncryptNotSupported;
}

// What the server answers to the client's ENCRYPTION, as SQL Server decides it.
char encryptionAnswer(TdsServerOptions::Encryption server, char client) {
    if (server == TdsServerOptions::Encryption::unsupported)
        return kEncryptNotSupported;
    if (server == TdsServerOptions::Encryption::required)
        return kEncryptRequired;
    if (client == kEncryptRequired)
        return kEncryptOn;
    return client;
}

// The pre-login answer: server version 15.0.2000 and the encryption answer.
bool answerPreLogin(tds::Channel& channel, char encryption) {
    const std::string options = std::string("\x00\x00\x0B\x00\x06" // VERSION at 11, 6 bytes
                                            "\x01\x00\x11\x00\x01" // ENCRYPTION at 17, 1 byte
                                            "\xFF"                 // end of options
                                            "\x0F\x00\x07\xD0\x00\x00",
                                            17) +
                                encryption;
    return sendReply(channel, options, 4096);
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
    : responder_(std::move(responder)), options_(std::move(options)) {
    if (options_.encryption != TdsServerOptions::Encryption::unsupported) {
        tlsContext_ = tds::tlsServerContext(options_.certificateFile, options_.keyFile);
        if (!tlsContext_)
            throw std::runtime_error("no certificate and key in " + options_.certificateFile);
    }
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

std::size_t TdsServer::accepted() const {
    std::lock_guard lock(mutex_);
    return connections_.size(); // one thread a connection, kept until the server stops
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
    tds::Channel channel(fd, stopping_);
    std::size_t packetSize = 4096;
    bool loggedIn = false;
    bool loginOnlyEncrypted = false;
    while (auto message = channel.readMessage()) {
        if (options_.silent)
            continue;
        if (silentNow_) { // heard, never answered
            if (message->type == kSqlBatch) {
                std::lock_guard lock(mutex_);
                batches_.push_back(batchText(message->payload));
            }
            continue;
        }
        if (message->type == tds::kPreLoginPacket && !loggedIn) {
            const char client = clientEncryption(message->payload);
            const char answer = encryptionAnswer(options_.encryption, client);
            if (!answerPreLogin(channel, answer))
                break;
            if (answer == kEncryptNotSupported || client == kEncryptNotSupported)
                continue; // a plain log-in follows, or the client gives up
            if (!channel.startTls(tlsContext_.get()))
                break;
            loginOnlyEncrypted = answer == kEncryptOff;
        } else if (message->type == kLogin7 && message->payload.size() >= 72) {
            const std::string& login = message->payload;
            Login values{loginField(login, 40, false),
                         loginField(login, 44, true),
                         loginField(login, 68, false),
                         (static_cast<unsigned char>(login[26]) & 0x20) != 0,
                         channel.tls() && !loginOnlyEncrypted,
                         (static_cast<unsigned char>(login[25]) & 0x80) != 0};
            if (values.integrated && login.size() >= 82) {
                const std::size_t at = tds::readLe16(login, 78);
                const std::size_t bytes = tds::readLe16(login, 80);
                if (at + bytes <= login.size())
                    values.securityToken = login.substr(at, bytes);
            }
            {
                std::lock_guard lock(mutex_);
                logins_.push_back(values);
            }
            if (loginOnlyEncrypted)
                channel.endTls();
            packetSize = std::clamp<std::size_t>(tds::readLe32(login, 8), 512, 32767);
            if (options_.refuseLogin || values.integrated) {
                sendReply(channel,
                          values.integrated ? tds::untrustedDomainTokens()
                                            : tds::loginRefusedTokens(values.user),
                          packetSize);
                break;
            }
            loggedIn = sendReply(channel, tds::loginAcceptedTokens(values.database, packetSize),
                                 packetSize);
        } else if (message->type == kSqlBatch && loggedIn) {
            std::string text = batchText(message->payload);
            {
                std::lock_guard lock(mutex_);
                batches_.push_back(text);
            }
            const auto reply = responder_ ? responder_(text) : nullptr;
            const Misbehaviour wrong = reply ? misbehaviour_.load() : Misbehaviour::none;
            if (wrong == Misbehaviour::neverAnswer) {
                while (channel.readMessage()) {
                } // a cancel included, until the client or the server goes
                break;
            }
            // A slow statement: an attention while it "runs" ends it without its result.
            const int answerAfterMs =
                wrong == Misbehaviour::slowAnswer ? 10000 : options_.answerAfterMs;
            if (answerAfterMs > 0) {
                pollfd p{fd, POLLIN, 0};
                if (poll(&p, 1, answerAfterMs) > 0) {
                    const auto attention = channel.readMessage();
                    if (attention && attention->type == kAttention &&
                        sendReply(channel, tds::doneToken(tds::kDoneAttention, 0), packetSize))
                        continue;
                    break;
                }
            }
            const std::string done = reply ? std::string() : tds::doneToken(0, 0);
            const std::string_view answer = reply ? std::string_view(*reply) : done;
            if (wrong != Misbehaviour::none) {
                if (!sendWrongly(channel, answer, packetSize))
                    break;
            } else if (!sendAnswer(channel, answer, packetSize)) {
                break;
            }
        } else if (message->type == kAttention) {
            if (!sendReply(channel, tds::doneToken(tds::kDoneAttention, 0), packetSize))
                break;
        } else if (!sendReply(channel, tds::doneToken(0, 0), packetSize)) {
            break;
        }
    }
    std::lock_guard lock(mutex_);
    openFds_.erase(std::find(openFds_.begin(), openFds_.end(), fd));
    close(fd);
}

bool TdsServer::sendAnswer(tds::Channel& channel, std::string_view tokens, std::size_t packetSize) {
    const auto start = std::chrono::steady_clock::now();
    answerStarted_ = start.time_since_epoch().count();
    if (options_.bytesPerSecond == 0 && options_.holdAfterBytes == 0)
        return sendReply(channel, tokens, packetSize);
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
    return sendReply(channel, tokens, packetSize, beforeWrite, 4U << 10);
}

bool TdsServer::sendWrongly(tds::Channel& channel, std::string_view tokens,
                            std::size_t packetSize) {
    const std::size_t cut = tokens.size() * 3 / 5; // within a row of any answer with rows
    switch (misbehaviour_.load()) {
    case Misbehaviour::closeMidRow:
        sendReply(channel, tokens.substr(0, cut), packetSize, {}, 1U << 18, false);
        return false;
    case Misbehaviour::truncatedAnswer: {
        // The rest never comes; the connection goes after two seconds of that, as a stalled
        // link's does in the end. What comes is little enough for the socket's buffers: a
        // client that stops reading, cancelling, cannot hold the server in its write.
        sendReply(channel, tokens.substr(0, std::min<std::size_t>(cut, 16U << 10)), packetSize);
        for (int waited = 0; waited < 2000 && !stopping_; waited += 50)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        return false;
    }
    case Misbehaviour::unknownToken:
        return sendReply(channel, "\x55" + std::string(tokens), packetSize);
    case Misbehaviour::wrongColumnType: {
        // The first column announced as a 4-byte integer: its type information and every
        // value after it read out of step.
        std::string lying(tokens);
        if (lying.size() > 10 && static_cast<unsigned char>(lying[0]) == 0x81) {
            lying[9] = 0x26;
            lying[10] = 0x04;
        }
        return sendReply(channel, lying, packetSize);
    }
    case Misbehaviour::slowAnswer:
    case Misbehaviour::neverAnswer:
    case Misbehaviour::none:
        break;
    }
    return sendReply(channel, tokens, packetSize);
}
