#include "GetURL.h"

#include "WinInet.h"

#include <cstdlib>
#include <thread>
#include <vector>

namespace {

uint32_t AccessTypeOf(TOpenOptions options)
{
    switch (options) {
    case ooDirect:
    case ooLocalInternetAccess: return 1;
    case ooGatewayInternetAccess: return 2;
    case ooProxy:
    case ooCernProxyInternetAccess: return 3;
    default: return 0;
    }
}

uint32_t FlagOf(TOpenURLOptionStyle style)
{
    static const uint32_t flags[] = {
        0x80000000, 0x40000000, 0x20000000, 0x10000000, 0x08000000, 0x04000000, 0x04000000, 0x02000000, 0x01000000,
        0x00800000, 0x00400000, 0x00200000, 0x00100000, 0x1000,     0x2000,     0x4000,     0x8000,
    };
    return flags[style];
}


void StatusCallback(HINTERNET, DWORD_PTR context, DWORD status, void* information, DWORD informationLength)
{
    auto* self = reinterpret_cast<TWIGetURL*>(context);
    Fire(self->OnStatus, self, static_cast<int>(status), information, static_cast<int>(informationLength));
}

}  // namespace

TWIGetURL::TWIGetURL(TComponent* owner) : TComponent(owner)
{
    ApplicationName = "http generic";
    Reset();
}

void TWIGetURL::SetOpenOptions(TOpenOptions options)
{
    openOptions_ = options;
    accessType_ = AccessTypeOf(options);
}

void TWIGetURL::SetOpenURLOptions(const TOpenURLOptions& options)
{
    openURLOptions_ = options;
    requestFlags_ = 0;
    for (TOpenURLOptionStyle style : options)
        requestFlags_ |= FlagOf(style);
}

void TWIGetURL::SetURL(const String& url)
{
    url_ = url;
    host_.clear();
    path_.clear();
    location_.clear();
    port_ = INTERNET_DEFAULT_HTTP_PORT;
    String s = url;
    if (LowerCase(s.substr(0, 7)) == "http://")
        s.erase(0, 7);
    if (s.empty())
        return;
    if (s.back() == '/')
        s.pop_back();
    size_t slash = s.find('/');
    String hostPart = s.substr(0, slash);
    // "host:port" names its port; the location keeps the text as written.
    size_t colon = hostPart.rfind(':');
    host_ = hostPart;
    if (colon != String::npos) {
        int port = StrToIntDef(hostPart.substr(colon + 1), -1);
        if (port > 0 && port < 65536) {
            host_ = hostPart.substr(0, colon);
            port_ = static_cast<uint16_t>(port);
        }
    }
    if (slash == String::npos) {
        location_ = hostPart;
        return;
    }
    String rest = s.substr(slash + 1);
    size_t last = rest.rfind('/');
    location_ = last == String::npos ? hostPart : hostPart + "/" + rest.substr(0, last);
    path_ = "/" + rest;
}

void TWIGetURL::Reset()
{
    data_.clear();
    errorText_.clear();
    errorDetail_.clear();
    errorCode_ = 0;
    failed_ = false;
    totalRead_ = 0;
    SetOpenOptions(ooPreconfig);
    SetOpenURLOptions({ouReload, ouNoCacheWrite});
    BufferSize = 16384;
}

void TWIGetURL::Fail(const String& text, uint32_t code)
{
    failed_ = true;
    errorText_ = text;
    errorCode_ = code;
}

void TWIGetURL::FailNetwork(const String& text)
{
    const uint32_t code = InternetGetLastError();
    Fail(text, code);
    errorDetail_ = InternetGetLastErrorText();
}

int TWIGetURL::GetToFile(const String& fileName)
{
    Reset();
    rawHeaders_.clear();
    requestHeaders_.clear();
    lastRead_ = 0;
    DWORD_PTR context = reinterpret_cast<DWORD_PTR>(this);

    TInternetCloser session{InternetOpen(ApplicationName, accessType_, "", "", 0)};
    if (!session.handle) {
        FailNetwork("Unable to Open Internet Session");
        return 1;
    }
    InternetSetStatusCallback(session.handle, StatusCallback);
    if (CancelFlag)
        InternetSetCancelFlag(session.handle, CancelFlag);
    TInternetCloser connection{InternetConnect(session.handle, host_, port_, "", "", INTERNET_SERVICE_HTTP, 0, context)};
    if (!connection.handle) {
        FailNetwork("Unable to Open Internet Connection");
        return 1;
    }
    TInternetCloser request{HttpOpenRequest(connection.handle, "GET", path_, "HTTP/1.0", "", nullptr, requestFlags_, context)};
    if (!request.handle) {
        FailNetwork("Unable to Open HTTP Request");
        return 1;
    }
    if (!HttpSendRequest(request.handle, ExtraHeaders, nullptr, 0)) {
        FailNetwork("Unable to Send HTTP Request");
        return 1;
    }

    rawHeaders_ = HttpQueryInfoText(request.handle, HTTP_QUERY_RAW_HEADERS_CRLF);
    requestHeaders_ = HttpQueryInfoText(request.handle, HTTP_QUERY_RAW_HEADERS_CRLF | HTTP_QUERY_FLAG_REQUEST_HEADERS);
    // A server whose status line cannot be read has not answered the request.
    int status = StrToIntDef(HttpQueryInfoText(request.handle, HTTP_QUERY_STATUS_CODE), -1);
    if (status < 0) {
        Fail("Invalid HTTP Server Response", ERROR_HTTP_INVALID_SERVER_RESPONSE);
        return 1;
    }
    bool retrieveDoc = true;
    Fire(OnHeaderReceived, this, static_cast<void*>(request.handle), status, retrieveDoc);
    if (status < 200 || status >= 300) {
        Fail(HttpQueryInfoText(request.handle, HTTP_QUERY_STATUS_TEXT), static_cast<uint32_t>(status));
        return 1;
    }
    if (!retrieveDoc) {
        failed_ = false;
        errorText_ = "Retrieval Denied";
        return 1;
    }
    const String tooLarge = "Reply Too Large (over " + IntToStr(static_cast<int>(kMaxDataSize >> 20)) + " MiB)";
    // A reply that says it is too large is refused before it is read.
    if (fileName.empty() &&
        std::strtoll(HttpQueryInfoText(request.handle, HTTP_QUERY_CONTENT_LENGTH).c_str(), nullptr, 10) > kMaxDataSize) {
        Fail(tooLarge, 0);
        return 1;
    }

    std::unique_ptr<TFileStream> file;
    if (!fileName.empty())
        file = std::make_unique<TFileStream>(fileName, fmCreate);
    std::vector<char> buffer(BufferSize);
    bool ok;
    do {
        DWORD read = 0;
        ok = InternetReadFile(request.handle, buffer.data(), static_cast<DWORD>(buffer.size()), &read);
        lastRead_ = read;
        totalRead_ += read;
        if (ok && read > 0) {
            if (file) {
                file->WriteBuffer(buffer.data(), read);
            } else if (data_.size() + read > kMaxDataSize) {
                data_.clear();
                Fail(tooLarge, 0);
                return 1;
            } else {
                data_.append(buffer.data(), read);
            }
            std::this_thread::yield();
        }
        Fire(OnIdle, this);
    } while (ok && lastRead_ > 0);

    if (!ok) {
        FailNetwork("Retrieval Interrupted");
        errorCode_ = 0;
        return 1;
    }
    failed_ = false;
    errorText_.clear();
    return 0;
}
