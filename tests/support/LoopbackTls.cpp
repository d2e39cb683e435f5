#include "LoopbackTls.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

#include <csignal>
#include <stdexcept>

TLoopbackTls::TLoopbackTls()
{
    // A client that hangs up mid-reply must not end the test program: TLS writes cannot ask
    // for no signal as plain sends do.
    std::signal(SIGPIPE, SIG_IGN);
    EVP_PKEY* key = EVP_EC_gen("P-256");
    X509* certificate = X509_new();
    ASN1_INTEGER_set(X509_get_serialNumber(certificate), 1);
    X509_gmtime_adj(X509_getm_notBefore(certificate), -60);
    X509_gmtime_adj(X509_getm_notAfter(certificate), 24 * 3600);
    X509_set_pubkey(certificate, key);
    X509_NAME* name = X509_get_subject_name(certificate);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>("127.0.0.1"), -1,
                               -1, 0);
    X509_set_issuer_name(certificate, name);
    X509V3_CTX v3;
    X509V3_set_ctx(&v3, certificate, certificate, nullptr, nullptr, 0);
    for (auto [nid, value] : {std::pair{NID_subject_alt_name, "IP:127.0.0.1"},
                              std::pair{NID_basic_constraints, "critical,CA:TRUE"}}) {
        X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &v3, nid, value);
        X509_add_ext(certificate, extension, -1);
        X509_EXTENSION_free(extension);
    }
    X509_sign(certificate, key, EVP_sha256());

    BIO* out = BIO_new(BIO_s_mem());
    PEM_write_bio_X509(out, certificate);
    char* data = nullptr;
    long size = BIO_get_mem_data(out, &data);
    pem_.assign(data, static_cast<size_t>(size));
    BIO_free(out);

    context_ = SSL_CTX_new(TLS_server_method());
    const bool ready = context_ && SSL_CTX_use_certificate(context_, certificate) == 1 &&
                       SSL_CTX_use_PrivateKey(context_, key) == 1;
    X509_free(certificate);
    EVP_PKEY_free(key);
    if (!ready)
        throw std::runtime_error("no TLS context");
}

TLoopbackTls::~TLoopbackTls() { SSL_CTX_free(context_); }

ssl_st* TLoopbackTls::Accept(int fd)
{
    SSL* ssl = SSL_new(context_);
    SSL_set_fd(ssl, fd);
    if (SSL_accept(ssl) != 1) {
        SSL_free(ssl);
        return nullptr;
    }
    return ssl;
}

ssize_t TLoopbackTls::Read(ssl_st* ssl, char* buffer, size_t size)
{
    return SSL_read(ssl, buffer, static_cast<int>(size));
}

bool TLoopbackTls::Write(ssl_st* ssl, const char* data, size_t size)
{
    return SSL_write(ssl, data, static_cast<int>(size)) == static_cast<int>(size);
}

bool TLoopbackTls::Pending(ssl_st* ssl) { return SSL_pending(ssl) > 0; }

void TLoopbackTls::Close(ssl_st* ssl)
{
    SSL_shutdown(ssl);
    SSL_free(ssl);
}
