#pragma once
// The Windows Internet client calls the program makes, over libcurl. Handles form a tree:
// a session (InternetOpen), under it an address handle (InternetOpenUrl) or a connection
// (InternetConnect) with request handles (HttpOpenRequest, sent by HttpSendRequest). A request
// returns once the response headers are in; the body is read piece by piece with
// InternetReadFile, which returns what has arrived (at least one byte) and 0 bytes only at the
// end of the body. Functions fail by returning null or false; InternetGetLastError tells why.
// Every wait on the network is bounded, and so is every whole exchange (InternetLimits in
// InternetRequest.h); a wait on the window thread keeps the windows alive with Escape
// cancelling (WindowWait.h). Redirects are followed unless INTERNET_FLAG_NO_AUTO_REDIRECT is
// given: a few at most, to http and https addresses only, and never from https down to http.
// Every handle is used from one thread at a time; closing a parent first is allowed.
#include "SysUtils.h"

#include <atomic>
#include <cstdint>

struct TInternetHandle;
using HINTERNET = TInternetHandle*;
using DWORD = uint32_t;
using DWORD_PTR = uintptr_t;
using INTERNET_PORT = uint16_t;

// Access types of InternetOpen.
constexpr DWORD INTERNET_OPEN_TYPE_PRECONFIG = 0;  // the environment's proxy settings
constexpr DWORD INTERNET_OPEN_TYPE_DIRECT = 1;
constexpr DWORD INTERNET_OPEN_TYPE_PROXY = 3;      // also the environment's proxy settings here

constexpr INTERNET_PORT INTERNET_DEFAULT_HTTP_PORT = 80;
constexpr DWORD INTERNET_SERVICE_HTTP = 3;

// Request flags.
constexpr DWORD INTERNET_FLAG_RELOAD = 0x80000000;           // sends "Cache-Control: no-cache"
constexpr DWORD INTERNET_FLAG_NO_CACHE_WRITE = 0x04000000;   // nothing is cached anyway
constexpr DWORD INTERNET_FLAG_NO_AUTO_REDIRECT = 0x00200000;
constexpr DWORD INTERNET_FLAG_PRAGMA_NOCACHE = 0x00000100;   // sends "Pragma: no-cache"

// HttpQueryInfo levels.
constexpr DWORD HTTP_QUERY_CONTENT_TYPE = 1;
constexpr DWORD HTTP_QUERY_CONTENT_LENGTH = 5;
constexpr DWORD HTTP_QUERY_STATUS_CODE = 19;
constexpr DWORD HTTP_QUERY_STATUS_TEXT = 20;
constexpr DWORD HTTP_QUERY_RAW_HEADERS_CRLF = 22;
constexpr DWORD HTTP_QUERY_FLAG_REQUEST_HEADERS = 0x80000000;  // with RAW_HEADERS_CRLF: as sent

// Error codes (InternetGetLastError).
constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
constexpr DWORD ERROR_INVALID_HANDLE = 6;
constexpr DWORD ERROR_INTERNET_TIMEOUT = 12002;
constexpr DWORD ERROR_INTERNET_INTERNAL_ERROR = 12004;
constexpr DWORD ERROR_INTERNET_INVALID_URL = 12005;
constexpr DWORD ERROR_INTERNET_UNRECOGNIZED_SCHEME = 12006;
constexpr DWORD ERROR_INTERNET_NAME_NOT_RESOLVED = 12007;
constexpr DWORD ERROR_INTERNET_OPERATION_CANCELLED = 12017;
constexpr DWORD ERROR_INTERNET_CANNOT_CONNECT = 12029;
constexpr DWORD ERROR_INTERNET_CONNECTION_ABORTED = 12030;
constexpr DWORD ERROR_INTERNET_HTTPS_TO_HTTP_ON_REDIR = 12040;
constexpr DWORD ERROR_HTTP_HEADER_NOT_FOUND = 12150;
constexpr DWORD ERROR_HTTP_INVALID_SERVER_RESPONSE = 12152;
constexpr DWORD ERROR_HTTP_REDIRECT_FAILED = 12156;

