#include "GifBuilder.h"
#include "Jpeg.h"
#include "LoopbackHttpServer.h"
#include "ShortInternetLimits.h"
#include "WebImage.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <gtest/gtest.h>

#include <chrono>
#include <mutex>

namespace {
std::string JpegBytes(int w, int h)
{
    TBitmap bitmap(w, h);
    // Noise, so that the file is about as large as the picture.
    uint32_t seed = 1;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < 3 * w; ++x) {
            seed = seed * 1664525u + 1013904223u;
            bitmap.ScanLine(y)[x] = static_cast<uint8_t>(seed >> 24);
        }
    TJPEGImage jpeg;
    jpeg.Assign(bitmap);
    TMemoryStream stream;
    jpeg.SaveToStream(stream);
    return {stream.Data().begin(), stream.Data().end()};
}

THttpReply ImageReply(const std::string& body, const std::string& type = "image/jpeg")
{
    THttpReply reply;
    reply.Headers = {{"Content-Type", type}};
    reply.Body = body;
    return reply;
}

// What a picture reported, from whichever thread.
struct Recorder {
    std::mutex mutex;
    std::vector<String> errors;
    std::vector<std::pair<uint32_t, uint32_t>> progress;
    int completes = 0, changes = 0, cancels = 0;
    bool changeOnMainThread = true;
    bool cancelAtFirst = false;

    explicit Recorder(TWebPicture& p)
    {
        p.OnDownLoadError = [this](TObject*, const String& e) { std::lock_guard l(mutex); errors.push_back(e); };
        p.OnDownLoadProgress = [this](TObject*, uint32_t s, uint32_t t) { std::lock_guard l(mutex); progress.emplace_back(s, t); };
        p.OnDownLoadComplete = [this](TObject*) { std::lock_guard l(mutex); ++completes; };
        p.OnDownLoadCancel = [this](TObject*, bool& cancel) {
            std::lock_guard l(mutex);
            cancel = cancelAtFirst && cancels == 0;
            ++cancels;
        };
        p.OnChange = [this](TObject*) {
            std::lock_guard l(mutex);
            ++changes;
            changeOnMainThread = changeOnMainThread && IsMainThread();
        };
    }
    int Completes() { std::lock_guard l(mutex); return completes; }
    int Changes() { std::lock_guard l(mutex); return changes; }
};

// Runs the event loop until the condition holds or ten seconds pass.
template <typename Condition>
bool WaitFor(Condition condition)
{
    QDeadlineTimer deadline(10000);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

struct Synchronous : ::testing::Test {
    TLoopbackHttpServer server;
    TWebPicture picture;
    Recorder recorder{picture};
    Synchronous() { picture.Async = false; }
};
}  // namespace

TEST_F(Synchronous, AJpegImagePassesWithTheAgentAndNoCacheHeaders)
{
    server.SetReply(ImageReply(JpegBytes(30, 20)));
    picture.LoadFromURL(server.Url("/covers/a.jpg"));
    EXPECT_TRUE(recorder.errors.empty());
    EXPECT_EQ(recorder.completes, 1);
    EXPECT_EQ(recorder.changes, 1);
    EXPECT_EQ(picture.Width(), 30);
    EXPECT_EQ(picture.URL(), server.Url("/covers/a.jpg"));
    ASSERT_FALSE(recorder.progress.empty());
    EXPECT_EQ(recorder.progress.front(), std::make_pair(0u, static_cast<uint32_t>(JpegBytes(30, 20).size())));
    THttpRequest seen = server.Requests().at(0);
    EXPECT_EQ(seen.Target, "/covers/a.jpg");
    EXPECT_EQ(seen.Header("User-Agent"), "WebImage");
    EXPECT_EQ(seen.Header("Pragma"), "no-cache");
    EXPECT_EQ(seen.Header("Cache-Control"), "no-cache");
}

