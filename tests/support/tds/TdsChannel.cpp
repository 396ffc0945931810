#include "TdsChannel.h"

#include <openssl/bio.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>

namespace tds {

namespace {

constexpr int kPollMilliseconds = 50;
constexpr int kIdleLimitMilliseconds = 60'000;
constexpr std::size_t kHandshakePacketBytes = 4096;

} // namespace

void appendPacketHeader(std::string& out, unsigned char type, bool last, std::size_t length,
                        unsigned char packetId) {
    const char header[8] = {static_cast<char>(type),
                            static_cast<char>(last ? 1 : 0),
                            static_cast<char>(length >> 8),
                            static_cast<char>(length & 0xFF),
                            0,
                            0,
                            static_cast<char>(packetId),
                            0};
    out.append(header, 8);
}

Channel::Channel(int fd, const std::atomic<bool>& stopping) : fd_(fd), stopping_(stopping) {}

Channel::~Channel() {
    endTls();
}

long Channel::readRaw(char* out, std::size_t size) {
    for (int idle = 0;;) {
        pollfd p{fd_, POLLIN, 0};
        const int ready = poll(&p, 1, kPollMilliseconds);
        if (stopping_ || ready < 0 ||
            (ready == 0 && (idle += kPollMilliseconds) > kIdleLimitMilliseconds))
            return 0;
        if (ready > 0)
            return std::max<long>(read(fd_, out, size), 0);
    }
}

bool Channel::sendRaw(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

std::string Channel::tlsOutput() {
    std::string out;
    char buffer[16384];
    for (int n; (n = BIO_read(SSL_get_wbio(ssl_), buffer, sizeof buffer)) > 0;)
        out.append(buffer, static_cast<std::size_t>(n));
    return out;
}

bool Channel::readExactly(char* out, std::size_t size) {
    while (size > 0) {
        long n = 0;
        if (!ssl_) {
            n = readRaw(out, size);
        } else {
            // Records come off the socket into TLS until it has plain bytes to give.
            while ((n = SSL_read(ssl_, out, static_cast<int>(size))) <= 0) {
                if (SSL_get_error(ssl_, static_cast<int>(n)) != SSL_ERROR_WANT_READ)
                    return false;
                char record[16384];
                const long got = readRaw(record, sizeof record);
                if (got <= 0)
                    return false;
                BIO_write(SSL_get_rbio(ssl_), record, static_cast<int>(got));
            }
        }
        if (n <= 0)
            return false;
        out += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

std::optional<Message> Channel::readMessage() {
    Message message;
    for (;;) {
        char header[8];
        if (!readExactly(header, 8))
            return std::nullopt;
        const std::size_t length =
            (static_cast<unsigned char>(header[2]) << 8) | static_cast<unsigned char>(header[3]);
        if (length < 8)
            return std::nullopt;
        message.type = static_cast<unsigned char>(header[0]);
        const std::size_t start = message.payload.size();
        message.payload.resize(start + length - 8);
        if (!readExactly(message.payload.data() + start, length - 8))
            return std::nullopt;
        if (header[1] & 0x01)
            return message;
    }
}

bool Channel::writeAll(std::string_view bytes) {
    if (!ssl_)
        return sendRaw(bytes);
    if (SSL_write(ssl_, bytes.data(), static_cast<int>(bytes.size())) <= 0)
        return false;
    return sendRaw(tlsOutput());
}

bool Channel::startTls(SSL_CTX* context) {
    ssl_ = SSL_new(context);
    SSL_set_bio(ssl_, BIO_new(BIO_s_mem()), BIO_new(BIO_s_mem()));
    SSL_set_accept_state(ssl_);
    SSL* const handshaking = ssl_;
    ssl_ = nullptr; // the handshake's records go in pre-login packets, not as plain TLS
    for (;;) {
        const int rc = SSL_do_handshake(handshaking);
        ssl_ = handshaking;
        const std::string flight = tlsOutput();
        ssl_ = nullptr;
        std::string packets;
        unsigned char packetId = 1;
        for (std::size_t at = 0; at < flight.size(); at += kHandshakePacketBytes - 8) {
            const std::size_t part = std::min(kHandshakePacketBytes - 8, flight.size() - at);
            appendPacketHeader(packets, kPreLoginPacket, at + part == flight.size(), part + 8,
                               packetId++);
            packets.append(flight, at, part);
        }
        if (!sendRaw(packets))
            break;
        if (rc == 1) {
            ssl_ = handshaking;
            return true;
        }
        if (SSL_get_error(handshaking, rc) != SSL_ERROR_WANT_READ)
            break;
        const auto message = readMessage();
        if (!message || message->type != kPreLoginPacket)
            break;
        BIO_write(SSL_get_rbio(handshaking), message->payload.data(),
                  static_cast<int>(message->payload.size()));
    }
    SSL_free(handshaking);
    return false;
}

void Channel::endTls() {
    SSL_free(ssl_);
    ssl_ = nullptr;
}

std::shared_ptr<SSL_CTX> tlsServerContext(const std::string& certificateFile,
                                          const std::string& keyFile) {
    std::shared_ptr<SSL_CTX> context(SSL_CTX_new(TLS_server_method()), SSL_CTX_free);
    if (!context ||
        SSL_CTX_use_certificate_chain_file(context.get(), certificateFile.c_str()) != 1 ||
        SSL_CTX_use_PrivateKey_file(context.get(), keyFile.c_str(), SSL_FILETYPE_PEM) != 1)
        return nullptr;
    SSL_CTX_set_max_proto_version(context.get(), TLS1_2_VERSION);
    return context;
}

} // namespace tds
