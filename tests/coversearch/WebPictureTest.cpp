#include "GifBuilder.h"
#include "PeakMemory.h"
#include "WebImage.h"

#include <QImage>
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace {
void Load(TWebPicture& picture, const std::string& bytes)
{
    TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    picture.LoadFromStream(stream);
}

std::string ThreeFrames()
{
    return MakeGif(12, 10, {{0, 0, 12, 10, 10, 0x00, kGifRed},
                            {3, 2, 4, 4, 0, 0x09, kGifBlue},
                            {1, 1, 2, 2, 30, 0x10, kGifWhite}});
}

std::string BmpBytes(int w, int h)
{
    TBitmap bitmap(w, h);
    bitmap.Canvas().Brush.Color = clRed;
    bitmap.Canvas().FillRect({0, 0, w, h / 2});
    bitmap.Canvas().Brush.Color = clBlue;
    bitmap.Canvas().FillRect({0, h / 2, w, h});
    TMemoryStream stream;
    bitmap.SaveToStream(stream);
    return std::string(stream.Data().begin(), stream.Data().end());
}

// The colour at (x, y) after drawing the picture at its size onto black.
TColor DrawnPixel(const TWebPicture& picture, int x, int y)
{
    TBitmap target(40, 40);
    target.Canvas().Brush.Color = clBlack;
    target.Canvas().FillRect({0, 0, 40, 40});
    target.Canvas().Draw(0, 0, picture);
    return target.Canvas().Pixel(x, y);
}

struct TempDir {
    std::filesystem::path path;
    TempDir()
    {
        char name[] = "/tmp/ombrelle-webpicture-XXXXXX";
        path = ::mkdtemp(name);
    }
    ~TempDir() { std::filesystem::remove_all(path); }
    String Write(const String& name, const std::string& bytes)
    {
        String file = (path / name).string();
        WriteFileAtomically(file, bytes.data(), bytes.size());
        return file;
    }
};
}  // namespace

TEST(WebPictureGif, SignatureMustBeExactAndLongEnough)
{
    TWebPicture picture;
    EXPECT_FALSE(picture.IsGif());
    EXPECT_THROW(Load(picture, "GIF8"), Exception);
    EXPECT_FALSE(picture.IsGif());
    EXPECT_EQ(picture.GifFrameCount(), -1);
    EXPECT_THROW(Load(picture, "gif89a" + ThreeFrames().substr(6)), Exception);
    EXPECT_FALSE(picture.IsGif());
    EXPECT_EQ(picture.GifFrameDelay(1), -1);
    Load(picture, ThreeFrames());
    EXPECT_TRUE(picture.IsGif());
}

TEST(WebPictureGif, CountsFramesAndReadsDelaysWithTheirSideEffects)
{
    TWebPicture picture;
    Load(picture, ThreeFrames());
    EXPECT_EQ(picture.GifFrameCount(), 3);
    EXPECT_EQ(picture.GifFrameDelay(1), 10);
    EXPECT_EQ(picture.GifFrameDelay(2), 0);
    EXPECT_TRUE(picture.Transparent);
    EXPECT_EQ(picture.RepaintCode(), 1);  // 0x09 >> 3
    EXPECT_EQ(picture.GifFrameDelay(3), 30);
    EXPECT_FALSE(picture.Transparent);
    EXPECT_EQ(picture.RepaintCode(), 2);
    EXPECT_EQ(picture.GifFrameDelay(5), -1);
    EXPECT_EQ(picture.GifFrameDelay(0), -1);
}

TEST(WebPictureGif, FramesNotKeptAreSelectedFromTheData)
{
    TWebPicture picture;
    picture.FrameMemoryLimit = 0;  // too little to keep the frames composed
    Load(picture, ThreeFrames());
    EXPECT_FALSE(picture.FramesKept());
    const std::vector<uint8_t> raw = picture.RawData();
    int changes = 0;
    picture.OnFrameChange = [&](TObject*) { ++changes; };
    struct Case { int frame; TColor colour; int width; uint16_t left, top; };
    for (Case c : {Case{0, clRed, 12, 0, 0}, Case{1, clRed, 12, 0, 0}, Case{2, clBlue, 4, 3, 2},
                   Case{3, clWhite, 2, 1, 1}}) {
        picture.SetFrame(c.frame);
        EXPECT_EQ(DrawnPixel(picture, c.left, c.top), c.colour) << c.frame;
        EXPECT_EQ(DrawnPixel(picture, c.left + c.width - 1, c.top), c.colour) << c.frame;
        EXPECT_EQ(picture.Width(), c.width) << c.frame;
        EXPECT_EQ(picture.FrameInfo().FrameLeft, c.left) << c.frame;
        EXPECT_EQ(picture.FrameInfo().FrameTop, c.top) << c.frame;
        EXPECT_EQ(picture.FrameInfo().ScreenWidth, 12);
    }
    EXPECT_EQ(changes, 4);
    EXPECT_EQ(picture.RawData(), raw);  // the bytes as loaded stay

    // Frame 2 is drawn shifted by its place in the animation.
    picture.SetFrame(2);
    TBitmap target(20, 20);
    target.Canvas().Brush.Color = clWhite;
    target.Canvas().FillRect({0, 0, 20, 20});
    target.Canvas().StretchDraw({0, 0, 4, 4}, picture);
    EXPECT_EQ(target.Canvas().Pixel(2, 1), clWhite);
    EXPECT_EQ(target.Canvas().Pixel(3, 2), clBlue);
    EXPECT_EQ(target.Canvas().Pixel(6, 5), clBlue);
    EXPECT_EQ(target.Canvas().Pixel(7, 6), clWhite);

    // A frame past the last leaves only the header: nothing to show.
    EXPECT_THROW(picture.SetFrame(5), Exception);
    EXPECT_EQ(picture.Width(), 0);
}

