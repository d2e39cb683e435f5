#include "LoopbackHttpServer.h"

#include "LoopbackTls.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <strings.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
std::string ReasonFor(int status)
{
    switch (status) {
    case 200: return "OK";
    case 204: return "No Content";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 400: return "Bad Request";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    case 503: return "Service Unavailable";
    default: return "Status";
    }
}

THttpRequest Parse(const std::string& raw)
{
    THttpRequest r;
    r.Raw = raw;
    size_t lineEnd = raw.find("\r\n");
    std::string first = raw.substr(0, lineEnd);
    size_t a = first.find(' '), b = first.rfind(' ');
    if (a != std::string::npos && b != a) {
        r.Method = first.substr(0, a);
        r.Target = first.substr(a + 1, b - a - 1);
        r.Version = first.substr(b + 1);
    }
    size_t pos = lineEnd == std::string::npos ? raw.size() : lineEnd + 2;
    while (pos < raw.size()) {
        size_t end = raw.find("\r\n", pos);
        if (end == std::string::npos || end == pos)
            break;
        std::string line = raw.substr(pos, end - pos);
        size_t colon = line.find(':');
        if (colon != std::string::npos) {
            size_t v = line.find_first_not_of(' ', colon + 1);
            r.Headers.emplace_back(line.substr(0, colon), v == std::string::npos ? "" : line.substr(v));
        }
        pos = end + 2;
    }
    return r;
}
}  // namespace

std::string THttpRequest::Header(const std::string& name) const
{
    for (auto& [n, v] : Headers)
        if (strcasecmp(n.c_str(), name.c_str()) == 0)
            return v;
    return {};
}

bool THttpRequest::HasHeader(const std::string& name) const
{
    for (auto& h : Headers)
        if (strcasecmp(h.first.c_str(), name.c_str()) == 0)
            return true;
    return false;
}

TLoopbackHttpServer::TLoopbackHttpServer(bool tls) : tls_(tls ? std::make_unique<TLoopbackTls>() : nullptr)
{
    handler_ = [](const THttpRequest&) { return THttpReply{}; };
    if (::pipe2(wakePipe_, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe");
    listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int one = 1;
    ::setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    if (::bind(listenFd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(listenFd_, 16) != 0)
        throw std::runtime_error("cannot listen on 127.0.0.1");
    socklen_t len = sizeof addr;
    ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
    acceptThread_ = std::thread([this] { AcceptLoop(); });
}

TLoopbackHttpServer::~TLoopbackHttpServer()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    char c = 0;
    (void)!::write(wakePipe_[1], &c, 1);
    acceptThread_.join();
    for (auto& t : connections_)
        t.join();
    ::close(listenFd_);
    ::close(wakePipe_[0]);
    ::close(wakePipe_[1]);
}

std::string TLoopbackHttpServer::Url(const std::string& path) const
{
    return (tls_ ? "https://127.0.0.1:" : "http://127.0.0.1:") + std::to_string(port_) + path;
}

std::string TLoopbackHttpServer::CertificatePem() const { return tls_ ? tls_->CertificatePem() : std::string(); }

void TLoopbackHttpServer::SetReply(THttpReply reply)
{
    SetHandler([reply](const THttpRequest&) { return reply; });
}

void TLoopbackHttpServer::SetSilent()
{
    THttpReply silent;
    silent.StallBeforeReply = true;
    SetReply(silent);
}

void TLoopbackHttpServer::SetHandler(std::function<THttpReply(const THttpRequest&)> handler)
{
    std::lock_guard lock(mutex_);
    handler_ = std::move(handler);
}

std::vector<THttpRequest> TLoopbackHttpServer::Requests() const
{
    std::lock_guard lock(mutex_);
    return requests_;
}

bool TLoopbackHttpServer::WaitForRequests(size_t count, std::chrono::milliseconds timeout)
{
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return requests_.size() >= count; });
}

bool TLoopbackHttpServer::WaitForStall(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return stalled_ > 0; });
}

bool TLoopbackHttpServer::WaitForIdle(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return active_ == 0; });
}

void TLoopbackHttpServer::ReleaseStalls()
{
    {
        std::lock_guard lock(mutex_);
        released_ = true;
    }
    changed_.notify_all();
}

bool TLoopbackHttpServer::WaitUntil(const std::function<bool()>& ready, std::optional<std::chrono::milliseconds> limit)
{
    std::unique_lock lock(mutex_);
    auto done = [&] { return stopping_ || ready(); };
    if (limit)
        changed_.wait_for(lock, *limit, done);
    else
        changed_.wait(lock, done);
    return !stopping_;
}

