#pragma once
// One HTTP exchange over libcurl, for the Internet client calls: sent on demand, waited for up
// to the end of the response headers, then its body is taken in pieces as it arrives.
#include "WinInet.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <memory>

class TWindowWait;
struct TCurlLibrary;

// How long an exchange may wait on the network, and how far it is redirected. These are the
// program's values; tests shorten the times.
struct TInternetLimits {
    int ConnectMs = 10000;  // to open a connection
    int IdleMs = 15000;     // without a byte from the server, once connected
    // A transfer that brings fewer bytes a second than this, taken over the window, has
    // stalled (a server dripping a byte now and then never goes idle).
    int SlowWindowMs = 30000;
    int SlowBytesPerSecond = 256;
    // A whole exchange, from the request to the end of the body, whatever its pace.
    int DeadlineMs = 60000;
    // Past the deadline, an exchange allowed to outlast it (a picture download) goes on only
    // while it makes real progress: this many bytes a second on average so far, and then
    // over every slow window.
    int ProgressBytesPerSecond = 16384;
    int MaxRedirects = 5;   // http and https only, and never from https down to http
};
TInternetLimits InternetLimits();
void SetInternetLimits(const TInternetLimits& limits);
// For tests' own https servers: the certificates (PEM) trusted in place of the system's;
// empty for the system's.
void SetInternetTrustedCertificates(const String& pem);

struct TInternetRequestOptions {
    String Url;                // http:// or https://, as the caller wrote it
    String Verb = "GET";
    bool Http10 = false;
    DWORD Flags = 0;           // INTERNET_FLAG_*
    String Agent;
    DWORD AccessType = INTERNET_OPEN_TYPE_PRECONFIG;
    String UserName, Password;
    const std::atomic<bool>* Cancel = nullptr;
    bool MayOutlastDeadline = false;  // while it makes real progress (above)
};

class TInternetRequest {
public:
    explicit TInternetRequest(TInternetRequestOptions options);
    ~TInternetRequest();
    TInternetRequest(const TInternetRequest&) = delete;
    TInternetRequest& operator=(const TInternetRequest&) = delete;

    // Sends the request with extra header lines (CR LF separated) and waits for the final
    // response's headers. False with a WinINet error code otherwise.
    bool Send(const String& extraHeaders, DWORD& error);
    // Up to count bytes of what has arrived, waiting for at least one; 0 at the end of the body.
    bool Read(void* buffer, DWORD count, DWORD& read, DWORD& error);
    // The text of a query level; false with ERROR_HTTP_HEADER_NOT_FOUND when there is none.
    bool Query(DWORD level, String& text, DWORD& error) const;
    // A failure for people: what went wrong and with which host, "timed out (example.org:80)";
    // a time limit names itself: "too slow", "no complete reply within 60 s".
    String Describe(DWORD error) const;
    // The text followed by the host and port asked: "text (example.org:80)".
    String WithHost(const String& text) const;

private:
    static size_t OnHeader(char* data, size_t size, size_t count, void* self);
    static size_t OnBody(char* data, size_t size, size_t count, void* self);
    static int OnDebug(void* easy, int type, char* data, size_t size, void* self);
    static int OnConnected(void* self, char*, char*, int, int);
    void HeaderLine(const String& line);
    void Received(size_t bytes);
    bool Pump(const std::function<bool()>& done, DWORD& error);
    // False with the reason when the network has let the exchange down for too long.
    bool WithinLimits(DWORD& error);
    // False once the whole exchange has taken too long.
    bool WithinDeadline(DWORD& error);
    bool TimedOut(DWORD& error, String why);
    bool FollowRedirect(DWORD& error);
    DWORD FailureCode() const;

    using Clock = std::chrono::steady_clock;

    TInternetRequestOptions options_;
    TInternetLimits limits_;
    String url_;             // the address asked now, as sent (after redirects)
    int redirects_ = 0;
    bool redirectPending_ = false;
    std::unique_ptr<TWindowWait> windowWait_;  // while on the window thread
    Clock::time_point start_;
    Clock::time_point lastByte_;
    Clock::time_point windowStart_;
    size_t windowBytes_ = 0;
    size_t totalBytes_ = 0;
    bool pastDeadline_ = false;  // and allowed to go on
    String timeLimit_;           // which time limit ended the exchange
    const TCurlLibrary* curl_;  // null when the library cannot be had
    void* easy_ = nullptr;   // CURL*
    void* multi_ = nullptr;  // CURLM*
    void* headerList_ = nullptr;  // curl_slist*
    bool started_ = false;
    bool finished_ = false;
    int result_ = 0;         // CURLcode when finished
    bool headersDone_ = false;
    bool paused_ = false;
    int status_ = 0;
    String statusText_;
    String rawHeaders_;      // of the response being read, CR LF line ends
    String requestHeaders_;  // as last sent
    bool hasLocation_ = false;
    std::map<String, String> headers_;  // lower-case names
    String body_;
    size_t bodyRead_ = 0;
};

// Percent-encodes the bytes that cannot travel raw in a request line: blanks, control
// characters and bytes above 127. Everything else, '%' included, is left as written.
String EncodeUrlForWire(const String& url);
