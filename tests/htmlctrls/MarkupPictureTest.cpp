// The picture layer: pictures by address and by name, GIF frames and animation, ownership.
#include "GifBuilder.h"
#include "MarkupCall.h"
#include "MarkupPictureCache.h"
#include "PictureStore.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace {
void Load(TMarkupPicture& picture, const std::string& bytes)
{
    TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    picture.LoadFromStream(stream);
}

std::string ThreeFrames()
{
    return MakeGif(12, 10, {{0, 0, 12, 10, 0, 0x00, kGifRed}, {3, 2, 4, 4, 20, 0x00, kGifBlue},
                            {1, 1, 2, 2, 0, 0x00, kGifWhite}});
}

struct TempFile {
    String name;
    explicit TempFile(const std::string& bytes)
    {
        char pattern[] = "/tmp/ombrelle-markup-XXXXXX";
        int fd = ::mkstemp(pattern);
        ::close(fd);
        name = pattern;
        WriteFileAtomically(name, bytes.data(), bytes.size());
    }
    ~TempFile() { std::filesystem::remove(name); }
};
}  // namespace

TEST(MarkupPictureCache, UrlPictureStaysEmptyTakesNoRoomAndIsFoundAgain)
{
    TMarkupPictureCache cache;
    TFixedCanvas c;
    TMarkupCall call;
    call.args.pictureCache = &cache;
    call.Run(c.canvas, "<img src=\"http://www.example.com/a.jpg\">text", {0, 0, 200, 100});
    ASSERT_EQ(cache.Count(), 1);
    TMarkupPicture* picture = cache.Items(0);
    EXPECT_TRUE(picture->Empty());
    EXPECT_FALSE(picture->Busy());
    EXPECT_EQ(picture->URL(), "http://www.example.com/a.jpg");
    EXPECT_EQ(picture->DownloadURL(), "http://www.example.com/a.jpg");
    ASSERT_EQ(c.Drawn().size(), 1u);
    EXPECT_EQ(c.Drawn()[0].cell.Left, 1);

    call.Run(c.canvas, "<img src=\"http://www.example.com/a.jpg\">again", {0, 0, 200, 100});
    EXPECT_EQ(cache.Count(), 1);
    EXPECT_EQ(cache.FindPicture("http://www.example.com/a.jpg"), picture);
    call.Run(c.canvas, "<img src=\"http://www.example.com/A.jpg\">", {0, 0, 200, 100});
    EXPECT_EQ(cache.Count(), 2);  // another letter case, another picture
}

TEST(MarkupPictureCache, FilePictureIsReadAndDrawn)
{
    TempFile gif(MakeGif(20, 10, {{0, 0, 20, 10, 0, 0, kGifRed}}));
    TMarkupPictureCache cache;
    TFixedCanvas c;
    TMarkupCall call;
    call.args.pictureCache = &cache;
    call.Run(c.canvas, "<img src=\"file://" + gif.name + "\">x", {0, 0, 200, 100});
    ASSERT_EQ(cache.Count(), 1);
    EXPECT_FALSE(cache.Items(0)->Empty());
    EXPECT_EQ(c.Drawn()[0].cell.Left, 1 + 20);
    EXPECT_EQ(call.textHeight, 13);

    // Anything but a plain file is refused, and a picture that is no picture shows nothing.
    TempFile junk("not a picture at all");
    for (String source : {String("FILE:///dev/zero"), String("FILE:///proc/self/fd/0"), "FILE://" + junk.name,
                          String("FILE://"), String("RES://NoSuchResource")}) {
        TFixedCanvas d;
        EXPECT_NO_THROW(call.Run(d.canvas, "<img src=\"" + source + "\">x", {0, 0, 200, 100})) << source;
        EXPECT_EQ(d.Drawn()[0].cell.Left, 1) << source;
    }
}

TEST(MarkupPicture, AsyncAddressKeepsThePictureBusy)
{
    TMarkupPicture picture;
    picture.LoadFromURL("http://host/one.gif");
    EXPECT_TRUE(picture.Busy());
    EXPECT_EQ(picture.DownloadURL(), "http://host/one.gif");
    EXPECT_EQ(picture.URL(), "");
    picture.LoadFromURL("http://host/two.gif");
    EXPECT_EQ(picture.DownloadURL(), "http://host/one.gif");  // busy for good
    EXPECT_TRUE(picture.Empty());
}

