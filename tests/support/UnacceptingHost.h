#pragma once
// A host on 127.0.0.1 that never takes a connection: its listener's queue is full, so the
// system drops further connection attempts unanswered and they wait until they give up.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

class TUnacceptingHost {
public:
    TUnacceptingHost()
    {
        sockaddr_in address{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
        socklen_t length = sizeof address;
        ::bind(fds_[0], reinterpret_cast<sockaddr*>(&address), length);
        ::listen(fds_[0], 0);
        ::getsockname(fds_[0], reinterpret_cast<sockaddr*>(&address), &length);
        for (int i = 1; i < 4; ++i) {
            fds_[i] = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
            ::connect(fds_[i], reinterpret_cast<sockaddr*>(&address), length);
        }
        port_ = ntohs(address.sin_port);
    }
    ~TUnacceptingHost()
    {
        for (int fd : fds_)
            ::close(fd);
    }
    int Port() const { return port_; }

private:
    int fds_[4] = {::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0), -1, -1, -1};
    int port_ = 0;
};
