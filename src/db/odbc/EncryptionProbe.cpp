#include "EncryptionProbe.h"

#include "OdbcConnectionString.h"

#include <gnutls/gnutls.h>
#include <gnutls/x509.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>
#include <optional>

namespace {

constexpr unsigned char kPreLogin = 0x12;
constexpr char kEncryptOn = 0x01;
constexpr char kEncryptNotSupported = 0x02;

// A TCP connection to the server, closed when it goes; every wait ends at the deadline.
class ProbeSocket {
public:
    ProbeSocket(const SqlServerAddress& address, std::chrono::steady_clock::time_point deadline)
        : deadline_(deadline) {
        addrinfo hints{};
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* found = nullptr;
        const std::string port = std::to_string(address.port.value_or(1433));
        if (getaddrinfo(address.host.c_str(), port.c_str(), &hints, &found) != 0)
            return;
        for (addrinfo* at = found; at && fd_ < 0; at = at->ai_next) {
            fd_ = socket(at->ai_family, at->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK,
                         at->ai_protocol);
            if (fd_ >= 0 && connect(fd_, at->ai_addr, at->ai_addrlen) != 0 &&
                !(errno == EINPROGRESS && waitFor(POLLOUT) && connected())) {
                close(fd_);
                fd_ = -1;
            }
        }
        freeaddrinfo(found);
    }
    ~ProbeSocket() {
        if (fd_ >= 0)
            close(fd_);
    }
    bool ok() const { return fd_ >= 0; }

    bool sendPacket(std::string_view payload) {
        std::string packet(8, '\0');
        packet[0] = static_cast<char>(kPreLogin);
        packet[1] = 1; // end of message
        packet[2] = static_cast<char>((payload.size() + 8) >> 8);
        packet[3] = static_cast<char>((payload.size() + 8) & 0xFF);
        packet += payload;
        for (std::string_view rest = packet; !rest.empty();) {
            if (!waitFor(POLLOUT))
                return false;
            const ssize_t n = send(fd_, rest.data(), rest.size(), MSG_NOSIGNAL);
            if (n <= 0)
                return false;
            rest.remove_prefix(static_cast<std::size_t>(n));
        }
        return true;
    }
    // One packet's payload.
    std::optional<std::string> readPacket() {
        char header[8];
        if (!readExactly(header, 8))
            return std::nullopt;
        const std::size_t length =
            (static_cast<unsigned char>(header[2]) << 8) | static_cast<unsigned char>(header[3]);
        if (length < 8)
            return std::nullopt;
        std::string payload(length - 8, '\0');
        if (!readExactly(payload.data(), payload.size()))
            return std::nullopt;
        return payload;
    }

private:
    bool waitFor(short events) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline_ - std::chrono::steady_clock::now());
        pollfd p{fd_, events, 0};
        return left.count() > 0 && poll(&p, 1, static_cast<int>(left.count())) == 1;
    }
    bool connected() const {
        int error = 0;
        socklen_t length = sizeof error;
        return getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
    }
    bool readExactly(char* out, std::size_t size) {
        while (size > 0) {
            if (!waitFor(POLLIN))
                return false;
            const ssize_t n = recv(fd_, out, size, 0);
            if (n <= 0)
                return false;
            out += n;
            size -= static_cast<std::size_t>(n);
        }
        return true;
    }

    int fd_ = -1;
    std::chrono::steady_clock::time_point deadline_;
};

// The ENCRYPTION answer of the server's pre-login, or none.
std::optional<char> encryptionAnswer(const std::string& answer) {
    for (std::size_t at = 0; at + 5 <= answer.size() && answer[at] != '\xFF'; at += 5) {
        const std::size_t offset = (static_cast<unsigned char>(answer[at + 1]) << 8) |
                                   static_cast<unsigned char>(answer[at + 2]);
        if (answer[at] == 0x01 && offset < answer.size())
            return answer[offset];
    }
    return std::nullopt;
}

// TLS records travel in pre-login packets until the handshake is done.
struct HandshakeTransport {
    ProbeSocket& socket;
    std::string received;
};

ssize_t pushRecords(gnutls_transport_ptr_t transport, const void* data, size_t size) {
    auto& t = *static_cast<HandshakeTransport*>(transport);
    return t.socket.sendPacket({static_cast<const char*>(data), size}) ? static_cast<ssize_t>(size)
                                                                       : -1;
}

ssize_t pullRecords(gnutls_transport_ptr_t transport, void* data, size_t size) {
    auto& t = *static_cast<HandshakeTransport*>(transport);
    if (t.received.empty()) {
        auto payload = t.socket.readPacket();
        if (!payload)
            return -1;
        t.received = std::move(*payload);
    }
    const std::size_t n = std::min(size, t.received.size());
    std::memcpy(data, t.received.data(), n);
    t.received.erase(0, n);
    return static_cast<ssize_t>(n);
}