TEST_F(Synchronous, ServerRefusalsAreReportedWordForWord)
{
    THttpReply missing;
    missing.Status = 404;
    server.SetReply(missing);
    picture.LoadFromURL(server.Url("/none.jpg"));
    server.SetReply(ImageReply("<html></html>", "text/html"));
    picture.LoadFromURL(server.Url("/page"));
    ASSERT_EQ(recorder.errors.size(), 2u);
    EXPECT_EQ(recorder.errors[0], "Cannot open URL " + server.Url("/none.jpg"));
    EXPECT_EQ(recorder.errors[1], "Resource is not of image type : " + server.Url("/page"));
    EXPECT_EQ(recorder.completes, 0);
    EXPECT_TRUE(picture.Empty());

    int port = 0;
    {
        TLoopbackHttpServer gone;
        port = gone.Port();
    }
    picture.LoadFromURL("http://127.0.0.1:" + std::to_string(port) + "/a.jpg");
    picture.LoadFromURL("ftp://127.0.0.1/a.jpg");
    ASSERT_EQ(recorder.errors.size(), 4u);
    EXPECT_EQ(recorder.errors[2], "Cannot open http connection");
    EXPECT_EQ(recorder.errors[3], "Cannot open http connection");
}

TEST_F(Synchronous, MissingLengthIsAnErrorOnlyWhenChecked)
{
    THttpReply reply = ImageReply(JpegBytes(8, 8));
    reply.SendContentLength = false;
    server.SetReply(reply);
    picture.LoadFromURL(server.Url("/a.jpg"));
    EXPECT_TRUE(recorder.errors.empty());
    EXPECT_EQ(recorder.completes, 1);
    EXPECT_EQ(recorder.progress.front(), std::make_pair(0u, 0u));
    EXPECT_EQ(recorder.progress.back().second, 0u);

    picture.CheckContentLength = true;
    picture.LoadFromURL(server.Url("/b.jpg"));
    ASSERT_EQ(recorder.errors.size(), 1u);
    EXPECT_EQ(recorder.errors[0], "Image size is 0");
    EXPECT_EQ(recorder.completes, 1);
}

TEST_F(Synchronous, ShortReadsDoNotEndTheDownload)
{
    THttpReply reply = ImageReply(JpegBytes(200, 150));
    ASSERT_GT(reply.Body.size(), 5096u + 100u);
    reply.Pieces = {4096, 1000};
    reply.PauseMs = 50;
    server.SetReply(reply);
    picture.LoadFromURL(server.Url("/big.jpg"));
    EXPECT_TRUE(recorder.errors.empty());
    EXPECT_EQ(recorder.completes, 1);
    std::vector<uint8_t> raw = picture.RawData();
    EXPECT_EQ(std::string(raw.begin(), raw.end()), reply.Body);
    EXPECT_EQ(recorder.progress.back().first, reply.Body.size());
}

TEST_F(Synchronous, AnInterruptedOrCancelledDownloadKeepsTheOldPicture)
{
    server.SetReply(ImageReply(JpegBytes(10, 10)));
    picture.LoadFromURL(server.Url("/old.jpg"));
    ASSERT_EQ(picture.Width(), 10);

    THttpReply cut = ImageReply(JpegBytes(300, 200));
    cut.CloseAfter = 3000;
    server.SetReply(cut);
    picture.LoadFromURL(server.Url("/cut.jpg"));
    ASSERT_EQ(recorder.errors.size(), 1u);
    EXPECT_EQ(recorder.errors[0], "Cannot read URL " + server.Url("/cut.jpg") + " : connection lost (127.0.0.1:" +
                                      std::to_string(server.Port()) + ")");

    THttpReply whole = ImageReply(JpegBytes(300, 200));
    whole.Pieces = {4096};
    server.SetReply(whole);
    recorder.cancels = 0;
    recorder.cancelAtFirst = true;
    picture.LoadFromURL(server.Url("/new.jpg"));
    EXPECT_EQ(recorder.cancels, 1);
    EXPECT_EQ(recorder.completes, 1);  // only the first download completed
    EXPECT_EQ(recorder.errors.size(), 1u);
    EXPECT_EQ(picture.Width(), 10);
}