// Status callback codes.
constexpr DWORD INTERNET_STATUS_CONNECTING_TO_SERVER = 20;
constexpr DWORD INTERNET_STATUS_CONNECTED_TO_SERVER = 21;
constexpr DWORD INTERNET_STATUS_SENDING_REQUEST = 30;
constexpr DWORD INTERNET_STATUS_REQUEST_SENT = 31;
constexpr DWORD INTERNET_STATUS_RECEIVING_RESPONSE = 40;
constexpr DWORD INTERNET_STATUS_RESPONSE_RECEIVED = 41;
constexpr DWORD INTERNET_STATUS_HANDLE_CREATED = 60;
constexpr DWORD INTERNET_STATUS_HANDLE_CLOSING = 70;
constexpr DWORD INTERNET_STATUS_REQUEST_COMPLETE = 100;

// Raised on the thread that makes the call, for handles opened with a context other than 0.
// RESPONSE_RECEIVED carries the DWORD count of bytes read; HANDLE_CREATED the new handle.
using INTERNET_STATUS_CALLBACK = void (*)(HINTERNET handle, DWORD_PTR context, DWORD status, void* information,
                                          DWORD informationLength);

HINTERNET InternetOpen(const String& agent, DWORD accessType, const String& proxy, const String& proxyBypass,
                       DWORD flags);
// Returns the callback it replaces. Handles opened later under the session use it.
INTERNET_STATUS_CALLBACK InternetSetStatusCallback(HINTERNET session, INTERNET_STATUS_CALLBACK callback);
// Sends a GET for an http:// address and waits for the response headers. headers are extra
// request header lines separated by CR LF.
HINTERNET InternetOpenUrl(HINTERNET session, const String& url, const String& headers, DWORD flags,
                          DWORD_PTR context);
HINTERNET InternetConnect(HINTERNET session, const String& serverName, INTERNET_PORT port, const String& userName,
                          const String& password, DWORD service, DWORD flags, DWORD_PTR context);
// version "HTTP/1.0" or "HTTP/1.1" (also when empty).
HINTERNET HttpOpenRequest(HINTERNET connection, const String& verb, const String& objectName, const String& version,
                          const String& referrer, const char* const* acceptTypes, DWORD flags, DWORD_PTR context);
bool HttpSendRequest(HINTERNET request, const String& headers, const void* optional, DWORD optionalLength);
// Copies the value as text with a terminating zero; bufferLength is the buffer's size on entry
// and the text's length on return. A buffer too small fails with ERROR_INSUFFICIENT_BUFFER and
// sets bufferLength to the size needed. index may be null.
bool HttpQueryInfo(HINTERNET request, DWORD infoLevel, void* buffer, DWORD* bufferLength, DWORD* index);
bool InternetReadFile(HINTERNET handle, void* buffer, DWORD bytesToRead, DWORD* bytesRead);
bool InternetCloseHandle(HINTERNET handle);
DWORD InternetGetLastError();
// Not of the Windows client: the last failure of this thread for people, what went wrong and
// with which host ("timed out (example.org:80)"); empty after a failure that names no host.
String InternetGetLastErrorText();
// What an error code means, for people: "timed out", "connection refused".
String InternetErrorDescription(DWORD error);

// Not of the Windows client: a flag that, once set from any thread, makes the waiting calls of
// requests opened under the session afterwards give up with ERROR_INTERNET_OPERATION_CANCELLED
// within a tenth of a second. The flag must outlive those requests.
void InternetSetCancelFlag(HINTERNET session, const std::atomic<bool>* cancel);

// Not of the Windows client: requests opened under the session afterwards may go on past the
// overall deadline of an exchange for as long as they make real progress (InternetLimits):
// for downloads of pictures, which may be large.
void InternetAllowProgressPastDeadline(HINTERNET session);

// Not of the Windows client either, but what every caller writes around it: a handle closed on
// every way out, and a header's whole text (empty when the request has none).
struct TInternetCloser {
    HINTERNET handle = nullptr;
    TInternetCloser() = default;
    explicit TInternetCloser(HINTERNET h) : handle(h) {}
    TInternetCloser(const TInternetCloser&) = delete;
    TInternetCloser& operator=(const TInternetCloser&) = delete;
    ~TInternetCloser()
    {
        if (handle)
            InternetCloseHandle(handle);
    }
};
String HttpQueryInfoText(HINTERNET request, DWORD infoLevel);
