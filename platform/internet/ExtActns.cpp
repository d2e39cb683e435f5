#include "ExtActns.h"

#include "InternetRequest.h"

void TDownLoadURL::ExecuteTarget(TObject*)
{
    const auto fail = [this](const String& reason) {
        throw EDownloadError(Format("Error downloading URL: %s", URL.c_str()), reason);
    };
    const String upper = UpperCase(URL);
    if (upper.compare(0, 7, "HTTP://") != 0 && upper.compare(0, 8, "HTTPS://") != 0)
        fail(InternetErrorDescription(ERROR_INTERNET_UNRECOGNIZED_SCHEME));
    TInternetRequestOptions options;
    options.Url = URL;
    options.Flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;
    TInternetRequest request(options);
    DWORD error = 0;
    if (!request.Send("", error))
        fail(request.Describe(error));
    String status, statusText;
    if (!request.Query(HTTP_QUERY_STATUS_CODE, status, error) || status.size() != 3 || status[0] != '2') {
        request.Query(HTTP_QUERY_STATUS_TEXT, statusText, error);
        fail(request.WithHost(Trim("the server answered " + status + " " + statusText)));
    }
    String body;
    char buffer[16384];
    for (;;) {
        DWORD read = 0;
        if (!request.Read(buffer, sizeof buffer, read, error))
            fail(request.Describe(error));
        if (read == 0)
            break;
        body.append(buffer, read);
        if (body.size() > kMaxDownloadSize)
            fail(request.WithHost("the reply is larger than " + IntToStr(static_cast<int>(kMaxDownloadSize >> 20)) + " MiB"));
    }
    WriteFileAtomically(Filename, body.data(), body.size());
}
