#include "InternetRequest.h"

#include "CurlLibrary.h"
#include "WindowWait.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace {
// The body waiting to be read is held to this size; the transfer pauses meanwhile.
constexpr size_t kMaxBuffered = 1 << 20;

CURL* Easy(void* p) { return static_cast<CURL*>(p); }
CURLM* Multi(void* p) { return static_cast<CURLM*>(p); }

std::mutex& SettingsMutex()
{
    static std::mutex m;
    return m;
}
TInternetLimits& Limits()
{
    static TInternetLimits limits;
    return limits;
}
String& TrustedCertificates()
{
    static String pem;
    return pem;
}

// One part of an address, or empty when it has none or cannot be read.
String UrlPart(const String& url, CURLUPart part)
{
    const TCurlLibrary* curl = CurlLibrary();
    if (!curl)
        return {};
    CURLU* u = curl->url();
    String text;
    char* value = nullptr;
    if (curl->url_set(u, CURLUPART_URL, url.c_str(), CURLU_NON_SUPPORT_SCHEME) == CURLUE_OK &&
        curl->url_get(u, part, &value, CURLU_DEFAULT_PORT) == CURLUE_OK)
        text = value;
    curl->free(value);
    curl->url_cleanup(u);
    return text;
}

// The address a Location header names, taken relative to the address that answered.
String ResolveUrl(const String& base, const String& location)
{
    const TCurlLibrary* curl = CurlLibrary();
    if (!curl)
        return {};
    CURLU* u = curl->url();
    String text;
    char* value = nullptr;
    if (curl->url_set(u, CURLUPART_URL, base.c_str(), 0) == CURLUE_OK &&
        curl->url_set(u, CURLUPART_URL, location.c_str(), CURLU_NON_SUPPORT_SCHEME) == CURLUE_OK &&
        curl->url_get(u, CURLUPART_URL, &value, 0) == CURLUE_OK)
        text = value;
    curl->free(value);
    curl->url_cleanup(u);
    return text;
}

