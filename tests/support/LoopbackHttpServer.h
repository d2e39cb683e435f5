#pragma once
// A small HTTP server for tests: it listens on 127.0.0.1 on a port of its own, answers every
// request with a reply the test describes (any status, content type, length, a body split into
// pieces with pauses, a stall or an early close) and records the requests it saw. Each
// connection is served on its own thread and closed after one reply.
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

struct THttpReply {
    int Status = 200;
    std::string Reason;  // empty: the usual phrase for the status
    std::vector<std::pair<std::string, std::string>> Headers;  // sent in this order
    std::string Body;
    bool SendContentLength = true;  // adds "Content-Length" with the body's size
    std::vector<size_t> Pieces;     // the body goes in pieces of these sizes, then the rest
    int PauseMs = 0;                // between pieces
    bool StallBeforeReply = false;     // send nothing at all until released
    std::optional<size_t> StallAfter;  // after so many body bytes, wait until released
    std::optional<size_t> CloseAfter;  // after so many body bytes, close the connection
};

struct THttpRequest {
    std::string Method, Target, Version;
    std::vector<std::pair<std::string, std::string>> Headers;
    std::string Raw;
    // The value of a header, names compared without regard to case; empty when absent.
    std::string Header(const std::string& name) const;
    bool HasHeader(const std::string& name) const;
};

class TLoopbackTls;
struct ssl_st;

class TLoopbackHttpServer {
public:
    // With tls the server speaks https, with a certificate of its own (CertificatePem).
    explicit TLoopbackHttpServer(bool tls = false);
    ~TLoopbackHttpServer();
    TLoopbackHttpServer(const TLoopbackHttpServer&) = delete;
    TLoopbackHttpServer& operator=(const TLoopbackHttpServer&) = delete;

    int Port() const { return port_; }
    std::string Url(const std::string& path) const;
    std::string CertificatePem() const;

    void SetReply(THttpReply reply);
    // Every request is taken and never answered until the stalls are released.
    void SetSilent();
    void SetHandler(std::function<THttpReply(const THttpRequest&)> handler);

    std::vector<THttpRequest> Requests() const;
    bool WaitForRequests(size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(10));
    // Waits until a reply has reached its stall point.
    bool WaitForStall(std::chrono::milliseconds timeout = std::chrono::seconds(10));
    // Lets stalled replies go on.
    void ReleaseStalls();
    // Waits until every connection so far has been answered and closed.
    bool WaitForIdle(std::chrono::milliseconds timeout = std::chrono::seconds(10));

private:
    void AcceptLoop();
    void Serve(int fd);
    bool SendAll(int fd, ssl_st* ssl, const char* data, size_t size);
    // Holds a reply until the stalls are released; false when stopping.
    bool Stall();
    // Waits for the predicate or stop; false when stopping.
    bool WaitUntil(const std::function<bool()>& ready, std::optional<std::chrono::milliseconds> limit);

    std::unique_ptr<TLoopbackTls> tls_;
    int listenFd_ = -1;
    int wakePipe_[2] = {-1, -1};
    int port_ = 0;
    std::thread acceptThread_;
    std::vector<std::thread> connections_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool stopping_ = false;
    bool released_ = false;
    int stalled_ = 0;
    int active_ = 0;
    std::function<THttpReply(const THttpRequest&)> handler_;
    std::vector<THttpRequest> requests_;
};
