#pragma once

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

typedef struct ssl_ctx_st SSL_CTX;
typedef struct ssl_st SSL;

namespace tds {

inline constexpr unsigned char kPreLoginPacket = 0x12;

// One TDS message: its packets up to the one with the end-of-message flag.
struct Message {
    unsigned char type = 0;
    std::string payload;
};

// The 8-byte header of a packet of `length` bytes in all.
void appendPacketHeader(std::string& out, unsigned char type, bool last, std::size_t length,
                        unsigned char packetId);

// A client connection's byte stream as the server sees it: plain, or through TLS once
// startTls() has run the handshake inside pre-login packets, as SQL Server does.
class Channel {
public:
    Channel(int fd, const std::atomic<bool>& stopping);
    ~Channel();
    Channel(const Channel&) = delete;
    Channel& operator=(const Channel&) = delete;

    std::optional<Message> readMessage();
    bool writeAll(std::string_view bytes);
    // The TLS handshake, its records carried in pre-login packets; false when the client gave
    // up (it did not trust the certificate, say) or the connection ended.
    bool startTls(SSL_CTX* context);
    // Plain bytes again, after a log-in that alone was to be encrypted.
    void endTls();
    bool tls() const { return ssl_ != nullptr; }

private:
    bool readExactly(char* out, std::size_t size);
    // Bytes off the socket, waiting for them; 0 when the connection ended or went idle.
    long readRaw(char* out, std::size_t size);
    bool sendRaw(std::string_view bytes);
    // What TLS wrote into its outgoing buffer, taken out.
    std::string tlsOutput();

    int fd_;
    const std::atomic<bool>& stopping_;
    SSL* ssl_ = nullptr;
};

// A TLS server context with the certificate (its chain after it) and key of PEM files, TLS 1.2
// at most, as SQL Server speaks it inside TDS 7.x. Null when the files cannot be used.
std::shared_ptr<SSL_CTX> tlsServerContext(const std::string& certificateFile,
                                          const std::string& keyFile);

} // namespace tds