// "no complete reply within 60 s", "... within 1.5 s".
String NoCompleteReply(int deadlineMs)
{
    const String seconds = deadlineMs % 1000 == 0 ? IntToStr(deadlineMs / 1000) : Format("%.1f", deadlineMs / 1000.0);
    return "no complete reply within " + seconds + " s";
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

TInternetLimits InternetLimits()
{
    std::lock_guard lock(SettingsMutex());
    return Limits();
}

void SetInternetLimits(const TInternetLimits& limits)
{
    std::lock_guard lock(SettingsMutex());
    Limits() = limits;
}

void SetInternetTrustedCertificates(const String& pem)
{
    std::lock_guard lock(SettingsMutex());
    TrustedCertificates() = pem;
}

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

TInternetRequest::TInternetRequest(TInternetRequestOptions options)
    : options_(std::move(options)), limits_(InternetLimits()), curl_(CurlLibrary())
{
}

TInternetRequest::~TInternetRequest()
{
    if (!curl_)
        return;
    if (multi_ && easy_)
        curl_->multi_remove_handle(Multi(multi_), Easy(easy_));
    if (easy_)
        curl_->easy_cleanup(Easy(easy_));
    if (multi_)
        curl_->multi_cleanup(Multi(multi_));
    curl_->slist_free_all(static_cast<curl_slist*>(headerList_));
}

size_t TInternetRequest::OnHeader(char* data, size_t size, size_t count, void* self)
{
    auto* r = static_cast<TInternetRequest*>(self);
    r->Received(size * count);
    r->HeaderLine(String(data, size * count));
    return size * count;
}

int TInternetRequest::OnConnected(void* self, char*, char*, int, int)
{
    // The wait for the first byte starts once the connection is made.
    static_cast<TInternetRequest*>(self)->Received(0);
    return CURL_PREREQFUNC_OK;
}

void TInternetRequest::Received(size_t bytes)
{
    lastByte_ = Clock::now();
    windowBytes_ += bytes;
    totalBytes_ += bytes;
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
        if (!(options_.Flags & INTERNET_FLAG_NO_AUTO_REDIRECT) && IsRedirect(status_) && hasLocation_)
            redirectPending_ = true;
        else if (status_ >= 200)
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
    if (r->redirectPending_)
        return 0;  // a redirect's own body is not wanted: the transfer ends here
    r->Received(size * count);
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
    if (!curl_) {
        error = ERROR_INTERNET_INTERNAL_ERROR;
        return false;
    }
    easy_ = curl_->easy_init();
    multi_ = curl_->multi_init();
    if (!easy_ || !multi_) {
        error = ERROR_INTERNET_INTERNAL_ERROR;
        return false;
    }
    windowWait_ = TWindowWait::Begin();
    CURL* e = Easy(easy_);
    url_ = EncodeUrlForWire(options_.Url);
    curl_->easy_setopt(e, CURLOPT_URL, url_.c_str());
    curl_->easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_->easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_->easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits_.ConnectMs));
    curl_->easy_setopt(e, CURLOPT_PREREQFUNCTION, &TInternetRequest::OnConnected);
    curl_->easy_setopt(e, CURLOPT_PREREQDATA, this);
    {
        std::lock_guard lock(SettingsMutex());
        if (!TrustedCertificates().empty()) {
            curl_blob trusted{TrustedCertificates().data(), TrustedCertificates().size(), CURL_BLOB_COPY};
            curl_->easy_setopt(e, CURLOPT_CAINFO_BLOB, &trusted);
        }
    }
    if (!options_.Agent.empty())
        curl_->easy_setopt(e, CURLOPT_USERAGENT, options_.Agent.c_str());
    if (options_.AccessType == INTERNET_OPEN_TYPE_DIRECT)
        curl_->easy_setopt(e, CURLOPT_PROXY, "");
    else
        curl_->easy_setopt(e, CURLOPT_NOPROXY, NoProxyList().c_str());
    if (!options_.UserName.empty()) {
        curl_->easy_setopt(e, CURLOPT_USERNAME, options_.UserName.c_str());
        curl_->easy_setopt(e, CURLOPT_PASSWORD, options_.Password.c_str());
    }
    curl_->easy_setopt(e, CURLOPT_HTTP_VERSION, options_.Http10 ? CURL_HTTP_VERSION_1_0 : CURL_HTTP_VERSION_1_1);
    if (options_.Verb == "HEAD")
        curl_->easy_setopt(e, CURLOPT_NOBODY, 1L);
    else if (options_.Verb != "GET" && !options_.Verb.empty())
        curl_->easy_setopt(e, CURLOPT_CUSTOMREQUEST, options_.Verb.c_str());
    curl_slist* list = nullptr;
    if (options_.Flags & INTERNET_FLAG_RELOAD)
        list = curl_->slist_append(list, "Cache-Control: no-cache");
    if (options_.Flags & INTERNET_FLAG_PRAGMA_NOCACHE)
        list = curl_->slist_append(list, "Pragma: no-cache");
    size_t start = 0;
    while (start < extraHeaders.size()) {
        size_t end = extraHeaders.find_first_of("\r\n", start);
        if (end == String::npos)
            end = extraHeaders.size();
        if (end > start)
            list = curl_->slist_append(list, extraHeaders.substr(start, end - start).c_str());
        start = end + 1;
    }
    headerList_ = list;
    curl_->easy_setopt(e, CURLOPT_HTTPHEADER, list);
    curl_->easy_setopt(e, CURLOPT_HEADERFUNCTION, &TInternetRequest::OnHeader);
    curl_->easy_setopt(e, CURLOPT_HEADERDATA, this);
    curl_->easy_setopt(e, CURLOPT_WRITEFUNCTION, &TInternetRequest::OnBody);
    curl_->easy_setopt(e, CURLOPT_WRITEDATA, this);
    curl_->easy_setopt(e, CURLOPT_DEBUGFUNCTION, &TInternetRequest::OnDebug);
    curl_->easy_setopt(e, CURLOPT_DEBUGDATA, this);
    curl_->easy_setopt(e, CURLOPT_VERBOSE, 1L);
    start_ = lastByte_ = windowStart_ = Clock::now();
    curl_->multi_add_handle(Multi(multi_), e);
    started_ = true;
    // Redirects are followed here rather than by the library, so that every step is checked.
    for (;;) {
        if (!Pump([this] { return headersDone_ || redirectPending_; }, error))
            return false;
        if (!redirectPending_)
            break;
        if (!FollowRedirect(error))
            return false;
    }
    if (!headersDone_) {
        error = FailureCode();
        return false;
    }
    return true;
}

bool TInternetRequest::FollowRedirect(DWORD& error)
{
    error = ERROR_HTTP_REDIRECT_FAILED;
    if (++redirects_ > limits_.MaxRedirects)
        return false;
    const String target = ResolveUrl(url_, EncodeUrlForWire(headers_["location"]));
    const String from = LowerCase(UrlPart(url_, CURLUPART_SCHEME));
    const String to = LowerCase(UrlPart(target, CURLUPART_SCHEME));
    if (to != "http" && to != "https")
        return false;
    if (from == "https" && to == "http") {
        error = ERROR_INTERNET_HTTPS_TO_HTTP_ON_REDIR;
        return false;
    }
    curl_->multi_remove_handle(Multi(multi_), Easy(easy_));
    url_ = target;
    redirectPending_ = headersDone_ = finished_ = paused_ = hasLocation_ = false;
    result_ = CURLE_OK;
    status_ = 0;
    statusText_.clear();
    rawHeaders_.clear();
    headers_.clear();
    body_.clear();
    bodyRead_ = 0;
    curl_->easy_setopt(Easy(easy_), CURLOPT_URL, url_.c_str());
    lastByte_ = windowStart_ = Clock::now();
    windowBytes_ = 0;
    curl_->multi_add_handle(Multi(multi_), Easy(easy_));
    return true;
}

