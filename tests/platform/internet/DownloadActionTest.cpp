#include "ExtActns.h"
#include "LoopbackHttpServer.h"
#include "Shell.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

std::string Read(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void Write(const std::string& file, const std::string& text) { std::ofstream(file, std::ios::binary) << text; }

struct DownloadAction : ::testing::Test {
    TLoopbackHttpServer server;
    TempDir dir;
    TDownLoadURL action;
    void SetUp() override { action.Filename = dir.File("Search.xml"); }
};

TEST_F(DownloadAction, WritesTheBodyOfAGoodReply)
{
    THttpReply reply;
    reply.Body = std::string("<rsp>\0\xff</rsp>", 13);
    reply.Pieces = {3, 4};
    server.SetReply(reply);
    action.URL = server.Url("/api/search/a b/Music CD");
    action.ExecuteTarget();
    EXPECT_EQ(Read(action.Filename), reply.Body);
    ASSERT_TRUE(server.WaitForRequests(1));
    EXPECT_EQ(server.Requests()[0].Target, "/api/search/a%20b/Music%20CD");
}

TEST_F(DownloadAction, FailuresWriteNothingAndKeepTheOldFile)
{
    Write(action.Filename, "old");
    THttpReply notFound;
    notFound.Status = 404;
    notFound.Body = "<rsp/>";
    server.SetReply(notFound);
    action.URL = server.Url("/x");
    EXPECT_THROW(action.ExecuteTarget(), EDownloadError);
    EXPECT_EQ(Read(action.Filename), "old");

    THttpReply cut;
    cut.Body = std::string(1000, 'x');
    cut.CloseAfter = 100;
    server.SetReply(cut);
    EXPECT_THROW(action.ExecuteTarget(), EDownloadError);
    EXPECT_EQ(Read(action.Filename), "old");

    action.URL = "file:///etc/passwd";
    try {
        action.ExecuteTarget();
        FAIL();
    } catch (const EDownloadError& e) {
        EXPECT_EQ(e.Message, "Error downloading URL: file:///etc/passwd");
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST_F(DownloadAction, NoServerListening)
{
    action.URL = "http://127.0.0.1:1/none";
    EXPECT_THROW(action.ExecuteTarget(), EDownloadError);
    EXPECT_FALSE(std::filesystem::exists(action.Filename));
}

bool g_opened = false;
String g_target;

TEST(ShellOpenWebLink, OnlyWebAndMailLinks)
{
    SetShellOpenHook([](const String& url) {
        g_opened = true;
        g_target = url;
        return true;
    });
    EXPECT_TRUE(ShellOpenWebLink("HTTPS://example.test/a"));
    EXPECT_EQ(g_target, "HTTPS://example.test/a");
    EXPECT_TRUE(ShellOpenWebLink("mailto:someone@example.test"));
    g_opened = false;
    for (const char* refused : {"ftp://example.test/", "file:///etc/passwd", "javascript://x", "x http://y",
                                "RES://picture", "/usr/bin/xterm"})
        EXPECT_FALSE(ShellOpenWebLink(refused)) << refused;
    EXPECT_FALSE(g_opened);
    SetShellOpenHook(nullptr);
}

}  // namespace