bool TLoopbackHttpServer::Stall()
{
    {
        std::lock_guard lock(mutex_);
        ++stalled_;
    }
    changed_.notify_all();
    bool going = WaitUntil([&] { return released_; }, std::nullopt);
    std::lock_guard lock(mutex_);
    --stalled_;
    return going;
}

void TLoopbackHttpServer::AcceptLoop()
{
    for (;;) {
        pollfd fds[2] = {{listenFd_, POLLIN, 0}, {wakePipe_[0], POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (fds[1].revents)
            return;
        int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            continue;
        std::lock_guard lock(mutex_);
        ++active_;
        connections_.emplace_back([this, fd] { Serve(fd); });
    }
}

bool TLoopbackHttpServer::SendAll(int fd, ssl_st* ssl, const char* data, size_t size)
{
    if (ssl)
        return TLoopbackTls::Write(ssl, data, size);
    while (size > 0) {
        // A client that stops reading must not hold the server up when it stops.
        pollfd fds[2] = {{fd, POLLOUT, 0}, {wakePipe_[0], POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (fds[1].revents)
            return false;
        ssize_t n = ::send(fd, data, size, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            continue;
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

void TLoopbackHttpServer::Serve(int fd)
{
    std::string raw;
    char buffer[4096];
    ssl_st* ssl = tls_ ? tls_->Accept(fd) : nullptr;
    while ((ssl || !tls_) && raw.find("\r\n\r\n") == std::string::npos && raw.size() < 65536) {
        pollfd fds[2] = {{fd, POLLIN, 0}, {wakePipe_[0], POLLIN, 0}};
        if (!(ssl && TLoopbackTls::Pending(ssl)) && ::poll(fds, 2, -1) < 0 && errno == EINTR)
            continue;
        if (fds[1].revents)
            break;
        ssize_t n = ssl ? TLoopbackTls::Read(ssl, buffer, sizeof buffer) : ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0)
            break;
        raw.append(buffer, static_cast<size_t>(n));
    }
    THttpReply reply;
    bool complete = raw.find("\r\n\r\n") != std::string::npos;
    if (complete) {
        THttpRequest request = Parse(raw.substr(0, raw.find("\r\n\r\n") + 4));
        std::function<THttpReply(const THttpRequest&)> handler;
        {
            std::lock_guard lock(mutex_);
            requests_.push_back(request);
            handler = handler_;
        }
        changed_.notify_all();
        reply = handler(request);
    }
    if (complete && reply.StallBeforeReply)
        complete = Stall();
    if (complete) {
        std::string head = "HTTP/1.1 " + std::to_string(reply.Status) + " " +
                           (reply.Reason.empty() ? ReasonFor(reply.Status) : reply.Reason) + "\r\n";
        for (auto& [name, value] : reply.Headers)
            head += name + ": " + value + "\r\n";
        if (reply.SendContentLength)
            head += "Content-Length: " + std::to_string(reply.Body.size()) + "\r\n";
        head += "Connection: close\r\n\r\n";
        bool ok = SendAll(fd, ssl, head.data(), head.size());
        size_t sent = 0;
        size_t piece = 0;
        const std::string& body = reply.Body;
        while (ok) {
            if (reply.StallAfter && sent == *reply.StallAfter) {
                ok = Stall();
                reply.StallAfter.reset();
                continue;
            }
            if ((reply.CloseAfter && sent >= *reply.CloseAfter) || sent >= body.size())
                break;
            size_t size = piece < reply.Pieces.size() ? reply.Pieces[piece] : body.size() - sent;
            size = std::min(size, body.size() - sent);
            if (reply.StallAfter && sent < *reply.StallAfter)
                size = std::min(size, *reply.StallAfter - sent);
            if (reply.CloseAfter)
                size = std::min(size, *reply.CloseAfter - sent);
            ok = SendAll(fd, ssl, body.data() + sent, size);
            sent += size;
            bool endOfPiece = piece < reply.Pieces.size();
            ++piece;
            if (ok && endOfPiece && reply.PauseMs > 0 && sent < body.size())
                ok = WaitUntil([] { return false; }, std::chrono::milliseconds(reply.PauseMs));
        }
        if (reply.CloseAfter)
            ::shutdown(fd, SHUT_RDWR);
    }
    if (ssl)
        TLoopbackTls::Close(ssl);
    ::close(fd);
    {
        std::lock_guard lock(mutex_);
        --active_;
    }
    changed_.notify_all();
}
