// Pictures found through the picture sources: by name, by address, missing, empty or broken.
#include "MarkupCall.h"

#include <gtest/gtest.h>

#include <map>

namespace {
constexpr int W = TFixedTextMetrics::CharWidth;

class FakeImage : public TMarkupImage {
public:
    FakeImage(int w, int h, bool fails = false) : w_(w), h_(h), fails_(fails) {}
    bool IsEmpty() const override { return w_ == 0; }
    int DisplayWidth() override
    {
        if (fails_)
            throw Exception("Could not load image. Invalid format");
        return w_;
    }
    int DisplayHeight() override { return h_; }
    TPoint FrameOffset() const override { return {2, 3}; }
    void DrawImage(TCanvas&, const TRect& r, bool stretch) override { draws.push_back({r, stretch}); }
    std::vector<std::pair<TRect, bool>> draws;

private:
    int w_, h_;
    bool fails_;
};

class FakeSource : public TMarkupImageSource {
public:
    std::map<String, FakeImage*> images;
    std::vector<String> asked;
    TMarkupImage* FindImage(const String& source) override
    {
        asked.push_back(source);
        auto it = images.find(source);
        return it == images.end() ? nullptr : it->second;
    }
};
}  // namespace

TEST(HtmlPictures, UrlPictureThatIsEmptyTakesNoRoom)
{
    FakeImage empty(0, 0);
    FakeSource cache;
    cache.images["http://host/a.gif"] = &empty;
    TFixedCanvas c;
    TMarkupCall call;
    call.args.pictureCache = &cache;
    call.Run(c.canvas, "<img src=\"http://host/a.gif\">text", {0, 0, 200, 100});
    ASSERT_EQ(c.Drawn().size(), 1u);
    EXPECT_EQ(c.Drawn()[0].cell.Left, 1);
    EXPECT_EQ(call.textWidth, 4 * W);
    EXPECT_EQ(call.textHeight, 13);
    EXPECT_TRUE(empty.draws.empty());
    EXPECT_EQ(cache.asked.front(), "http://host/a.gif");  // the address as written, case kept
}

TEST(HtmlPictures, NamedPictureNaturalAndStretched)
{
    FakeImage logo(20, 30);
    FakeSource store, cache;
    store.images["Logo"] = &logo;
    TFixedCanvas c;
    TMarkupCall call;
    call.args.pictureStore = &store;
    call.args.pictureCache = &cache;
    call.Run(c.canvas, "<img src=\"Logo\">x<img src=\"Logo\" width=\"10\" height=\"5\">y", {0, 0, 200, 100});
    ASSERT_EQ(logo.draws.size(), 2u);
    EXPECT_EQ(logo.draws[0].first, Bounds(1 + 2, 0 + 3, 20, 30));  // shifted by the frame's offset
    EXPECT_FALSE(logo.draws[0].second);
    EXPECT_EQ(logo.draws[1].first, Bounds(1 + 20 + W, 0, 10, 5));
    EXPECT_TRUE(logo.draws[1].second);
    EXPECT_EQ(call.textHeight, 30);
    EXPECT_TRUE(cache.asked.empty());  // a source without ":" is a name, never an address
}

TEST(HtmlPictures, ImageInAnchorIsHitAndShowsItsAlternative)
{
    FakeImage plain(16, 16), hovered(16, 16);
    FakeSource store;
    store.images["plain"] = &plain;
    store.images["hovered"] = &hovered;
    TFixedCanvas c;
    TMarkupCall call;
    call.args.pictureStore = &store;
    call.args.x = 5;
    call.args.y = 5;
    EXPECT_TRUE(call.Run(c.canvas, "<a href=\"go\"><img src=\"plain\" alt=\"hovered\"></a>", {0, 0, 200, 100}));
    EXPECT_EQ(call.anchorUnderMouse, "go");
    EXPECT_TRUE(plain.draws.empty());
    EXPECT_EQ(hovered.draws.size(), 1u);
}

TEST(HtmlPictures, BrokenPictureDrawsNothingAndNeverThrows)
{
    FakeImage broken(10, 10, true);
    FakeSource store;
    store.images["broken"] = &broken;
    TFixedCanvas c;
    TMarkupCall call;
    call.args.pictureStore = &store;
    EXPECT_NO_THROW(call.Run(c.canvas, "<body background=\"broken\"><img src=\"broken\">text", {0, 0, 200, 100}));
    ASSERT_EQ(c.Drawn().size(), 1u);
    EXPECT_EQ(c.Drawn()[0].cell.Left, 1);
    EXPECT_TRUE(broken.draws.empty());
}

TEST(HtmlPictures, BodyBackgroundIsTiled)
{
    FakeImage tile(50, 40);
    FakeSource store;
    store.images["tile"] = &tile;
    TFixedCanvas c;
    TMarkupCall call;
    call.args.pictureStore = &store;
    call.Run(c.canvas, "<body background=\"tile\">", {0, 0, 120, 60});
    ASSERT_EQ(tile.draws.size(), 6u);  // three across, two down
    EXPECT_EQ(tile.draws[5].first, Bounds(100, 40, 50, 40));
    EXPECT_FALSE(c.canvas.HasClip());  // the clipping is taken away again
}
