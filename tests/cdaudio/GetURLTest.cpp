#include "GetURL.h"
#include "LoopbackHttpServer.h"
#include "ShortInternetLimits.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

TEST(GetURL, AddressIsSplitIntoHostPortAndPath)
{
    TWIGetURL get;
    get.SetURL("HTTP://h/a/b/");
    EXPECT_EQ(get.Host(), "h");
    EXPECT_EQ(get.Path(), "/a/b");
    EXPECT_EQ(get.Location(), "h/a");
    EXPECT_EQ(get.Port(), 80);
    get.SetURL("example.org");
    EXPECT_EQ(get.Host(), "example.org");
    EXPECT_EQ(get.Location(), "example.org");
    EXPECT_EQ(get.Path(), "");
    get.SetURL("http://127.0.0.1:8880/~cddb/cddb.cgi?cmd=x");
    EXPECT_EQ(get.Host(), "127.0.0.1");
    EXPECT_EQ(get.Port(), 8880);
    EXPECT_EQ(get.Path(), "/~cddb/cddb.cgi?cmd=x");
    EXPECT_EQ(get.Location(), "127.0.0.1:8880/~cddb");
    get.SetURL("http://");
    EXPECT_EQ(get.Host(), "");
    EXPECT_EQ(get.Port(), 80);
}

TEST(GetURL, OptionsGiveTheirFlags)
{
    TWIGetURL get;
    EXPECT_EQ(get.ApplicationName, "http generic");
    EXPECT_EQ(get.RequestFlags(), 0x84000000u);
    get.SetOpenURLOptions({ouNoAutoRedirect, ouIgnoreRedirectToHTTP});
    EXPECT_EQ(get.RequestFlags(), 0x00208000u);
    get.SetOpenOptions(ooCernProxyInternetAccess);
    EXPECT_EQ(get.AccessType(), 3u);
}

TEST(GetURL, BodyArrivesWholeInPieces)
{
    TLoopbackHttpServer server;
    THttpReply reply;
    for (int i = 0; i < 70000; ++i)
        reply.Body += static_cast<char>(i % 7 == 0 ? 0 : 'a' + i % 26);
    reply.Pieces = {5, 20000, 1};
    server.SetReply(reply);
    TWIGetURL get;
    get.BufferSize = 3;  // the call starts from its own defaults
    int idles = 0;
    get.OnIdle = [&](TObject*) { ++idles; };
    std::vector<int> statuses;
    get.OnStatus = [&](TObject* sender, int status, void*, int) {
        EXPECT_EQ(sender, &get);
        statuses.push_back(status);
    };
    get.SetURL(server.Url("/doc"));
    ASSERT_EQ(get.Get(), 0);
    EXPECT_FALSE(get.Failed());
    EXPECT_EQ(get.ErrorText(), "");
    EXPECT_EQ(get.Data(), reply.Body);  // zero bytes kept
    EXPECT_EQ(get.TotalRead(), 70000u);
    EXPECT_GE(idles, 2);
    EXPECT_FALSE(statuses.empty());
    EXPECT_EQ(get.RawHeaders().substr(0, 12), "HTTP/1.1 200");
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].Target, "/doc");
    EXPECT_EQ(server.Requests()[0].Version, "HTTP/1.0");
    EXPECT_EQ(server.Requests()[0].Header("User-Agent"), "http generic");
}

TEST(GetURL, StatusOutsideSuccessFails)
{
    TLoopbackHttpServer server;
    THttpReply reply;
    reply.Status = 404;
    reply.Body = "missing";
    server.SetReply(reply);
    TWIGetURL get;
    get.SetURL(server.Url("/none"));
    EXPECT_EQ(get.Get(), 1);
    EXPECT_TRUE(get.Failed());
    EXPECT_EQ(get.ErrorText(), "Not Found");
    EXPECT_EQ(get.ErrorCode(), 404u);
    EXPECT_EQ(get.Data(), "");
}

