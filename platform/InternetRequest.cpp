#include "InternetRequest.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace {
// The body waiting to be read is held to this size; the transfer pauses meanwhile.
constexpr size_t kMaxBuffered = 1 << 20;

CURL* Easy(void* p) { return static_cast<CURL*>(p); }
CURLM* Multi(void* p) { return static_cast<CURLM*>(p); }

void GlobalInit()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

bool IsRedirect(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// Loopback addresses never go through the environment's proxy.
String NoProxyList()
{
    String list = "localhost,127.0.0.1,::1";
    for (const char* name : {"no_proxy", "NO_PROXY"})
        if (const char* v = std::getenv(name); v && *v)
            return String(v) + "," + list;
    return list;
}
}  // namespace

String EncodeUrlForWire(const String& url)
{
    static const char hex[] = "0123456789ABCDEF";
    String out;
    for (unsigned char c : url) {
        if (c <= 0x20 || c >= 0x7F) {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

TInternetRequest::TInternetRequest(TInternetRequestOptions options) : options_(std::move(options))
{
    GlobalInit();
}

TInternetRequest::~TInternetRequest()
{
    if (multi_ && easy_)
        curl_multi_remove_handle(Multi(multi_), Easy(easy_));
    if (easy_)
        curl_easy_cleanup(Easy(easy_));
    if (multi_)
        curl_multi_cleanup(Multi(multi_));
    curl_slist_free_all(static_cast<curl_slist*>(headerList_));
}

size_t TInternetRequest::OnHeader(char* data, size_t size, size_t count, void* self)
{
    static_cast<TInternetRequest*>(self)->HeaderLine(String(data, size * count));
    return size * count;
}

void TInternetRequest::HeaderLine(const String& raw)
{
    String line = raw;
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
        line.pop_back();
    if (line.compare(0, 5, "HTTP/") == 0) {
        // A new response begins (after an interim reply or a redirect): forget the last one.
        headers_.clear();
        hasLocation_ = false;
        rawHeaders_ = line + "\r\n";
        size_t sp = line.find(' ');
        status_ = sp == String::npos ? 0 : std::atoi(line.c_str() + sp + 1);
        size_t sp2 = sp == String::npos ? String::npos : line.find(' ', sp + 1);
        statusText_ = sp2 == String::npos ? String() : line.substr(sp2 + 1);
        return;
    }
    if (line.empty()) {
        rawHeaders_ += "\r\n";
        bool followed = !(options_.Flags & INTERNET_FLAG_NO_AUTO_REDIRECT) && IsRedirect(status_) && hasLocation_;
        if (status_ >= 200 && !followed)
            headersDone_ = true;
        return;
    }
    rawHeaders_ += line + "\r\n";
    size_t colon = line.find(':');
    if (colon == String::npos)
        return;
    String name = LowerCase(Trim(line.substr(0, colon)));
    headers_[name] = Trim(line.substr(colon + 1));
    if (name == "location")
        hasLocation_ = true;
}

size_t TInternetRequest::OnBody(char* data, size_t size, size_t count, void* self)
{
    auto* r = static_cast<TInternetRequest*>(self);
    if (r->body_.size() - r->bodyRead_ >= kMaxBuffered) {
        r->paused_ = true;
        return CURL_WRITEFUNC_PAUSE;
    }
    r->body_.append(data, size * count);
    return size * count;
}

int TInternetRequest::OnDebug(void*, int type, char* data, size_t size, void* self)
{
    if (type == CURLINFO_HEADER_OUT)
        static_cast<TInternetRequest*>(self)->requestHeaders_.assign(data, size);
    return 0;
}

bool TInternetRequest::Send(const String& extraHeaders, DWORD& error)
{
    if (started_) {
        error = ERROR_INTERNET_INTERNAL_ERROR;
        return false;
    }
    String lower = LowerCase(options_.Url);
    if (lower.compare(0, 7, "http://") != 0 && lower.compare(0, 8, "https://") != 0) {
        error = ERROR_INTERNET_UNRECOGNIZED_SCHEME;
        return false;
    }
    easy_ = curl_easy_init();
    multi_ = curl_multi_init();
    if (!easy_ || !multi_) {
        error = ERROR_INTERNET_INTERNAL_ERROR;
        return false;
    }
    CURL* e = Easy(easy_);
    String url = EncodeUrlForWire(options_.Url);
    curl_easy_setopt(e, CURLOPT_URL, url.c_str());
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT, 30L);
    // A server that sends nothing for a minute has gone away.
    curl_easy_setopt(e, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(e, CURLOPT_LOW_SPEED_TIME, 60L);
    if (!options_.Agent.empty())
        curl_easy_setopt(e, CURLOPT_USERAGENT, options_.Agent.c_str());
    if (options_.AccessType == INTERNET_OPEN_TYPE_DIRECT)
        curl_easy_setopt(e, CURLOPT_PROXY, "");
    else
        curl_easy_setopt(e, CURLOPT_NOPROXY, NoProxyList().c_str());
    if (!options_.UserName.empty()) {
        curl_easy_setopt(e, CURLOPT_USERNAME, options_.UserName.c_str());
        curl_easy_setopt(e, CURLOPT_PASSWORD, options_.Password.c_str());
    }
    curl_easy_setopt(e, CURLOPT_HTTP_VERSION, options_.Http10 ? CURL_HTTP_VERSION_1_0 : CURL_HTTP_VERSION_1_1);
    if (options_.Verb == "HEAD")
        curl_easy_setopt(e, CURLOPT_NOBODY, 1L);
    else if (options_.Verb != "GET" && !options_.Verb.empty())
        curl_easy_setopt(e, CURLOPT_CUSTOMREQUEST, options_.Verb.c_str());
    if (!(options_.Flags & INTERNET_FLAG_NO_AUTO_REDIRECT)) {
        curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 1L);
        curl_easy_setopt(e, CURLOPT_MAXREDIRS, 10L);
    }
    curl_slist* list = nullptr;
    if (options_.Flags & INTERNET_FLAG_RELOAD)
        list = curl_slist_append(list, "Cache-Control: no-cache");
    if (options_.Flags & INTERNET_FLAG_PRAGMA_NOCACHE)
        list = curl_slist_append(list, "Pragma: no-cache");
    size_t start = 0;
    while (start < extraHeaders.size()) {
        size_t end = extraHeaders.find_first_of("\r\n", start);
        if (end == String::npos)
            end = extraHeaders.size();
        if (end > start)
            list = curl_slist_append(list, extraHeaders.substr(start, end - start).c_str());
        start = end + 1;
    }
    headerList_ = list;
    curl_easy_setopt(e, CURLOPT_HTTPHEADER, list);
    curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, &TInternetRequest::OnHeader);
    curl_easy_setopt(e, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &TInternetRequest::OnBody);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(e, CURLOPT_DEBUGFUNCTION, &TInternetRequest::OnDebug);
    curl_easy_setopt(e, CURLOPT_DEBUGDATA, this);
    curl_easy_setopt(e, CURLOPT_VERBOSE, 1L);
    curl_multi_add_handle(Multi(multi_), e);
    started_ = true;
    if (!Pump([this] { return headersDone_; }, error))
        return false;
    if (!headersDone_) {
        error = FailureCode();
        return false;
    }
    return true;
}

bool TInternetRequest::Pump(const std::function<bool()>& done, DWORD& error)
{
    while (!done() && !finished_) {
        if (options_.Cancel && options_.Cancel->load()) {
            error = ERROR_INTERNET_OPERATION_CANCELLED;
            return false;
        }
        int running = 0;
        if (curl_multi_perform(Multi(multi_), &running) != CURLM_OK) {
            error = ERROR_INTERNET_INTERNAL_ERROR;
            return false;
        }
        int queued = 0;
        while (CURLMsg* msg = curl_multi_info_read(Multi(multi_), &queued))
            if (msg->msg == CURLMSG_DONE) {
                finished_ = true;
                result_ = msg->data.result;
            }
        if (done() || finished_)
            break;
        // Waits for the socket, looking at the cancel flag every tenth of a second.
        curl_multi_poll(Multi(multi_), nullptr, 0, 100, nullptr);
    }
    return true;
}

DWORD TInternetRequest::FailureCode() const
{
    switch (result_) {
    case CURLE_UNSUPPORTED_PROTOCOL: return ERROR_INTERNET_UNRECOGNIZED_SCHEME;
    case CURLE_URL_MALFORMAT: return ERROR_INTERNET_INVALID_URL;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY: return ERROR_INTERNET_NAME_NOT_RESOLVED;
    case CURLE_COULDNT_CONNECT: return ERROR_INTERNET_CANNOT_CONNECT;
    case CURLE_OPERATION_TIMEDOUT: return ERROR_INTERNET_TIMEOUT;
    case CURLE_GOT_NOTHING:
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_TOO_MANY_REDIRECTS: return ERROR_HTTP_INVALID_SERVER_RESPONSE;
    default: return ERROR_INTERNET_CONNECTION_ABORTED;
    }
}

bool TInternetRequest::Read(void* buffer, DWORD count, DWORD& read, DWORD& error)
{
    read = 0;
    if (!headersDone_) {
        error = ERROR_INVALID_HANDLE;
        return false;
    }
    if (count == 0)
        return true;
    if (!Pump([this] { return body_.size() > bodyRead_; }, error))
        return false;
    size_t available = body_.size() - bodyRead_;
    if (available == 0) {
        if (result_ == CURLE_OK)
            return true;
        error = FailureCode();
        return false;
    }
    size_t n = std::min<size_t>(available, count);
    std::memcpy(buffer, body_.data() + bodyRead_, n);
    bodyRead_ += n;
    read = static_cast<DWORD>(n);
    if (bodyRead_ == body_.size()) {
        body_.clear();
        bodyRead_ = 0;
    }
    if (paused_ && body_.size() - bodyRead_ < kMaxBuffered) {
        paused_ = false;
        curl_easy_pause(Easy(easy_), CURLPAUSE_CONT);
    }
    return true;
}

bool TInternetRequest::Query(DWORD level, String& text, DWORD& error) const
{
    error = ERROR_HTTP_HEADER_NOT_FOUND;
    if (!headersDone_)
        return false;
    auto header = [&](const char* name) {
        auto it = headers_.find(name);
        if (it == headers_.end())
            return false;
        text = it->second;
        return true;
    };
    switch (level) {
    case HTTP_QUERY_CONTENT_TYPE: return header("content-type");
    case HTTP_QUERY_CONTENT_LENGTH: return header("content-length");
    case HTTP_QUERY_STATUS_CODE: text = IntToStr(status_); return true;
    case HTTP_QUERY_STATUS_TEXT: text = statusText_; return true;
    case HTTP_QUERY_RAW_HEADERS_CRLF: text = rawHeaders_; return true;
    case HTTP_QUERY_RAW_HEADERS_CRLF | HTTP_QUERY_FLAG_REQUEST_HEADERS: text = requestHeaders_; return true;
    default: return false;
    }
}
