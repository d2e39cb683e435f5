#include "WinInet.h"

#include "InternetRequest.h"

#include <vector>
#include <cstring>
#include <memory>
#include <mutex>
#include <unordered_set>

namespace {
struct TSession {
    String agent;
    DWORD accessType = INTERNET_OPEN_TYPE_PRECONFIG;
    std::atomic<INTERNET_STATUS_CALLBACK> callback{nullptr};
    std::atomic<const std::atomic<bool>*> cancel{nullptr};
    std::atomic<bool> mayOutlastDeadline{false};
};

thread_local DWORD lastError = 0;
thread_local String lastErrorText;

std::mutex& HandlesMutex()
{
    static std::mutex m;
    return m;
}
std::unordered_set<TInternetHandle*>& Handles()
{
    static std::unordered_set<TInternetHandle*> handles;
    return handles;
}

template <typename T>
T Fail(DWORD error, T result, const String& text = String())
{
    lastError = error;
    lastErrorText = text;
    return result;
}
}  // namespace

struct TInternetHandle {
    enum class Kind { Session, Connection, Request } kind;
    std::shared_ptr<TSession> session;
    DWORD_PTR context = 0;
    String host;                                // connection
    INTERNET_PORT port = 0;                     // connection
    String userName, password;                  // connection
    std::unique_ptr<TInternetRequest> request;  // request

    void Status(DWORD status, void* info, DWORD length)
    {
        INTERNET_STATUS_CALLBACK cb = session->callback.load();
        if (cb && context != 0)
            cb(this, context, status, info, length);
    }
};

namespace {
HINTERNET Register(std::unique_ptr<TInternetHandle> handle)
{
    std::lock_guard lock(HandlesMutex());
    HINTERNET h = handle.release();
    Handles().insert(h);
    return h;
}

TInternetHandle* Find(HINTERNET h, TInternetHandle::Kind kind)
{
    std::lock_guard lock(HandlesMutex());
    if (!Handles().count(h) || h->kind != kind)
        return nullptr;
    return h;
}

HINTERNET NewRequest(TInternetHandle& parent, TInternetRequestOptions options, DWORD_PTR context)
{
    options.Agent = parent.session->agent;
    options.AccessType = parent.session->accessType;
    options.Cancel = parent.session->cancel.load();
    options.MayOutlastDeadline = parent.session->mayOutlastDeadline.load();
    auto handle = std::make_unique<TInternetHandle>();
    handle->kind = TInternetHandle::Kind::Request;
    handle->session = parent.session;
    handle->context = context;
    handle->request = std::make_unique<TInternetRequest>(std::move(options));
    HINTERNET h = Register(std::move(handle));
    h->Status(INTERNET_STATUS_HANDLE_CREATED, &h, sizeof h);
    return h;
}

bool Send(HINTERNET h, const String& headers)
{
    h->Status(INTERNET_STATUS_SENDING_REQUEST, nullptr, 0);
    DWORD error = 0;
    if (!h->request->Send(headers, error))
        return Fail(error, false, h->request->Describe(error));
    h->Status(INTERNET_STATUS_REQUEST_SENT, nullptr, 0);
    h->Status(INTERNET_STATUS_REQUEST_COMPLETE, nullptr, 0);
    return true;
}
}  // namespace

HINTERNET InternetOpen(const String& agent, DWORD accessType, const String&, const String&, DWORD)
{
    auto handle = std::make_unique<TInternetHandle>();
    handle->kind = TInternetHandle::Kind::Session;
    handle->session = std::make_shared<TSession>();
    handle->session->agent = agent;
    handle->session->accessType = accessType;
    return Register(std::move(handle));
}

INTERNET_STATUS_CALLBACK InternetSetStatusCallback(HINTERNET session, INTERNET_STATUS_CALLBACK callback)
{
    TInternetHandle* h = Find(session, TInternetHandle::Kind::Session);
    if (!h)
        return Fail<INTERNET_STATUS_CALLBACK>(ERROR_INVALID_HANDLE, nullptr);
    return h->session->callback.exchange(callback);
}

void InternetSetCancelFlag(HINTERNET session, const std::atomic<bool>* cancel)
{
    if (TInternetHandle* h = Find(session, TInternetHandle::Kind::Session))
        h->session->cancel = cancel;
}

void InternetAllowProgressPastDeadline(HINTERNET session)
{
    if (TInternetHandle* h = Find(session, TInternetHandle::Kind::Session))
        h->session->mayOutlastDeadline = true;
}

HINTERNET InternetOpenUrl(HINTERNET session, const String& url, const String& headers, DWORD flags, DWORD_PTR context)
{
    TInternetHandle* s = Find(session, TInternetHandle::Kind::Session);
    if (!s)
        return Fail<HINTERNET>(ERROR_INVALID_HANDLE, nullptr);
    TInternetRequestOptions options;
    options.Url = url;
    options.Flags = flags;
    HINTERNET h = NewRequest(*s, std::move(options), context);
    if (!Send(h, headers)) {
        DWORD error = lastError;
        String text = lastErrorText;
        InternetCloseHandle(h);
        return Fail<HINTERNET>(error, nullptr, text);
    }
    return h;
}

