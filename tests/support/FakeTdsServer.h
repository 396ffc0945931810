#pragma once

#include <string>
#include <thread>

// A stand-in for a SQL Server instance on a loopback port, which cannot run here: it answers
// the client's pre-login, reads the LOGIN7 packet and keeps the user, password and database
// that arrived, then hangs up. Silent, it accepts the connection and never answers, so that
// the client's login time-out has to end the attempt.
class FakeTdsServer {
public:
    enum class Mode { CaptureLogin, Silent };

    explicit FakeTdsServer(Mode mode);
    ~FakeTdsServer();
    FakeTdsServer(const FakeTdsServer&) = delete;
    FakeTdsServer& operator=(const FakeTdsServer&) = delete;

    int port() const { return port_; }
    // Waits for the connection to end; the captured values are empty when no login came.
    void wait();
    const std::string& user() const { return user_; }
    const std::string& password() const { return password_; }
    const std::string& database() const { return database_; }

private:
    void serve();

    Mode mode_;
    int listener_ = -1;
    int port_ = 0;
    std::thread thread_;
    std::string user_;
    std::string password_;
    std::string database_;
};