TEST(Asynchronous, DownloadsOnAWorkerAndNotifiesTheUserInterfaceThread)
{
    TLoopbackHttpServer server;
    server.SetReply(ImageReply(JpegBytes(16, 12)));
    TWebPicture picture;
    Recorder recorder(picture);
    picture.LoadFromURL(server.Url("/a.jpg"));
    ASSERT_TRUE(WaitFor([&] { return recorder.Changes() == 1 && !picture.Busy(); }));
    EXPECT_EQ(recorder.Completes(), 1);
    EXPECT_TRUE(recorder.changeOnMainThread);
    EXPECT_EQ(picture.Width(), 16);
    EXPECT_EQ(picture.DownloadURL(), server.Url("/a.jpg"));
    EXPECT_EQ(picture.URL(), "");  // only synchronous and local loads keep the address
}

TEST(Asynchronous, ASecondAddressWhileBusyIsDropped)
{
    TLoopbackHttpServer server;
    THttpReply reply = ImageReply(JpegBytes(16, 12));
    reply.StallAfter = 100;
    server.SetReply(reply);
    TWebPicture picture;
    Recorder recorder(picture);
    picture.LoadFromURL(server.Url("/first.jpg"));
    ASSERT_TRUE(server.WaitForStall());
    EXPECT_TRUE(picture.Busy());
    picture.LoadFromURL(server.Url("/second.jpg"));
    server.ReleaseStalls();
    ASSERT_TRUE(WaitFor([&] { return recorder.Completes() == 1 && !picture.Busy(); }));
    ASSERT_TRUE(server.WaitForIdle());
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].Target, "/first.jpg");
    EXPECT_EQ(picture.DownloadURL(), server.Url("/first.jpg"));

    picture.LoadFromURL(server.Url("/third.jpg"));  // idle again: taken
    ASSERT_TRUE(WaitFor([&] { return recorder.Completes() == 2 && !picture.Busy(); }));
    EXPECT_EQ(server.Requests().size(), 2u);
}

TEST(Asynchronous, DestroyingThePictureStopsItsDownload)
{
    TLoopbackHttpServer server;
    THttpReply reply = ImageReply(JpegBytes(16, 12));
    reply.StallAfter = 10;
    server.SetReply(reply);
    int events = 0;
    {
        TWebPicture picture;
        picture.OnDownLoadProgress = [&](TObject*, uint32_t, uint32_t) { ++events; };
        picture.OnDownLoadComplete = [&](TObject*) { ++events; };
        picture.OnDownLoadError = [&](TObject*, const String&) { ++events; };
        picture.LoadFromURL(server.Url("/stalled.jpg"));
        ASSERT_TRUE(server.WaitForStall());
    }  // returns without the server going on
    int seen = events;
    server.ReleaseStalls();
    QCoreApplication::processEvents();
    EXPECT_EQ(events, seen);
    EXPECT_LE(events, 2);  // the opening progress and at most one piece; no completion or error
}

TEST(Asynchronous, ADownloadTooSlowToEverEndIsGivenUp)
{
    // Two bytes every tenth of a second, against a rule of 200 bytes a second over 300 ms.
    ShortInternetLimits limits(5000, 300, 200);
    TLoopbackHttpServer server;
    THttpReply reply = ImageReply(JpegBytes(16, 12));
    reply.Pieces = std::vector<size_t>(reply.Body.size() / 2, 2);
    reply.PauseMs = 100;
    server.SetReply(reply);
    TWebPicture picture;
    Recorder recorder(picture);
    const auto start = std::chrono::steady_clock::now();
    picture.LoadFromURL(server.Url("/slow.jpg"));
    ASSERT_TRUE(WaitFor([&] { return !picture.Busy(); }));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    std::lock_guard lock(recorder.mutex);
    EXPECT_EQ(recorder.errors, std::vector<String>{"Cannot read URL " + server.Url("/slow.jpg") + " : too slow (127.0.0.1:" +
                                                   std::to_string(server.Port()) + ")"});
    EXPECT_EQ(recorder.completes, 0);
}