HINTERNET InternetConnect(HINTERNET session, const String& serverName, INTERNET_PORT port, const String& userName,
                          const String& password, DWORD service, DWORD, DWORD_PTR context)
{
    TInternetHandle* s = Find(session, TInternetHandle::Kind::Session);
    if (!s)
        return Fail<HINTERNET>(ERROR_INVALID_HANDLE, nullptr);
    if (service != INTERNET_SERVICE_HTTP || serverName.empty())
        return Fail<HINTERNET>(ERROR_INTERNET_INVALID_URL, nullptr);
    auto handle = std::make_unique<TInternetHandle>();
    handle->kind = TInternetHandle::Kind::Connection;
    handle->session = s->session;
    handle->context = context;
    handle->host = serverName;
    handle->port = port ? port : INTERNET_DEFAULT_HTTP_PORT;
    handle->userName = userName;
    handle->password = password;
    HINTERNET h = Register(std::move(handle));
    h->Status(INTERNET_STATUS_HANDLE_CREATED, &h, sizeof h);
    return h;
}

HINTERNET HttpOpenRequest(HINTERNET connection, const String& verb, const String& objectName, const String& version,
                          const String&, const char* const*, DWORD flags, DWORD_PTR context)
{
    TInternetHandle* c = Find(connection, TInternetHandle::Kind::Connection);
    if (!c)
        return Fail<HINTERNET>(ERROR_INVALID_HANDLE, nullptr);
    String host = c->host.find(':') != String::npos ? "[" + c->host + "]" : c->host;
    TInternetRequestOptions options;
    options.Url = "http://" + host + ":" + IntToStr(c->port) + (objectName.compare(0, 1, "/") == 0 ? "" : "/") + objectName;
    options.Verb = verb.empty() ? "GET" : verb;
    options.Http10 = version == "HTTP/1.0";
    options.Flags = flags;
    options.UserName = c->userName;
    options.Password = c->password;
    return NewRequest(*c, std::move(options), context);
}

bool HttpSendRequest(HINTERNET request, const String& headers, const void*, DWORD)
{
    TInternetHandle* h = Find(request, TInternetHandle::Kind::Request);
    if (!h)
        return Fail(ERROR_INVALID_HANDLE, false);
    return Send(h, headers);
}

bool HttpQueryInfo(HINTERNET request, DWORD infoLevel, void* buffer, DWORD* bufferLength, DWORD* index)
{
    TInternetHandle* h = Find(request, TInternetHandle::Kind::Request);
    if (!h || !bufferLength)
        return Fail(ERROR_INVALID_HANDLE, false);
    if (index && *index != 0)
        return Fail(ERROR_HTTP_HEADER_NOT_FOUND, false);
    String text;
    DWORD error = 0;
    if (!h->request->Query(infoLevel, text, error))
        return Fail(error, false);
    if (!buffer || *bufferLength < text.size() + 1) {
        *bufferLength = static_cast<DWORD>(text.size() + 1);
        return Fail(ERROR_INSUFFICIENT_BUFFER, false);
    }
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    *bufferLength = static_cast<DWORD>(text.size());
    if (index)
        ++*index;
    return true;
}

bool InternetReadFile(HINTERNET handle, void* buffer, DWORD bytesToRead, DWORD* bytesRead)
{
    TInternetHandle* h = Find(handle, TInternetHandle::Kind::Request);
    if (!h || !bytesRead)
        return Fail(ERROR_INVALID_HANDLE, false);
    h->Status(INTERNET_STATUS_RECEIVING_RESPONSE, nullptr, 0);
    DWORD error = 0;
    if (!h->request->Read(buffer, bytesToRead, *bytesRead, error))
        return Fail(error, false, h->request->Describe(error));
    DWORD n = *bytesRead;
    h->Status(INTERNET_STATUS_RESPONSE_RECEIVED, &n, sizeof n);
    return true;
}

bool InternetCloseHandle(HINTERNET handle)
{
    {
        std::lock_guard lock(HandlesMutex());
        if (!Handles().count(handle))
            return Fail(ERROR_INVALID_HANDLE, false);
    }
    handle->Status(INTERNET_STATUS_HANDLE_CLOSING, nullptr, 0);
    {
        std::lock_guard lock(HandlesMutex());
        Handles().erase(handle);
    }
    delete handle;
    return true;
}

DWORD InternetGetLastError() { return lastError; }

String InternetGetLastErrorText() { return lastErrorText; }

String InternetErrorDescription(DWORD error)
{
    switch (error) {
    case ERROR_INTERNET_TIMEOUT: return "timed out";
    case ERROR_INTERNET_CANNOT_CONNECT: return "connection refused";
    case ERROR_INTERNET_NAME_NOT_RESOLVED: return "host not found";
    case ERROR_INTERNET_OPERATION_CANCELLED: return "cancelled";
    case ERROR_INTERNET_CONNECTION_ABORTED: return "connection lost";
    case ERROR_HTTP_INVALID_SERVER_RESPONSE: return "no valid reply";
    case ERROR_HTTP_REDIRECT_FAILED: return "redirect refused";
    case ERROR_INTERNET_HTTPS_TO_HTTP_ON_REDIR: return "redirect from https to http refused";
    case ERROR_INTERNET_UNRECOGNIZED_SCHEME: return "not an http address";
    case ERROR_INTERNET_INVALID_URL: return "invalid address";
    default: return "error " + IntToStr(static_cast<int>(error));
    }
}

String HttpQueryInfoText(HINTERNET request, DWORD infoLevel)
{
    std::vector<char> buffer(1024);
    DWORD length = static_cast<DWORD>(buffer.size());
    if (!HttpQueryInfo(request, infoLevel, buffer.data(), &length, nullptr)) {
        if (InternetGetLastError() != ERROR_INSUFFICIENT_BUFFER || length <= buffer.size())
            return String();
        buffer.resize(length);
        if (!HttpQueryInfo(request, infoLevel, buffer.data(), &length, nullptr))
            return String();
    }
    return String(buffer.data(), length);
}