TEST(MarkupPicture, FramesStepAndAnimate)
{
    TMarkupPicture picture;
    Load(picture, ThreeFrames());
    EXPECT_EQ(picture.GifFrameCount(), 3);
    EXPECT_EQ(picture.Frame(), 1);
    picture.NextFrame();
    EXPECT_EQ(picture.Frame(), 2);
    picture.NextFrame();
    picture.NextFrame();
    EXPECT_EQ(picture.Frame(), 1);
    EXPECT_EQ(picture.DisplayWidth(), 12);
    EXPECT_EQ(picture.DisplayHeight(), 10);

    // The first tick starts the clock; frame 1 is then due at once, frame 2 stays 20 hundredths
    // (two ticks), frame 3 is due at once again.
    std::vector<int> frames;
    for (int tick = 0; tick < 6; ++tick) {
        picture.AnimateStep();
        frames.push_back(picture.Frame());
    }
    EXPECT_EQ(frames, (std::vector<int>{1, 2, 2, 3, 1, 2}));
    EXPECT_EQ(picture.FrameOffset(), TPoint(3, 2));
}

TEST(MarkupPicture, StretchedGifIsNeverCountedAndNeverAnimates)
{
    TPictureStore store;
    TPictureItem* stretched = store.Items().Add();
    stretched->Name = "Stretched";
    Load(stretched->Picture(), ThreeFrames());
    TPictureItem* natural = store.Items().Add();
    natural->Name = "Natural";
    Load(natural->Picture(), ThreeFrames());
    TBitmap target(100, 40);
    TMarkupCall call;
    call.args.pictureStore = &store;
    call.Run(target.Canvas(), "<img src=\"stretched\" width=\"20\" height=\"20\"><img src=\"NATURAL\">", {0, 0, 100, 40});
    bool stretchedMoved = false, naturalMoved = false, anyMoved = false;
    for (int tick = 0; tick < 3; ++tick) {
        stretchedMoved = stretched->Picture().AnimateStep() || stretchedMoved;
        naturalMoved = natural->Picture().AnimateStep() || naturalMoved;
    }
    EXPECT_FALSE(stretchedMoved);
    EXPECT_TRUE(naturalMoved);
    for (int tick = 0; tick < 3; ++tick)
        anyMoved = store.Items().AnimatePictures() || anyMoved;
    EXPECT_TRUE(anyMoved);
    EXPECT_EQ(target.Canvas().Pixel(5, 5), clRed);  // the stretched first frame
}

TEST(MarkupPicture, LoadingAFileKeepsTheCountUntilAssigned)
{
    TMarkupPicture picture;
    Load(picture, ThreeFrames());
    EXPECT_EQ(picture.GifFrameCount(), 3);
    TempFile single(MakeGif(5, 5, {{0, 0, 5, 5, 0, 0, kGifRed}}));
    picture.LoadFromFile(single.name);
    EXPECT_EQ(picture.GifFrameCount(), 3);
    TMarkupPicture copy;
    copy.Assign(picture);
    EXPECT_EQ(copy.GifFrameCount(), 1);
    EXPECT_FALSE(copy.Empty());
    copy.Assign(nullptr);
    EXPECT_TRUE(copy.Empty());
    EXPECT_TRUE(copy.RawData().empty());
    EXPECT_EQ(copy.DisplayWidth(), 0);
}

TEST(PictureStore, FindsByNameIgnoringCaseAndCopiesOnAssign)
{
    TPictureStore store;
    EXPECT_EQ(store.Version(), "1.0.0.0");
    TPictureItem* item = store.Items().Add();
    item->Name = "LOGO";
    item->Tag = 7;
    Load(item->Picture(), MakeGif(4, 4, {{0, 0, 4, 4, 0, 0, kGifBlue}}));
    EXPECT_EQ(store.FindPicture("logo"), &item->Picture());
    EXPECT_EQ(store.FindPicture("other"), nullptr);

    TPictureStore other;
    other.SetItems(store.Items());
    ASSERT_EQ(other.Items().Count(), 1);
    EXPECT_EQ(other.Items().Items(0)->Tag, 7);
    EXPECT_NE(other.FindPicture("Logo"), store.FindPicture("Logo"));  // a copy, owned apart
    store.Items().Clear();
    EXPECT_FALSE(other.FindPicture("Logo")->Empty());
    other.SetItems(other.Items());  // assigning a collection to itself keeps it
    EXPECT_EQ(other.Items().Count(), 1);
}
