#pragma once
// The TLS side of the loopback server: a key and a self-signed certificate for 127.0.0.1 made
// when the server starts, and the handshake and reads and writes of one connection.
#include <cstddef>
#include <string>
#include <sys/types.h>

struct ssl_ctx_st;
struct ssl_st;

class TLoopbackTls {
public:
    TLoopbackTls();
    ~TLoopbackTls();
    TLoopbackTls(const TLoopbackTls&) = delete;
    TLoopbackTls& operator=(const TLoopbackTls&) = delete;

    // The certificate a client must trust, in PEM.
    const std::string& CertificatePem() const { return pem_; }
    // Null when the handshake fails.
    ssl_st* Accept(int fd);
    static ssize_t Read(ssl_st* ssl, char* buffer, size_t size);
    static bool Write(ssl_st* ssl, const char* data, size_t size);
    static bool Pending(ssl_st* ssl);
    static void Close(ssl_st* ssl);

private:
    ssl_ctx_st* context_ = nullptr;
    std::string pem_;
};
