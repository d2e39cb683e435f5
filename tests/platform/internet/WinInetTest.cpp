#include "LoopbackHttpServer.h"
#include "InternetRequest.h"
#include "WinInet.h"

#include <gtest/gtest.h>

#include <thread>

namespace {
struct Handle {
    HINTERNET h;
    ~Handle()
    {
        if (h)
            InternetCloseHandle(h);
    }
};

String Query(HINTERNET request, DWORD level)
{
    char buffer[1024];
    DWORD length = sizeof buffer;
    if (!HttpQueryInfo(request, level, buffer, &length, nullptr))
        return "<none>";
    return String(buffer, length);
}

String ReadAll(HINTERNET request, DWORD pieceSize, bool& ok)
{
    String body;
    std::vector<char> buffer(pieceSize);
    for (;;) {
        DWORD n = 0;
        ok = InternetReadFile(request, buffer.data(), pieceSize, &n);
        if (!ok || n == 0)
            return body;
        body.append(buffer.data(), n);
    }
}
}  // namespace

TEST(WinInet, OpenUrlAnswersQueriesAndReadsTheWholeBodyInPieces)
{
    TLoopbackHttpServer server;
    THttpReply reply;
    reply.Headers = {{"Content-Type", "image/png"}};
    for (int i = 0; i < 100000; ++i)
        reply.Body += static_cast<char>(i * 7 % 251);
    reply.Pieces = {4096, 1000, 30000};
    reply.PauseMs = 20;
    server.SetReply(reply);

    Handle session{InternetOpen("Agent", INTERNET_OPEN_TYPE_PRECONFIG, "", "", 0)};
    Handle request{InternetOpenUrl(session.h, server.Url("/pic.png"), "X-Extra: 1\r\n",
                                   INTERNET_FLAG_RELOAD | INTERNET_FLAG_PRAGMA_NOCACHE, 0)};
    ASSERT_NE(request.h, nullptr);
    EXPECT_EQ(Query(request.h, HTTP_QUERY_STATUS_CODE), "200");
    EXPECT_EQ(Query(request.h, HTTP_QUERY_STATUS_TEXT), "OK");
    EXPECT_EQ(Query(request.h, HTTP_QUERY_CONTENT_TYPE), "image/png");
    EXPECT_EQ(Query(request.h, HTTP_QUERY_CONTENT_LENGTH), "100000");
    EXPECT_EQ(Query(request.h, HTTP_QUERY_RAW_HEADERS_CRLF).substr(0, 17), "HTTP/1.1 200 OK\r\n");
    bool ok = false;
    EXPECT_EQ(ReadAll(request.h, 3000, ok), reply.Body);
    EXPECT_TRUE(ok);

    ASSERT_EQ(server.Requests().size(), 1u);
    THttpRequest seen = server.Requests()[0];
    EXPECT_EQ(seen.Target, "/pic.png");
    EXPECT_EQ(seen.Header("User-Agent"), "Agent");
    EXPECT_EQ(seen.Header("Pragma"), "no-cache");
    EXPECT_EQ(seen.Header("Cache-Control"), "no-cache");
    EXPECT_EQ(seen.Header("X-Extra"), "1");
}

