#include "LoopbackHttpServer.h"
#include "ShortInternetLimits.h"
#include "UnacceptingHost.h"
#include "WinInet.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>

namespace {

using Clock = std::chrono::steady_clock;

struct Handle {
    HINTERNET h;
    ~Handle()
    {
        if (h)
            InternetCloseHandle(h);
    }
};

struct Outcome {
    bool ok = false;
    String body;
    DWORD error = 0;
    String errorText;
    String status;
    double seconds = 0;
};

// One GET read to its end on a worker thread, the way the picture download runs.
Outcome Fetch(const String& url, DWORD flags = 0)
{
    return std::async(std::launch::async, [&] {
        Outcome o;
        const auto start = Clock::now();
        Handle session{InternetOpen("A", INTERNET_OPEN_TYPE_PRECONFIG, "", "", 0)};
        Handle request{InternetOpenUrl(session.h, url, "", flags, 0)};
        o.ok = request.h != nullptr;
        if (o.ok) {
            o.status = HttpQueryInfoText(request.h, HTTP_QUERY_STATUS_CODE);
            char buffer[4096];
            DWORD n = 0;
            while ((o.ok = InternetReadFile(request.h, buffer, sizeof buffer, &n)) && n > 0)
                o.body.append(buffer, n);
        }
        if (!o.ok) {
            o.error = InternetGetLastError();
            o.errorText = InternetGetLastErrorText();
        }
        o.seconds = std::chrono::duration<double>(Clock::now() - start).count();
        return o;
    }).get();
}

String HostOf(const TLoopbackHttpServer& server) { return "127.0.0.1:" + std::to_string(server.Port()); }

TEST(InternetLimits, TheProgramWaitsTenSecondsToConnectFifteenForAByteAndAMinuteInAll)
{
    const TInternetLimits limits;
    EXPECT_EQ(limits.ConnectMs, 10000);
    EXPECT_EQ(limits.IdleMs, 15000);
    EXPECT_EQ(limits.DeadlineMs, 60000);
    EXPECT_EQ(limits.SlowWindowMs, 30000);
    EXPECT_GT(limits.SlowBytesPerSecond, 2);
}

TEST(InternetLimits, AServerThatNeverAnswersIsGivenUp)
{
    ShortInternetLimits limits(300);
    TLoopbackHttpServer server;
    server.SetSilent();
    Outcome o = Fetch(server.Url("/"));
    EXPECT_FALSE(o.ok);
    EXPECT_EQ(o.error, ERROR_INTERNET_TIMEOUT);
    EXPECT_EQ(o.errorText, "timed out (" + HostOf(server) + ")");
    EXPECT_LT(o.seconds, 5.0);

    // The same when the reply stops halfway through its body.
    THttpReply halfway;
    halfway.Body = String(1000, 'x');
    halfway.StallAfter = 100;
    server.SetReply(halfway);
    o = Fetch(server.Url("/"));
    EXPECT_FALSE(o.ok);
    EXPECT_EQ(o.error, ERROR_INTERNET_TIMEOUT);
    EXPECT_EQ(o.body.size(), 100u);
    server.ReleaseStalls();
}

TEST(InternetLimits, ADrippingServerIsNeverIdleButGivenUpWhenTooSlow)
{
    TLoopbackHttpServer server;
    THttpReply drip;
    drip.Body = String(20, 'd');
    drip.Pieces = std::vector<size_t>(20, 1);
    drip.PauseMs = 40;
    server.SetReply(drip);
    {
        // A byte every 40 ms keeps an exchange with a 300 ms idle limit alive to its end.
        ShortInternetLimits limits(300);
        Outcome o = Fetch(server.Url("/"));
        EXPECT_TRUE(o.ok) << o.errorText;
        EXPECT_EQ(o.body, drip.Body);
    }
    {
        // 25 bytes a second is too slow for a rule of 200 bytes a second over 300 ms.
        ShortInternetLimits limits(5000, 300, 200);
        Outcome o = Fetch(server.Url("/"));
        EXPECT_FALSE(o.ok);
        EXPECT_EQ(o.error, ERROR_INTERNET_TIMEOUT);
        EXPECT_LT(o.body.size(), 20u);
    }
}

TEST(InternetLimits, AConnectionNeverTakenUpTimesOut)
{
    TUnacceptingHost host;
    ShortInternetLimits idle(5000);
    TInternetLimits limits = InternetLimits();
    limits.ConnectMs = 300;
    SetInternetLimits(limits);
    const std::string port = std::to_string(host.Port());
    Outcome o = Fetch("http://127.0.0.1:" + port + "/");
    EXPECT_EQ(o.error, ERROR_INTERNET_TIMEOUT);
    EXPECT_EQ(o.errorText, "timed out (127.0.0.1:" + port + ")");
    EXPECT_LT(o.seconds, 3.0);
}

TEST(InternetLimits, RefusedConnectionsNameTheHost)
{
    int port = 0;
    {
        TLoopbackHttpServer closed;
        port = closed.Port();
    }
    Outcome o = Fetch("http://127.0.0.1:" + std::to_string(port) + "/");
    EXPECT_EQ(o.error, ERROR_INTERNET_CANNOT_CONNECT);
    EXPECT_EQ(o.errorText, "connection refused (127.0.0.1:" + std::to_string(port) + ")");
}

struct Redirects : ::testing::Test {
    TLoopbackHttpServer server;
    // "/hop/n" sends on to "/hop/n-1" until "/hop/0", which answers.
    Redirects()
    {
        server.SetHandler([](const THttpRequest& r) {
            THttpReply reply;
            const int n = std::atoi(r.Target.substr(r.Target.rfind('/') + 1).c_str());
            if (n == 0) {
                reply.Body = "arrived";
            } else {
                reply.Status = 302;
                reply.Headers = {{"Location", "/hop/" + std::to_string(n - 1)}};
                reply.Body = "moved";
            }
            return reply;
        });
    }
};

TEST_F(Redirects, AFewAreFollowedAndNoMore)
{
    const int most = InternetLimits().MaxRedirects;
    ASSERT_GE(most, 3);
    ASSERT_LE(most, 10);
    Outcome o = Fetch(server.Url("/hop/" + std::to_string(most)));
    EXPECT_TRUE(o.ok);
    EXPECT_EQ(o.status, "200");
    EXPECT_EQ(o.body, "arrived");
    EXPECT_EQ(server.Requests().size(), static_cast<size_t>(most + 1));

    o = Fetch(server.Url("/hop/" + std::to_string(most + 1)));
    EXPECT_FALSE(o.ok);
    EXPECT_EQ(o.error, ERROR_HTTP_REDIRECT_FAILED);
    EXPECT_EQ(server.Requests().size(), static_cast<size_t>(2 * most + 2));

    // Without automatic redirects the first answer is the answer.
    o = Fetch(server.Url("/hop/1"), INTERNET_FLAG_NO_AUTO_REDIRECT);
    EXPECT_TRUE(o.ok);
    EXPECT_EQ(o.status, "302");
    EXPECT_EQ(o.body, "moved");
}

TEST_F(Redirects, OnlyToHttpAndHttps)
{
    TLoopbackHttpServer other;
    THttpReply elsewhere;
    elsewhere.Body = "elsewhere";
    other.SetReply(elsewhere);
    for (const std::string& target : {std::string("ftp://127.0.0.1/x"), std::string("file:///etc/passwd"),
                                      std::string("gopher://127.0.0.1/"), other.Url("/fine")}) {
        server.SetHandler([target](const THttpRequest&) {
            THttpReply reply;
            reply.Status = 301;
            reply.Headers = {{"Location", target}};
            return reply;
        });
        Outcome o = Fetch(server.Url("/"));
        if (target.compare(0, 7, "http://") == 0) {
            EXPECT_TRUE(o.ok);
            EXPECT_EQ(o.body, "elsewhere");
        } else {
            EXPECT_FALSE(o.ok) << target;
            EXPECT_EQ(o.error, ERROR_HTTP_REDIRECT_FAILED) << target;
        }
    }
}

TEST(SecureRedirects, NeverFromHttpsDownToHttp)
{
    TLoopbackHttpServer secure(true), plain;
    SetInternetTrustedCertificates(secure.CertificatePem());
    plain.SetHandler([&](const THttpRequest& r) {
        THttpReply reply;
        if (r.Target == "/up") {
            reply.Status = 302;
            reply.Headers = {{"Location", secure.Url("/safe")}};
        }
        reply.Body = "plain";
        return reply;
    });
    secure.SetHandler([&](const THttpRequest& r) {
        THttpReply reply;
        if (r.Target == "/down" || r.Target == "/sideways") {
            reply.Status = 307;
            reply.Headers = {{"Location", r.Target == "/down" ? plain.Url("/x") : "/safe"}};
        }
        reply.Body = "secure";
        return reply;
    });

    Outcome o = Fetch(secure.Url("/down"));
    EXPECT_FALSE(o.ok);
    EXPECT_EQ(o.error, ERROR_INTERNET_HTTPS_TO_HTTP_ON_REDIR);
    EXPECT_EQ(o.errorText, "redirect from https to http refused (127.0.0.1:" + std::to_string(secure.Port()) + ")");
    EXPECT_TRUE(plain.Requests().empty());

    o = Fetch(secure.Url("/sideways"));
    EXPECT_TRUE(o.ok) << o.errorText;
    EXPECT_EQ(o.body, "secure");
    o = Fetch(plain.Url("/up"));
    EXPECT_TRUE(o.ok) << o.errorText;
    EXPECT_EQ(o.body, "secure");
    SetInternetTrustedCertificates("");
}

}  // namespace