bool TInternetRequest::Pump(const std::function<bool()>& done, DWORD& error)
{
    while (!done() && !finished_) {
        if ((options_.Cancel && options_.Cancel->load()) || (windowWait_ && windowWait_->Cancelled())) {
            error = ERROR_INTERNET_OPERATION_CANCELLED;
            return false;
        }
        if (!WithinLimits(error))
            return false;
        int running = 0;
        if (curl_->multi_perform(Multi(multi_), &running) != CURLM_OK) {
            error = ERROR_INTERNET_INTERNAL_ERROR;
            return false;
        }
        int queued = 0;
        while (CURLMsg* msg = curl_->multi_info_read(Multi(multi_), &queued))
            if (msg->msg == CURLMSG_DONE) {
                finished_ = true;
                result_ = msg->data.result;
            }
        if (done() || finished_)
            break;
        // Waits for the socket, looking at the cancel flag every tenth of a second; on the
        // window thread the windows are served every few hundredths.
        curl_->multi_poll(Multi(multi_), nullptr, 0, windowWait_ ? 20 : 100, nullptr);
        if (windowWait_)
            windowWait_->ProcessEvents();
    }
    return true;
}

bool TInternetRequest::TimedOut(DWORD& error, String why)
{
    error = ERROR_INTERNET_TIMEOUT;
    timeLimit_ = std::move(why);
    return false;
}

bool TInternetRequest::WithinDeadline(DWORD& error)
{
    if (pastDeadline_)
        return true;
    const auto deadline = std::chrono::milliseconds(limits_.DeadlineMs);
    const auto elapsed = Clock::now() - start_;
    if (elapsed < deadline)
        return true;
    const String why = NoCompleteReply(limits_.DeadlineMs);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count();
    if (!options_.MayOutlastDeadline || totalBytes_ * 1000 < static_cast<size_t>(limits_.ProgressBytesPerSecond) * ms)
        return TimedOut(error, why);
    // From here on the exchange is measured by the pace asked of real progress.
    pastDeadline_ = true;
    windowStart_ = Clock::now();
    windowBytes_ = 0;
    return true;
}

bool TInternetRequest::WithinLimits(DWORD& error)
{
    const Clock::time_point now = Clock::now();
    if (now - lastByte_ > std::chrono::milliseconds(limits_.IdleMs))
        return TimedOut(error, String());
    if (!WithinDeadline(error))
        return false;
    const auto window = std::chrono::milliseconds(limits_.SlowWindowMs);
    if (now - windowStart_ >= window) {
        const int pace = pastDeadline_ ? std::max(limits_.SlowBytesPerSecond, limits_.ProgressBytesPerSecond)
                                       : limits_.SlowBytesPerSecond;
        if (windowBytes_ * 1000 < static_cast<size_t>(pace) * window.count())
            return TimedOut(error, pastDeadline_ ? NoCompleteReply(limits_.DeadlineMs) : String("too slow"));
        windowStart_ = now;
        windowBytes_ = 0;
    }
    return true;
}

String TInternetRequest::Describe(DWORD error) const
{
    if (error == ERROR_INTERNET_TIMEOUT && !timeLimit_.empty())
        return WithHost(timeLimit_);
    return WithHost(InternetErrorDescription(error));
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
    case CURLE_WEIRD_SERVER_REPLY: return ERROR_HTTP_INVALID_SERVER_RESPONSE;
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
    // Also while the body comes faster than it is read: a deadline holds whatever the pace,
    // unless the whole body is in already.
    if (!finished_ && !WithinDeadline(error))
        return false;
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
        // The server was held back meanwhile: its pace is measured afresh.
        lastByte_ = windowStart_ = Clock::now();
        windowBytes_ = 0;
        curl_->easy_pause(Easy(easy_), CURLPAUSE_CONT);
    }
    return true;
}

String TInternetRequest::WithHost(const String& what) const
{
    String text = what;
    const String address = url_.empty() ? options_.Url : url_;
    const String host = UrlPart(address, CURLUPART_HOST);
    if (!host.empty())
        text += " (" + host + ":" + UrlPart(address, CURLUPART_PORT) + ")";
    return text;
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