TEST(WinInet, QueryWithSmallBufferTellsTheSizeNeededAndMissingHeadersFail)
{
    TLoopbackHttpServer server;
    THttpReply reply;
    reply.SendContentLength = false;
    reply.Headers = {{"Content-Type", "text/plain; charset=windows-1252"}};
    server.SetReply(reply);
    Handle session{InternetOpen("A", INTERNET_OPEN_TYPE_DIRECT, "", "", 0)};
    Handle request{InternetOpenUrl(session.h, server.Url("/"), "", 0, 0)};
    ASSERT_NE(request.h, nullptr);
    char small[8];
    DWORD length = sizeof small;
    EXPECT_FALSE(HttpQueryInfo(request.h, HTTP_QUERY_CONTENT_TYPE, small, &length, nullptr));
    EXPECT_EQ(InternetGetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(length, 33u);
    length = sizeof small;
    EXPECT_FALSE(HttpQueryInfo(request.h, HTTP_QUERY_CONTENT_LENGTH, small, &length, nullptr));
    EXPECT_EQ(InternetGetLastError(), ERROR_HTTP_HEADER_NOT_FOUND);
}

TEST(WinInet, AddressesAreEncodedOnlyWhereTheyCannotTravelRaw)
{
    EXPECT_EQ(EncodeUrlForWire("http://h/a b/\xC3\xA9?q=%41&x=\t~"), "http://h/a%20b/%C3%A9?q=%41&x=%09~");
    TLoopbackHttpServer server;
    Handle session{InternetOpen("A", INTERNET_OPEN_TYPE_PRECONFIG, "", "", 0)};
    Handle request{InternetOpenUrl(session.h, server.Url("/api/search/star wars"), "", 0, 0)};
    ASSERT_NE(request.h, nullptr);
    EXPECT_EQ(server.Requests().at(0).Target, "/api/search/star%20wars");
}

namespace {
std::vector<DWORD> statuses;
DWORD_PTR seenContext = 0;
void RecordStatus(HINTERNET, DWORD_PTR context, DWORD status, void*, DWORD)
{
    seenContext = context;
    statuses.push_back(status);
}
}  // namespace

TEST(WinInet, ConnectionRequestsUseTheVersionAskedAndReportTheirStatus)
{
    TLoopbackHttpServer server;
    THttpReply reply;
    reply.Status = 404;
    reply.Body = "gone";
    server.SetReply(reply);
    statuses.clear();
    Handle session{InternetOpen("http generic", INTERNET_OPEN_TYPE_PRECONFIG, "", "", 0)};
    EXPECT_EQ(InternetSetStatusCallback(session.h, &RecordStatus), nullptr);
    Handle connection{InternetConnect(session.h, "127.0.0.1", static_cast<INTERNET_PORT>(server.Port()), "", "",
                                      INTERNET_SERVICE_HTTP, 0, 7)};
    ASSERT_NE(connection.h, nullptr);
    Handle request{HttpOpenRequest(connection.h, "GET", "/~cddb/cddb.cgi?cmd=cddb+query", "HTTP/1.0", "", nullptr,
                                   INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 7)};
    ASSERT_NE(request.h, nullptr);
    EXPECT_TRUE(server.Requests().empty());  // nothing goes out before the send
    ASSERT_TRUE(HttpSendRequest(request.h, "", nullptr, 0));
    EXPECT_EQ(Query(request.h, HTTP_QUERY_STATUS_CODE), "404");
    EXPECT_EQ(Query(request.h, HTTP_QUERY_STATUS_TEXT), "Not Found");
    String sent = Query(request.h, HTTP_QUERY_RAW_HEADERS_CRLF | HTTP_QUERY_FLAG_REQUEST_HEADERS);
    EXPECT_EQ(sent.substr(0, sent.find("\r\n")), "GET /~cddb/cddb.cgi?cmd=cddb+query HTTP/1.0");
    bool ok = false;
    EXPECT_EQ(ReadAll(request.h, 16384, ok), "gone");
    EXPECT_EQ(server.Requests().at(0).Version, "HTTP/1.0");
    EXPECT_EQ(seenContext, 7u);
    for (DWORD s : {INTERNET_STATUS_HANDLE_CREATED, INTERNET_STATUS_SENDING_REQUEST, INTERNET_STATUS_REQUEST_SENT,
                    INTERNET_STATUS_RESPONSE_RECEIVED})
        EXPECT_NE(std::find(statuses.begin(), statuses.end(), s), statuses.end()) << s;
}

TEST(WinInet, FailuresAreReportedWithTheirCodes)
{
    int port = 0;
    {
        TLoopbackHttpServer closed;
        port = closed.Port();
    }
    Handle session{InternetOpen("A", INTERNET_OPEN_TYPE_PRECONFIG, "", "", 0)};
    EXPECT_EQ(InternetOpenUrl(session.h, "http://127.0.0.1:" + std::to_string(port) + "/", "", 0, 0), nullptr);
    EXPECT_EQ(InternetGetLastError(), ERROR_INTERNET_CANNOT_CONNECT);
    EXPECT_EQ(InternetOpenUrl(session.h, "file:///etc/passwd", "", 0, 0), nullptr);
    EXPECT_EQ(InternetGetLastError(), ERROR_INTERNET_UNRECOGNIZED_SCHEME);

    TLoopbackHttpServer server;
    THttpReply reply;
    reply.Body = String(10000, 'x');
    reply.CloseAfter = 5000;
    server.SetReply(reply);
    Handle request{InternetOpenUrl(session.h, server.Url("/"), "", 0, 0)};
    ASSERT_NE(request.h, nullptr);
    bool ok = true;
    EXPECT_EQ(ReadAll(request.h, 4096, ok).size(), 5000u);
    EXPECT_FALSE(ok);
}

TEST(WinInet, CancelFlagEndsAStalledRead)
{
    TLoopbackHttpServer server;
    THttpReply reply;
    reply.Body = String(1000, 'x');
    reply.StallAfter = 10;
    server.SetReply(reply);
    std::atomic<bool> cancel{false};
    Handle session{InternetOpen("A", INTERNET_OPEN_TYPE_PRECONFIG, "", "", 0)};
    InternetSetCancelFlag(session.h, &cancel);
    Handle request{InternetOpenUrl(session.h, server.Url("/"), "", 0, 0)};
    ASSERT_NE(request.h, nullptr);
    // The ten bytes before the stall arrive first; only then is the read cancelled.
    String body;
    char buffer[64];
    while (body.size() < 10) {
        DWORD got = 0;
        ASSERT_TRUE(InternetReadFile(request.h, buffer, sizeof buffer, &got));
        ASSERT_GT(got, 0u);
        body.append(buffer, got);
    }
    server.WaitForStall();
    std::thread canceller([&] { cancel = true; });
    bool ok = true;
    body += ReadAll(request.h, 4096, ok);
    canceller.join();
    EXPECT_FALSE(ok);
    EXPECT_EQ(InternetGetLastError(), ERROR_INTERNET_OPERATION_CANCELLED);
    EXPECT_EQ(body.size(), 10u);
}
