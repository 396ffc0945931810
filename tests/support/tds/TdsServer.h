#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

typedef struct ssl_ctx_st SSL_CTX;
namespace tds {
class Channel;
}

struct TdsServerOptions {
    bool silent = false;
    bool refuseLogin = false;
    int port = 0;          // 0 for any free port; another to start again where a server was
    int answerAfterMs = 0; // how long each batch "runs" before its answer goes out
    // A batch's answer goes out no faster than this, as over a link of that speed (0: at once).
    long bytesPerSecond = 0;
    // A batch's answer stops after this many bytes until releaseHeldAnswer() (0: never).
    std::size_t holdAfterBytes = 0;
    // Whether the server can encrypt (it has a certificate) and whether it insists.
    enum class Encryption { unsupported, supported, required };
    Encryption encryption = Encryption::unsupported;
    std::string certificateFile{}; // PEM, the chain after the server's own certificate
    std::string keyFile{};
};

// A stand-in for SQL Server on a loopback port, speaking as much TDS 7.4 as FreeTDS needs for
// what the program does: it answers the pre-login (encrypting as the options say: the TLS
// handshake inside pre-login packets, then the log-in alone or the whole session), reads the LOGIN7
// (keeping user, password, database, read-only intent and packet size) and accepts it with the
// database, Chinese_PRC collation and packet size, or refuses it as SQL Server does (error
// 18456; a Windows login always, with 18452); it records the text of every SQL batch (the
// ALL_HEADERS skipped, UTF-16 decoded) and answers it with what the responder gives, a result set
// (see tds::Table) or an error, or with a bare DONE, after a delay if asked to, during which an
// attention ends the batch as it ends a running statement; it answers an attention; and it can drop
// every client connection at once, as a restarting server does. Each connection runs on a thread of
// its own. Silent, it accepts connections and never answers, so that a client's log-in time-out has
// to end the attempt. Not covered: TDS 8 (TLS before the pre-login), RPC calls (sp_executesql,
// prepared statements), server cursors, several result sets to a batch, MARS, integrated log-in.
class TdsServer {
public:
    // The encoded tokens that answer a batch (see tds::Table, tds::errorToken), or null.
    using Responder =
        std::function<std::shared_ptr<const std::string>(const std::string& batchText)>;

    struct Login {
        std::string user;
        std::string password;
        std::string database;
        bool readOnlyIntent = false;
        bool sessionEncrypted = false; // all of it through TLS, not the log-in alone
        // A Windows login: the first token of its negotiation (NTLM, Kerberos), which this
        // server answers by refusing the login, having no domain to ask.
        bool integrated = false;
        std::string securityToken{};
    };

    explicit TdsServer(Responder responder = {}, TdsServerOptions options = {});
    ~TdsServer();
    TdsServer(const TdsServer&) = delete;
    TdsServer& operator=(const TdsServer&) = delete;

    int port() const { return port_; }
    // The "host,port" that a client types for this server.
    std::string address() const;

    // Connections accepted so far.
    std::size_t accepted() const;
    std::vector<std::string> batches() const;
    std::vector<Login> logins() const;
    // Closes every client connection; the server goes on listening.
    void dropConnections();
    // From now on nothing is answered, as by a server process that was stopped; batches are
    // still recorded as they arrive.
    void fallSilent() { silentNow_ = true; }
    // How a batch's answer with rows goes wrong from now on: the connection closed in the
    // middle of a row; the answer's message ended in the middle of a row and nothing more for
    // two seconds, when the connection closes; a token no client knows before it; its first
    // column announced as another type than it holds; the answer after ten seconds (a cancel
    // ends the wait, as SQL Server's does); no answer ever on that session, to a cancel
    // neither, until it closes.
    enum class Misbehaviour {
        none,
        closeMidRow,
        truncatedAnswer,
        unknownToken,
        wrongColumnType,
        slowAnswer,
        neverAnswer
    };
    void misbehave(Misbehaviour misbehaviour) { misbehaviour_ = misbehaviour; }
    // The answers held after holdAfterBytes go on; holdAgain() holds the answers from then on.
    void releaseHeldAnswer() { released_ = true; }
    void holdAgain() { released_ = false; }
    // When the last batch's answer began to go out.
    std::chrono::steady_clock::time_point answerStarted() const {
        return std::chrono::steady_clock::time_point(
            std::chrono::steady_clock::duration(answerStarted_.load()));
    }

private:
    void acceptLoop();
    void serve(int fd);
    // Sends a batch's answer, paced and held as the options ask.
    bool sendAnswer(tds::Channel& channel, std::string_view tokens, std::size_t packetSize);
    bool sendWrongly(tds::Channel& channel, std::string_view tokens, std::size_t packetSize);

    Responder responder_;
    TdsServerOptions options_;
    std::shared_ptr<SSL_CTX> tlsContext_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> listening_{true};
    std::atomic<bool> stopping_{false};
    std::atomic<bool> silentNow_{false};
    std::atomic<Misbehaviour> misbehaviour_{Misbehaviour::none};
    std::atomic<bool> released_{false};
    std::atomic<std::chrono::steady_clock::rep> answerStarted_{0};
    std::thread acceptor_;

    mutable std::mutex mutex_;
    std::vector<std::thread> connections_;
    std::vector<int> openFds_;
    std::vector<std::string> batches_;
    std::vector<Login> logins_;
};
