#pragma once
// TWIGetURL: fetches one document by HTTP GET and blocks until the whole body has arrived,
// keeping the body in memory or writing it to a file. Failures are recorded (Failed,
// ErrorText, ErrorCode) for the caller, never raised, except file errors. On the window thread
// the windows stay alive meanwhile and Escape cancels the exchange (WindowWait.h).
#include "Classes.h"

#include <atomic>
#include <set>

enum TOpenOptions {
    ooPreconfig,
    ooDirect,
    ooGatewayInternetAccess,
    ooProxy,
    ooPreConfigInternetAccess,
    ooLocalInternetAccess,
    ooCernProxyInternetAccess,
};

enum TOpenURLOptionStyle {
    ouReload,
    ouRawData,
    ouExistingConnect,
    ouAsync,
    ouPassive,
    ouNoCacheWrite,
    ouDontCache,
    ouMakePersistent,
    ouOffline,
    ouSecure,
    ouKeepConnection,
    ouNoAutoRedirect,
    ouNoReadPrefetch,
    ouIgnoreCertCNInvalid,
    ouIgnoreCertDateInvalid,
    ouIgnoreRedirectToHTTPS,
    ouIgnoreRedirectToHTTP,
};
using TOpenURLOptions = std::set<TOpenURLOptionStyle>;

using THeaderReceivedEvent = std::function<void(TObject* sender, void* requestHandle, int statusCode, bool& retrieveDoc)>;
using TInternetStatusEvent = std::function<void(TObject* sender, int status, void* statusInformation, int statusInformationLength)>;

class TWIGetURL : public TComponent {
public:
    explicit TWIGetURL(TComponent* owner = nullptr);

    // Published
    String ApplicationName;
    const String& URL() const { return url_; }
    // Splits the address into Host, Port, Path and Location.
    void SetURL(const String& url);
    uint32_t BufferSize = 16384;
    TOpenOptions OpenOptions() const { return openOptions_; }
    void SetOpenOptions(TOpenOptions options);
    const TOpenURLOptions& OpenURLOptions() const { return openURLOptions_; }
    void SetOpenURLOptions(const TOpenURLOptions& options);
    TNotifyEvent OnIdle;
    THeaderReceivedEvent OnHeaderReceived;
    TInternetStatusEvent OnStatus;

    // Bodies kept in memory are refused beyond this size.
    static constexpr uint32_t kMaxDataSize = 4u << 20;

    // 0 on success, 1 otherwise.
    int Get() { return GetToFile(""); }
    // With a file name the body is written to that file (created anew) instead of Data.
    int GetToFile(const String& fileName);

    String ExtraHeaders;  // sent with the request
    // Once set (by a handler that runs while the exchange waits, or from another thread), the
    // exchange gives up within a tenth of a second and fails. Kept from call to call.
    const std::atomic<bool>* CancelFlag = nullptr;
    uint32_t RequestFlags() const { return requestFlags_; }
    uint32_t AccessType() const { return accessType_; }
    const String& Host() const { return host_; }
    uint16_t Port() const { return port_; }
    const String& Path() const { return path_; }
    const String& Location() const { return location_; }
    // The body's bytes as they came, zero bytes included.
    const std::string& Data() const { return data_; }
    bool Failed() const { return failed_; }
    const String& ErrorText() const { return errorText_; }
    // What the network did, with the host, when a call to it failed: "timed out (host:80)".
    const String& ErrorDetail() const { return errorDetail_; }
    uint32_t ErrorCode() const { return errorCode_; }
    const String& RawHeaders() const { return rawHeaders_; }
    const String& RequestHeaders() const { return requestHeaders_; }
    uint32_t TotalRead() const { return totalRead_; }
    uint32_t LastRead() const { return lastRead_; }

private:
    void Reset();
    void Fail(const String& text, uint32_t code);
    // A failed call to the network: its code and what it says of itself.
    void FailNetwork(const String& text);

    String url_;
    TOpenOptions openOptions_ = ooPreconfig;
    TOpenURLOptions openURLOptions_;
    uint32_t requestFlags_ = 0;
    uint32_t accessType_ = 0;
    String rawHeaders_;
    String requestHeaders_;
    String errorText_;
    String errorDetail_;
    String location_;
    String host_;
    uint16_t port_ = 80;
    String path_;
    std::string data_;
    uint32_t errorCode_ = 0;
    bool failed_ = false;
    uint32_t totalRead_ = 0;
    uint32_t lastRead_ = 0;
};
