#include "WebImage.h"

#include "WinInet.h"

namespace {
constexpr DWORD kReadSize = 4096;

bool ParseCleanNumber(const String& text, int64_t& value)
{
    if (text.empty() || text.size() > 18)
        return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    return true;
}
}  // namespace

void TWebPicture::LoadFromURL(const String& url)
{
    {
        std::lock_guard lock(mutex_);
        frame_ = 0;
    }
    String upper = UpperCase(url);
    if (upper.compare(0, 6, "RES://") == 0) {
        {
            std::lock_guard lock(mutex_);
            url_ = url;
        }
        if (url.size() > 6)
            LoadFromResourceName(url.substr(6));
    } else if (upper.compare(0, 7, "FILE://") == 0) {
        {
            std::lock_guard lock(mutex_);
            url_ = url;
        }
        if (url.size() > 7)
            LoadFromFile(url.substr(7));
    } else if (Async) {
        bool idle = false;
        if (!busy_.compare_exchange_strong(idle, true))
            return;  // a download is running: the address is dropped, not queued
        thread_.reset();  // the last worker has ended its download; let it finish
        stopped_ = false;
        {
            std::lock_guard lock(mutex_);
            downloadUrl_ = url;
        }
        thread_ = std::make_unique<TDownLoadThread>(this);
        thread_->Start();
    } else {
        {
            std::lock_guard lock(mutex_);
            downloadUrl_ = url;
            url_ = url;
        }
        if (!busy_)
            stopped_ = false;
        DownloadToPicture();
    }
}

void TWebPicture::CancelDownload()
{
    if (busy_)
        stopped_ = true;
}

void TWebPicture::DownloadOnWorker()
{
    struct BusyClearer {
        std::atomic<bool>& busy;
        ~BusyClearer() { busy = false; }
    } clearer{busy_};
    // Nobody calls a worker to hear of a picture that does not decode: it is told like the
    // other failures.
    try {
        DownloadToPicture();
    } catch (const std::exception& e) {
        ReportError(e.what());
    }
}

void TWebPicture::ReportError(const String& message)
{
    if (!Stopping())
        Fire(OnDownLoadError, this, message);
}

void TWebPicture::DownloadToPicture()
{
    const String url = DownloadURL();
    TInternetCloser session{InternetOpen("WebImage", INTERNET_OPEN_TYPE_PRECONFIG, "", "", 0)};
    if (!session.handle)
        return ReportError("Cannot open internet session");
    InternetSetCancelFlag(session.handle, &stopped_);
    // A large picture on a slow line may take longer than other exchanges, while it arrives.
    InternetAllowProgressPastDeadline(session.handle);
    TInternetCloser request{InternetOpenUrl(session.handle, url, "",
                                         INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE, 0)};
    if (!request.handle)
        return ReportError("Cannot open http connection");

    int64_t status = 0;
    if (!ParseCleanNumber(HttpQueryInfoText(request.handle, HTTP_QUERY_STATUS_CODE), status) || status != 200)
        return ReportError("Cannot open URL " + url);
    if (UpperCase(HttpQueryInfoText(request.handle, HTTP_QUERY_CONTENT_TYPE)).find("IMAGE") == String::npos)
        return ReportError("Resource is not of image type : " + url);
    int64_t length = 0;
    if (!ParseCleanNumber(HttpQueryInfoText(request.handle, HTTP_QUERY_CONTENT_LENGTH), length))
        length = 0;
    if (length == 0 && CheckContentLength)
        return ReportError("Image size is 0");
    const auto total = static_cast<uint32_t>(length);
    if (!Stopping())
        Fire(OnDownLoadProgress, this, 0u, total);

    // Reads until the end of the data: a short read only means the rest has not arrived yet.
    TMemoryStream data;
    uint8_t buffer[kReadSize];
    bool cancel = false;
    while (!cancel) {
        DWORD read = 0;
        if (!InternetReadFile(request.handle, buffer, kReadSize, &read)) {
            // What the network did ("no complete reply within 60 s (host:80)") follows.
            const String why = InternetGetLastErrorText();
            return ReportError("Cannot read URL " + url + (why.empty() ? String() : " : " + why));
        }
        if (read == 0)
            break;
        data.WriteBuffer(buffer, read);
        if (data.Data().size() > kMaxWebPictureSize)
            return ReportError("Image is too large : " + url);
        if (Stopping())
            return;
        Fire(OnDownLoadProgress, this, static_cast<uint32_t>(data.Data().size()), total);
        Fire(OnDownLoadCancel, this, cancel);
    }
    if (cancel || Stopping())
        return;  // the old picture stays
    if (Replace(std::move(data.Data()), true, true) && !Stopping())
        Fire(OnDownLoadComplete, this);
}