TEST(GetURL, HeaderHandlerMayDenyTheBody)
{
    TLoopbackHttpServer server;
    THttpReply reply;
    reply.Body = "body";
    server.SetReply(reply);
    TWIGetURL get;
    get.OnHeaderReceived = [](TObject*, void* request, int status, bool& retrieve) {
        EXPECT_NE(request, nullptr);
        EXPECT_EQ(status, 200);
        retrieve = false;
    };
    get.SetURL(server.Url("/x"));
    EXPECT_EQ(get.Get(), 1);
    EXPECT_FALSE(get.Failed());
    EXPECT_EQ(get.ErrorText(), "Retrieval Denied");
    EXPECT_EQ(get.Data(), "");
}

TEST(GetURL, InterruptedBodyAndUnreachableServer)
{
    TLoopbackHttpServer server;
    THttpReply reply;
    reply.Body = std::string(10000, 'x');
    reply.CloseAfter = 100;
    server.SetReply(reply);
    TWIGetURL get;
    get.SetURL(server.Url("/cut"));
    EXPECT_EQ(get.Get(), 1);
    EXPECT_TRUE(get.Failed());
    EXPECT_EQ(get.ErrorText(), "Retrieval Interrupted");

    int port = 0;
    {
        TLoopbackHttpServer gone;
        port = gone.Port();
    }
    get.SetURL(Format("http://127.0.0.1:%d/", port));
    EXPECT_EQ(get.Get(), 1);
    EXPECT_TRUE(get.Failed());
    EXPECT_NE(get.ErrorCode(), 0u);
    EXPECT_EQ(get.ErrorText().rfind("Unable to", 0), 0u) << get.ErrorText();
}

TEST(GetURL, BodyToFile)
{
    TLoopbackHttpServer server;
    THttpReply reply;
    reply.Body = std::string("a\0b", 3);
    server.SetReply(reply);
    QTemporaryDir dir;
    String file = dir.path().toStdString() + "/body.bin";
    std::ofstream(file) << "old and longer content";
    TWIGetURL get;
    get.SetURL(server.Url("/f"));
    ASSERT_EQ(get.GetToFile(file), 0);
    std::ifstream in(file, std::ios::binary);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()), reply.Body);
    EXPECT_EQ(get.Data(), "");
}

TEST(GetURL, RepliesBeyondFourMebibytesAreRefused)
{
    TLoopbackHttpServer server;
    THttpReply reply;
    reply.Body = std::string(5u << 20, 'r');
    server.SetReply(reply);
    TWIGetURL get;
    get.SetURL(server.Url("/~cddb/cddb.cgi?cmd=cddb+query"));
    for (bool announced : {true, false}) {
        reply.SendContentLength = announced;
        server.SetReply(reply);
        EXPECT_EQ(get.Get(), 1);
        EXPECT_TRUE(get.Failed());
        EXPECT_EQ(get.ErrorText(), "Reply Too Large (over 4 MiB)");
        EXPECT_EQ(get.Data(), "");
        EXPECT_LE(get.TotalRead(), TWIGetURL::kMaxDataSize + get.BufferSize);
    }
    reply.Body.resize(TWIGetURL::kMaxDataSize);  // exactly the most is still taken
    server.SetReply(reply);
    EXPECT_EQ(get.Get(), 0);
    EXPECT_EQ(get.Data().size(), TWIGetURL::kMaxDataSize);
}

TEST(GetURL, ASilentServerIsGivenUpAndTheDetailSaysWhy)
{
    ShortInternetLimits limits(300);
    TLoopbackHttpServer server;
    server.SetSilent();
    TWIGetURL get;
    get.SetURL(server.Url("/~cddb/cddb.cgi"));
    EXPECT_EQ(get.Get(), 1);
    EXPECT_EQ(get.ErrorText(), "Unable to Send HTTP Request");
    EXPECT_EQ(get.ErrorDetail(), Format("timed out (127.0.0.1:%d)", server.Port()));
    server.ReleaseStalls();

    // A server's own refusal needs no detail: its status text says it.
    THttpReply refused;
    refused.Status = 403;
    server.SetReply(refused);
    EXPECT_EQ(get.Get(), 1);
    EXPECT_EQ(get.ErrorText(), "Forbidden");
    EXPECT_EQ(get.ErrorDetail(), "");
}

}  // namespace