TEST(WebPictureGif, TruncatedAndHostileDataIsNeverReadOutOfBounds)
{
    const std::string gif = ThreeFrames();
    for (size_t size = 0; size <= gif.size(); ++size) {
        TWebPicture picture;
        try {
            Load(picture, gif.substr(0, size));
        } catch (const Exception&) {
        }
        int count = picture.GifFrameCount();
        for (int k = 0; k <= count + 1; ++k) {
            picture.GifFrameDelay(k);
            try {
                picture.SetFrame(k);
            } catch (const Exception&) {
            }
        }
    }
    // Frame markers inside the colour table of a header that claims huge sizes are no frames.
    std::string hostile("GIF89a\xFF\xFF\xFF\xFF\xF7\x00\x00", 13);
    for (int i = 0; i < 40; ++i)
        hostile += std::string("\x21\xF9\x04\xFF\xFF\xFF\xFF\x00\x2C\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 17);
    TWebPicture picture;
    EXPECT_THROW(Load(picture, hostile), Exception);
    EXPECT_EQ(picture.GifFrameCount(), 0);
    // Past the table they are frames whose image data never ends.
    hostile += std::string(768 - 680, '\0');
    hostile += std::string("\x21\xF9\x04\x00\x05\x00\x00\x00\x2C\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\x00\x08", 19);
    EXPECT_THROW(Load(picture, hostile), Exception);
    EXPECT_EQ(picture.GifFrameCount(), 1);
    EXPECT_EQ(picture.GifFrameDelay(1), 5);
    EXPECT_FALSE(picture.FramesKept());
}

TEST(WebPictureGif, FramesAreFoundByWalkingTheBlocks)
{
    // Common tools put the loop extension between the first control extension and its image;
    // marker bytes inside image data are no frame.
    const std::string gif = WithLoopExtensionInFirstFrame(ThreeFrames());
    TWebPicture picture;
    Load(picture, gif);
    EXPECT_EQ(picture.GifFrameCount(), 3);
    EXPECT_EQ(picture.GifFrameDelay(1), 10);
    EXPECT_EQ(picture.GifFrameDelay(3), 30);
    std::set<qint64> pictures;
    for (int frame = 1; frame <= 3; ++frame) {
        picture.SetFrame(frame);
        pictures.insert(picture.ToImage().cacheKey());
    }
    EXPECT_EQ(pictures.size(), 3u);
    picture.SetFrame(1);
    EXPECT_EQ(DrawnPixel(picture, 5, 5), clRed);
    picture.SetFrame(2);
    EXPECT_EQ(DrawnPixel(picture, 5, 5), clBlue);

    // Frames without control extension count too, with no delay; a comment is no frame.
    std::string plain = MakeGif(4, 4, {{0, 0, 4, 4, 0, 0, kGifRed}});
    const std::string image = plain.substr(33, plain.size() - 34);  // descriptor and data
    plain = plain.substr(0, 25) + std::string("\x21\xFE\x03\x21\xF9\x04\x00", 7) + image + image + "\x3B";
    Load(picture, plain);
    EXPECT_EQ(picture.GifFrameCount(), 2);
    EXPECT_EQ(picture.GifFrameDelay(2), 0);
}

TEST(WebPictureGif, KeptFramesAreComposedOntoTheScreen)
{
    // Red screen; a blue square that goes back to the background; a white dot over what was
    // before the blue square.
    TWebPicture picture;
    Load(picture, MakeGif(12, 10, {{0, 0, 12, 10, 10, 0x00, kGifRed},
                                   {3, 2, 4, 4, 10, 0x08, kGifBlue},
                                   {1, 1, 2, 2, 10, 0x0C, kGifWhite},
                                   {8, 8, 1, 1, 10, 0x00, kGifBlack}}));
    ASSERT_TRUE(picture.FramesKept());
    picture.SetFrame(2);
    EXPECT_EQ(picture.Width(), 12);  // the whole screen, drawn in place
    EXPECT_EQ(DrawnPixel(picture, 0, 0), clRed);
    EXPECT_EQ(DrawnPixel(picture, 3, 2), clBlue);
    EXPECT_EQ(picture.FrameInfo().FrameLeft, 3);  // still the frame's own place
    picture.SetFrame(3);
    EXPECT_EQ(DrawnPixel(picture, 1, 1), clWhite);
    // The blue square went back to the background: transparent, so the black below shows.
    EXPECT_EQ(DrawnPixel(picture, 4, 4), clBlack);
    EXPECT_EQ(DrawnPixel(picture, 9, 9), clRed);
    picture.SetFrame(4);
    EXPECT_EQ(DrawnPixel(picture, 1, 1), clRed);  // the dot restored what was before it
    EXPECT_EQ(DrawnPixel(picture, 8, 8), clBlack);

    // Frame 0 shows the first; a frame past the last leaves only the header.
    picture.SetFrame(0);
    EXPECT_EQ(DrawnPixel(picture, 4, 4), clRed);
    EXPECT_THROW(picture.SetFrame(5), Exception);
    EXPECT_EQ(picture.Width(), 0);
}

TEST(WebPictureGif, FramesBeyondTheMemoryCapAreNotKept)
{
    // 8192 x 8192 screen: two frames would take 512 MiB. Nothing that large is allocated.
    TWebPicture picture;
    Load(picture, MakeGif(8192, 8192, {{0, 0, 2, 2, 5, 0, kGifRed}, {0, 0, 2, 2, 5, 0, kGifBlue}}));
    EXPECT_EQ(picture.GifFrameCount(), 2);
    EXPECT_FALSE(picture.FramesKept());
    EXPECT_EQ(picture.Width(), 2);

    const std::string small = ThreeFrames();
    picture.FrameMemoryLimit = 12 * 10 * 4 * 3;
    Load(picture, small);
    EXPECT_TRUE(picture.FramesKept());
    picture.FrameMemoryLimit = 12 * 10 * 4 * 3 - 1;
    Load(picture, small);
    EXPECT_FALSE(picture.FramesKept());
}

TEST(WebPictureGif, DecodingIsBoundedByTheFramesOwnPixels)
{
    // Frames larger than the screen cost what they declare: decoding stops before the frame
    // that takes all the frames beyond the kept frames' memory, a quarter of it in pixels.
    // Only the part on the screen is kept, so even a huge frame takes little memory.
    const TGifTestFrame red{0, 0, 4, 4, 0, 0, kGifRed};
    const TGifTestFrame spilling{2, 2, 8, 8, 0, 0, kGifBlue};  // 64 pixels, 4 of them on the screen
    const TGifTestFrame huge{0, 0, 6000, 6000, 0, 0, kGifBlue};  // 36 megapixels
    const struct {
        const char* name;
        uint16_t side;  // of the square screen
        std::vector<TGifTestFrame> frames;
        size_t limit;
        bool refused;
    } cases[] = {
        {"just within", 4, {red, spilling}, 4 * (16 + 64), false},
        {"one pixel beyond", 4, {red, spilling}, 4 * (16 + 64) - 1, true},
        {"a huge frame on a one-pixel screen", 1, {{0, 0, 1, 1, 0, 0, kGifRed}, huge}, kMaxGifAnimationMemory, false},
        {"huge frames on a one-pixel screen", 1, {huge, huge}, kMaxGifAnimationMemory, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string gif = MakeGif(c.side, c.side, c.frames);
        ASSERT_LT(gif.size(), 64u * 1024);
        TWebPicture picture;
        picture.FrameMemoryLimit = c.limit;
        String why;
        const long peakKb = PeakGrowthKb([&] {
            try {
                Load(picture, gif);
            } catch (const Exception& e) {
                why = e.Message;
            }
        });
        EXPECT_LT(peakKb, 16 * 1024);
        if (c.refused) {
            EXPECT_NE(why.find("GIF image is too large"), String::npos) << why;
            EXPECT_NE(why.find("megapixels"), String::npos) << why;
            EXPECT_EQ(picture.Width(), 0);
            continue;
        }
        EXPECT_EQ(why, "");
        ASSERT_TRUE(picture.FramesKept());
        picture.SetFrame(2);
        EXPECT_EQ(picture.Width(), c.side);
        EXPECT_EQ(DrawnPixel(picture, c.side - 1, c.side - 1), clBlue);
        if (c.side > 2) {
            EXPECT_EQ(DrawnPixel(picture, 1, 1), clRed);
        }
    }
}

TEST(WebPicture, SizeFollowsTheExtentAndDpi)
{
    TWebPicture picture;
    EXPECT_EQ(picture.Width(), 0);
    Load(picture, BmpBytes(96, 48));
    EXPECT_EQ(picture.Width(), 96);  // 2540 HIMETRIC at 96 per inch
    EXPECT_EQ(picture.Height(), 48);
    picture.SetDPI(192, 72);
    EXPECT_EQ(picture.Width(), 192);
    EXPECT_EQ(picture.Height(), 36);
    TBitmap target(10, 10);
    picture.SetDPI(96, 96);
    target.Canvas().StretchDraw({0, 0, 10, 10}, picture);
    EXPECT_EQ(target.Canvas().Pixel(5, 1), clRed);
    EXPECT_EQ(target.Canvas().Pixel(5, 8), clBlue);
}

TEST(WebPicture, AssignCopiesAnotherWebPictureOrClears)
{
    TWebPicture source, copy;
    Load(source, BmpBytes(8, 4));
    int changes = 0;
    copy.OnChange = [&](TObject*) { ++changes; };
    copy.Assign(source);
    EXPECT_FALSE(copy.Empty());
    EXPECT_EQ(copy.Width(), 8);
    EXPECT_EQ(copy.RawData(), source.RawData());
    copy.Assign(static_cast<const TPersistent*>(nullptr));
    EXPECT_TRUE(copy.Empty());
    EXPECT_TRUE(copy.RawData().empty());
    EXPECT_EQ(changes, 2);
    Load(copy, BmpBytes(8, 4));
    TBitmap other(3, 3);
    copy.Assign(other);  // not a web picture: emptied, nothing more
    EXPECT_TRUE(copy.Empty());
    EXPECT_EQ(copy.Width(), 0);
    EXPECT_FALSE(copy.RawData().empty());
}

TEST(WebPicture, StreamsKeepTheBytesAsTheyCame)
{
    TWebPicture picture;
    int changes = 0;
    picture.OnChange = [&](TObject*) { ++changes; };
    std::string bytes = BmpBytes(5, 5) + "trailing bytes stay";
    TMemoryStream in;
    in.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    picture.ReadData(in);  // from the beginning, without notification
    EXPECT_EQ(changes, 0);
    EXPECT_FALSE(picture.Empty());
    TMemoryStream out;
    picture.WriteData(out);
    EXPECT_EQ(std::string(out.Data().begin(), out.Data().end()), bytes);
    // Bytes that do not decode replace the picture with none, and say so to whoever draws it,
    // at any frame.
    for (int frame : {0, 2}) {
        SCOPED_TRACE(frame);
        Load(picture, BmpBytes(5, 5));
        picture.SetFrame(frame);
        const int before = changes;
        try {
            Load(picture, "not a picture at all");
            FAIL();
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message, "Could not load image. Invalid format");
        }
        EXPECT_EQ(changes, before + 1);
        EXPECT_EQ(DrawnPixel(picture, 1, 1), clBlack);
    }
}

TEST(WebPicture, FileAddressesLoadPlainFilesOnly)
{
    TempDir dir;
    String file = dir.Write("cover.bmp", BmpBytes(6, 6));
    TWebPicture picture;
    picture.LoadFromURL("file://" + file);
    EXPECT_FALSE(picture.Empty());
    EXPECT_EQ(picture.Width(), 6);
    EXPECT_EQ(picture.URL(), "file://" + file);

    TWebPicture none;
    none.LoadFromURL("FILE://");
    EXPECT_TRUE(none.Empty());
    EXPECT_EQ(none.URL(), "FILE://");

    String fifo = (dir.path / "fifo").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    String big = (dir.path / "big.bmp").string();
    std::filesystem::copy_file(file, big);
    std::filesystem::resize_file(big, kMaxWebPictureSize + 1);
    for (const String& bad : {fifo, String("/dev/zero"), big, dir.Write("junk.bmp", "junk"), file + ".missing"}) {
        picture.LoadFromURL("FILE://" + bad);
        EXPECT_TRUE(picture.Empty()) << bad;
    }
}

TEST(WebPicture, ResourceAddressesLoadCompiledInResources)
{
    TWebPicture picture;
    picture.LoadFromURL("res://cover");
    EXPECT_FALSE(picture.Empty());
    EXPECT_EQ(picture.Width(), 3);
    EXPECT_EQ(DrawnPixel(picture, 0, 0), clRed);
    EXPECT_EQ(DrawnPixel(picture, 0, 1), clBlue);
    TWebPicture missing;
    missing.LoadFromURL("RES://NOTHERE");
    EXPECT_TRUE(missing.Empty());
    EXPECT_EQ(missing.URL(), "RES://NOTHERE");
}
