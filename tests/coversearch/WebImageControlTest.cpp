#include "Forms.h"
#include "GifBuilder.h"
#include "LoopbackHttpServer.h"
#include "WaitFor.h"
#include "WebImageControl.h"

#include <QImage>
#include <gtest/gtest.h>

#include <memory>
#include <set>

namespace {

void Load(TWebPicture& picture, const std::string& bytes)
{
    TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    picture.LoadFromStream(stream);
}

// A bitmap file: red down to splitRow, blue below.
std::string Bmp(int w, int h, int splitRow)
{
    TBitmap bitmap(w, h);
    bitmap.Canvas().Brush.Color = clRed;
    bitmap.Canvas().FillRect({0, 0, w, splitRow});
    bitmap.Canvas().Brush.Color = clBlue;
    bitmap.Canvas().FillRect({0, splitRow, w, h});
    TMemoryStream stream;
    bitmap.SaveToStream(stream);
    return std::string(stream.Data().begin(), stream.Data().end());
}

struct Shown {
    std::unique_ptr<TBitmap> image = std::make_unique<TBitmap>();
    TColor At(int x, int y) { return image->Canvas().Pixel(x, y); }
};

Shown Render(TWebImage& control)
{
    Shown shown;
    control.PaintTo(*shown.image);
    return shown;
}

TEST(WebImage, CreatedEmptyWithItsDefaults)
{
    TWebImage image(nullptr);
    EXPECT_EQ(image.Width(), 100);
    EXPECT_EQ(image.Height(), 100);
    EXPECT_EQ(image.PicturePosition(), bpTopLeft);
    EXPECT_FALSE(image.Animate());
    EXPECT_EQ(image.Version(), "1.1.0.0");
    image.SetVersion("2");
    EXPECT_EQ(image.Version(), "1.1.0.0");
}

TEST(WebImage, CornersAndCentreNeverNegative)
{
    TWebImage image(nullptr);
    image.SetBounds(0, 0, 100, 50);
    Load(image.WebPicture(), Bmp(20, 10, 5));
    image.SetPicturePosition(bpBottomRight);
    Shown corner = Render(image);
    EXPECT_EQ(corner.At(81, 41), clRed);
    EXPECT_EQ(corner.At(81, 49), clBlue);
    EXPECT_NE(corner.At(5, 5), clRed);
    image.SetPicturePosition(bpTopRight);
    EXPECT_EQ(Render(image).At(99, 0), clRed);
    image.SetPicturePosition(bpBottomLeft);
    EXPECT_EQ(Render(image).At(0, 49), clBlue);
    image.SetPicturePosition(bpCenter);
    Shown centre = Render(image);
    EXPECT_EQ(centre.At(40, 20), clRed);
    EXPECT_EQ(centre.At(59, 29), clBlue);

    // Larger than the control: drawn from (0, 0), so its red top rows show.
    Load(image.WebPicture(), Bmp(200, 100, 10));
    EXPECT_EQ(Render(image).At(5, 5), clRed);
    image.SetPicturePosition(bpBottomRight);
    EXPECT_EQ(Render(image).At(5, 5), clRed);
}

TEST(WebImage, TiledDrawsSixCopiesAndStretchedFills)
{
    TWebImage image(nullptr);
    image.SetBounds(0, 0, 100, 50);
    Load(image.WebPicture(), Bmp(40, 30, 15));
    image.SetPicturePosition(bpTiled);
    Shown tiled = Render(image);
    for (int x : {0, 40, 80}) {
        EXPECT_EQ(tiled.At(x + 5, 5), clRed) << x;
        EXPECT_EQ(tiled.At(x + 5, 20), clBlue) << x;
        EXPECT_EQ(tiled.At(x + 5, 35), clRed) << x;
        EXPECT_EQ(tiled.At(x + 5, 49), clBlue) << x;
    }
    image.SetPicturePosition(bpStretched);
    Shown stretched = Render(image);
    EXPECT_EQ(stretched.At(99, 20), clRed);
    EXPECT_EQ(stretched.At(99, 30), clBlue);
}

TEST(WebImage, AutoSizeFollowsTheLoadedPictureAndEmptyUrlKeepsIt)
{
    TWebImage image(nullptr);
    image.AutoSize = true;
    Load(image.WebPicture(), Bmp(37, 21, 3));
    EXPECT_EQ(image.Width(), 37);
    EXPECT_EQ(image.Height(), 21);
    image.SetURL("");
    EXPECT_FALSE(image.WebPicture().Empty());
    EXPECT_EQ(image.Width(), 37);
}

TEST(WebImage, AnimationStepsByTheFrameDelays)
{
    TWebImage image(nullptr);
    int changes = 0;
    image.OnFrameChange = [&](TObject* sender) { changes += sender == &image; };
    Load(image.WebPicture(), MakeGif(4, 4, {{0, 0, 4, 4, 2, 0, kGifRed}, {0, 0, 4, 4, 3, 0, kGifBlue},
                                            {0, 0, 4, 4, 2, 0, kGifWhite}}));
    ASSERT_TRUE(image.Animated());
    image.SetAnimate(true);
    std::vector<int> frames;
    for (int i = 0; i < 8; ++i) {
        image.AnimationTick(nullptr);
        frames.push_back(image.WebPicture().Frame());
    }
    EXPECT_EQ(frames, (std::vector<int>{1, 1, 2, 2, 2, 3, 3, 1}));
    EXPECT_GE(changes, 4);
}

// The frame shown after each of so many ticks.
std::vector<int> Ticks(TWebImage& image, int count)
{
    std::vector<int> frames;
    for (int i = 0; i < count; ++i) {
        image.AnimationTick(nullptr);
        frames.push_back(image.WebPicture().Frame());
    }
    return frames;
}

TEST(WebImage, ShortDelaysTakeTheUsualPaceAndEachPictureStartsAfresh)
{
    TWebImage image(nullptr);
    image.SetAnimate(true);
    Load(image.WebPicture(), MakeGif(4, 4, {{0, 0, 4, 4, 0, 0, kGifRed}, {0, 0, 4, 4, 1, 0, kGifBlue}}));
    std::vector<int> frames = Ticks(image, 25);
    EXPECT_EQ(frames[0], 1);
    EXPECT_EQ(frames[9], 1);
    EXPECT_EQ(frames[10], 2);
    EXPECT_EQ(frames[20], 1);  // and round again

    // Loaded mid-way through the first one's frames, the next GIF starts at its own first.
    image.AnimationTick(nullptr);
    Load(image.WebPicture(), MakeGif(4, 4, {{0, 0, 4, 4, 2, 0, kGifWhite}, {0, 0, 4, 4, 3, 0, kGifBlack}}));
    EXPECT_EQ(Ticks(image, 6), (std::vector<int>{1, 1, 2, 2, 2, 1}));
}

TEST(WebImage, LoopExtensionGifAnimatesThroughItsThreePictures)
{
    TWebImage image(nullptr);
    image.SetBounds(0, 0, 12, 10);
    Load(image.WebPicture(), WithLoopExtensionInFirstFrame(MakeGif(12, 10, {{0, 0, 12, 10, 2, 0, kGifRed},
                                                                            {0, 0, 12, 10, 2, 0, kGifBlue},
                                                                            {0, 0, 12, 10, 2, 0, kGifWhite}})));
    ASSERT_TRUE(image.Animated());
    image.SetAnimate(true);
    std::vector<TColor> shown;
    for (int i = 0; i < 6; ++i) {
        image.AnimationTick(nullptr);
        shown.push_back(Render(image).At(5, 5));
    }
    EXPECT_EQ(shown, (std::vector<TColor>{clRed, clRed, clBlue, clBlue, clWhite, clWhite}));
}

TEST(WebImage, ABigGifIsDecodedOnceAndAnimatesFromItsKeptFrames)
{
    TWebImage image(nullptr);
    Load(image.WebPicture(), MakeGif(2048, 2048, {{0, 0, 2048, 2048, 1, 0, kGifRed},
                                                  {100, 100, 8, 8, 1, 0, kGifBlue},
                                                  {200, 200, 8, 8, 1, 0, kGifWhite}}));
    ASSERT_TRUE(image.Animated());
    image.SetAnimate(true);
    // Every step shows one of the three pictures made at loading: none is decoded again.
    std::set<qint64> pictures;
    for (int i = 0; i < 95; ++i) {
        image.AnimationTick(nullptr);
        pictures.insert(image.WebPicture().ToImage().cacheKey());
    }
    EXPECT_EQ(pictures.size(), 3u);
    EXPECT_EQ(image.WebPicture().Frame(), 1);  // 95 ticks: three rounds of 30, then frame 1

    // Over the cap nothing is kept and the GIF stands on its first picture.
    TWebImage capped(nullptr);
    capped.WebPicture().FrameMemoryLimit = 2048u * 2048u * 4u * 3u - 1;
    Load(capped.WebPicture(), MakeGif(2048, 2048, {{0, 0, 8, 8, 1, 0, kGifRed}, {0, 0, 8, 8, 1, 0, kGifBlue},
                                                   {0, 0, 8, 8, 1, 0, kGifWhite}}));
    EXPECT_FALSE(capped.Animated());
    capped.SetAnimate(true);
    capped.AnimationTick(nullptr);
    EXPECT_EQ(capped.WebPicture().Frame(), 0);
}

TEST(WebImage, StillPicturesDoNotAnimate)
{
    TWebImage image(nullptr);
    Load(image.WebPicture(), MakeGif(4, 4, {{0, 0, 4, 4, 1, 0, kGifRed}}));
    EXPECT_FALSE(image.Animated());
    image.SetAnimate(true);
    image.AnimationTick(nullptr);
    EXPECT_EQ(image.WebPicture().Frame(), 0);
    Load(image.WebPicture(), Bmp(4, 4, 2));
    EXPECT_FALSE(image.Animated());
}

// A download whose bytes do not decode takes the place of the animation shown: nothing shows,
// nothing animates, and the failure is told once, through the error event.
TEST(WebImage, ADownloadThatDoesNotDecodeShowsNothing)
{
    TLoopbackHttpServer server;
    THttpReply reply;
    reply.Headers = {{"Content-Type", "image/gif"}};
    std::vector<String> errors, escaped;
    Application()->OnException = [&](const String& message) { escaped.push_back(message); };
    TWebImage image(nullptr);
    image.Async = true;
    image.SetBounds(0, 0, 4, 4);
    image.SetAnimate(true);
    int ends = 0;
    image.OnDownLoadError = [&](TObject*, const String& error) { errors.push_back(error); };
    image.OnDownLoadEnd = [&](TObject*) { ++ends; };
    for (const std::string& body : {MakeGif(4, 4, {{0, 0, 4, 4, 1, 0, kGifRed}, {0, 0, 4, 4, 1, 0, kGifRed}}),
                                    std::string("not a picture")}) {
        reply.Body = body;
        server.SetReply(reply);
        image.SetURL(server.Url("/" + std::to_string(ends)));
        ASSERT_TRUE(WaitUntil([&, ended = ends] { return ends == ended + 1; }));  // after the change
    }
    for (int tick = 0; tick < 4; ++tick)
        image.AnimationTick(nullptr);
    EXPECT_FALSE(image.Animated());
    EXPECT_NE(Render(image).At(1, 1), clRed);
    EXPECT_EQ(errors, std::vector<String>{"Could not load image. Invalid format"});
    EXPECT_TRUE(escaped.empty()) << escaped.front();
    Application()->OnException = nullptr;
}

TEST(WebImage, AnimateTwiceMakesOneTimerWindow)
{
    TWinControl parent(nullptr);
    TWebImage image(nullptr);
    image.SetParent(&parent);
    image.SetAnimate(true);
    const THelperWnd* first = image.TimerWindow();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(const_cast<THelperWnd*>(first)->Parent(), &parent);
    image.SetAnimate(true);
    EXPECT_EQ(image.TimerWindow(), first);
    image.SetAnimate(false);
    EXPECT_EQ(image.TimerWindow(), nullptr);
}

TEST(WebImage, TimerWindowDrivesTheAnimation)
{
    TWebImage image(nullptr);
    Load(image.WebPicture(), MakeGif(4, 4, {{0, 0, 4, 4, 1, 0, kGifRed}, {0, 0, 4, 4, 1, 0, kGifBlue}}));
    image.SetAnimate(true);
    EXPECT_TRUE(WaitUntil([&] { return image.WebPicture().Frame() == 2; }));
}

TEST(WebImage, DownloadEventsReachTheUserInterfaceThread)
{
    TLoopbackHttpServer server;
    THttpReply reply;
    reply.Headers = {{"Content-Type", "image/bmp"}};
    reply.Body = Bmp(30, 20, 10);
    reply.Pieces = {100, 100};
    server.SetReply(reply);

    TWebImage image(nullptr);
    image.Async = true;
    image.AutoSize = true;
    int progress = 0, completes = 0;
    bool allOnMain = true;
    uint32_t lastSize = 0, lastTotal = 0;
    image.OnDownLoadProgress = [&](TObject* sender, uint32_t size, uint32_t total) {
        allOnMain = allOnMain && IsMainThread() && sender == &image;
        ++progress;
        lastSize = size;
        lastTotal = total;
    };
    image.OnDownLoadComplete = [&](TObject*) {
        allOnMain = allOnMain && IsMainThread();
        ++completes;
    };
    image.SetURL(server.Url("/cover.bmp"));
    ASSERT_TRUE(WaitUntil([&] { return completes == 1; }));
    EXPECT_TRUE(allOnMain);
    EXPECT_GE(progress, 2);
    EXPECT_EQ(lastSize, reply.Body.size());
    EXPECT_EQ(lastTotal, reply.Body.size());
    EXPECT_EQ(image.Width(), 30);
}

TEST(WebImage, PicturesShownLatelyComeBackWithoutDownloadOrDecoding)
{
    TLoopbackHttpServer server;
    server.SetHandler([](const THttpRequest& request) {
        THttpReply reply;
        reply.Headers = {{"Content-Type", "image/bmp"}};
        reply.Body = request.Target == "/a.bmp" ? Bmp(30, 20, 20) : Bmp(30, 20, 0);
        return reply;
    });
    TWebImage image(nullptr);
    image.Async = true;
    image.SetBounds(0, 0, 30, 20);
    int ends = 0;
    image.OnDownLoadEnd = [&](TObject*) { ++ends; };
    image.SetURL(server.Url("/a.bmp"));
    ASSERT_TRUE(WaitUntil([&] { return ends == 1; }));
    const qint64 first = image.WebPicture().ToImage().cacheKey();
    image.SetURL(server.Url("/b.bmp"));
    ASSERT_TRUE(WaitUntil([&] { return ends == 2; }));
    EXPECT_EQ(Render(image).At(5, 5), clBlue);

    image.SetURL(server.Url("/a.bmp"));
    // At once, from what was kept.
    EXPECT_EQ(Render(image).At(5, 5), clRed);
    EXPECT_EQ(image.WebPicture().ToImage().cacheKey(), first);
    EXPECT_FALSE(image.WebPicture().Busy());
    EXPECT_EQ(server.Requests().size(), 2u);

    // Only the last few are kept.
    for (int i = 0; i < static_cast<int>(TPreviewCache::kMaxEntries); ++i) {
        image.SetURL(server.Url("/other" + std::to_string(i) + ".bmp"));
        ASSERT_TRUE(WaitUntil([&] { return ends == 3 + i; }));
    }
    image.SetURL(server.Url("/a.bmp"));
    EXPECT_TRUE(image.WebPicture().Busy());
    ASSERT_TRUE(WaitUntil([&] { return ends == 3 + static_cast<int>(TPreviewCache::kMaxEntries); }));
    EXPECT_EQ(Render(image).At(5, 5), clRed);
}

TEST(WebImage, DestroyedWhileItsDownloadStalls)
{
    TLoopbackHttpServer server;
    THttpReply reply;
    reply.Headers = {{"Content-Type", "image/bmp"}};
    reply.Body = Bmp(30, 20, 10);
    reply.StallAfter = 10;
    server.SetReply(reply);
    int events = 0;
    {
        TWebImage image(nullptr);
        image.Async = true;
        image.OnDownLoadProgress = [&](TObject*, uint32_t, uint32_t) { ++events; };
        image.SetURL(server.Url("/slow.bmp"));
        ASSERT_TRUE(server.WaitForStall());
    }
    server.ReleaseStalls();
    QCoreApplication::processEvents();
    EXPECT_EQ(events, 0);
}

}  // namespace