using Credentials =
    std::unique_ptr<gnutls_certificate_credentials_st, void (*)(gnutls_certificate_credentials_t)>;

// The authorities to trust: the file's or the system's; none when the file has none.
Credentials trustedAuthorities(const std::string& file, int& loaded) {
    gnutls_certificate_credentials_t credentials = nullptr;
    gnutls_certificate_allocate_credentials(&credentials);
    Credentials owned(credentials, gnutls_certificate_free_credentials);
    loaded = file.empty() ? gnutls_certificate_set_x509_system_trust(credentials)
                          : gnutls_certificate_set_x509_trust_file(credentials, file.c_str(),
                                                                   GNUTLS_X509_FMT_PEM);
    return owned;
}

} // namespace

void checkCertificateAuthorityFile(const ConnectionSettings& settings) {
    if (settings.encryption == Encryption::optional || settings.trustServerCertificate ||
        settings.certificateAuthorityFile.empty())
        return;
    int loaded = 0;
    trustedAuthorities(settings.certificateAuthorityFile, loaded);
    if (loaded <= 0)
        throw ConnectError(ConnectFailure::unusableSetting,
                           "证书文件“" + settings.certificateAuthorityFile +
                               "”不存在、无法读取或其中没有证书",
                           "no certificate in " + settings.certificateAuthorityFile);
}

ConnectFailure probeEncryption(const ConnectionSettings& settings, int timeoutSeconds) {
    const SqlServerAddress address = parseSqlServerAddress(settings.server);
    if (!address.instance.empty() && !address.port)
        return ConnectFailure::encryptionFailed; // its port is the browser service's to tell
    ProbeSocket socket(address,
                       std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds));
    // VERSION (6 bytes at 11) and ENCRYPTION (1 byte at 17): encryption wanted.
    const std::string preLogin = std::string("\x00\x00\x0B\x00\x06"
                                             "\x01\x00\x11\x00\x01"
                                             "\xFF"
                                             "\x00\x00\x00\x00\x00\x00",
                                             17) +
                                 kEncryptOn;
    if (!socket.ok() || !socket.sendPacket(preLogin))
        return ConnectFailure::encryptionFailed;
    const auto answer = socket.readPacket();
    const auto encryption = answer ? encryptionAnswer(*answer) : std::nullopt;
    if (!encryption)
        return ConnectFailure::encryptionFailed;
    if (*encryption == kEncryptNotSupported)
        return ConnectFailure::serverCannotEncrypt;
    if (settings.trustServerCertificate)
        return ConnectFailure::encryptionFailed; // nothing of the certificate was checked

    int loaded = 0;
    const Credentials credentials = trustedAuthorities(settings.certificateAuthorityFile, loaded);
    gnutls_session_t session = nullptr;
    gnutls_init(&session, GNUTLS_CLIENT);
    const std::unique_ptr<gnutls_session_int, void (*)(gnutls_session_t)> owned(session,
                                                                                gnutls_deinit);
    gnutls_set_default_priority(session);
    gnutls_credentials_set(session, GNUTLS_CRD_CERTIFICATE, credentials.get());
    HandshakeTransport transport{socket, {}};
    gnutls_transport_set_ptr(session, &transport);
    gnutls_transport_set_push_function(session, pushRecords);
    gnutls_transport_set_pull_function(session, pullRecords);
    int rc = 0;
    do
        rc = gnutls_handshake(session);
    while (rc < 0 && !gnutls_error_is_fatal(rc));
    if (rc < 0)
        return ConnectFailure::encryptionFailed;
    unsigned status = 0;
    if (gnutls_certificate_verify_peers3(session, address.host.c_str(), &status) < 0)
        return ConnectFailure::encryptionFailed;
    // A certificate from no trusted authority says nothing of its host name.
    constexpr unsigned untrusted = GNUTLS_CERT_SIGNER_NOT_FOUND | GNUTLS_CERT_SIGNER_NOT_CA |
                                   GNUTLS_CERT_REVOKED | GNUTLS_CERT_EXPIRED |
                                   GNUTLS_CERT_NOT_ACTIVATED | GNUTLS_CERT_INSECURE_ALGORITHM;
    if (status & untrusted)
        return ConnectFailure::certificateUntrusted;
    if (status & GNUTLS_CERT_UNEXPECTED_OWNER)
        return ConnectFailure::certificateHostName;
    return status != 0 ? ConnectFailure::certificateUntrusted : ConnectFailure::encryptionFailed;
}
