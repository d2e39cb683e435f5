#include "StoredImage.h"

#include <gtest/gtest.h>

namespace {

std::vector<uint8_t> BitmapBytes(int w, int h, TColor c)
{
    TBitmap b(w, h);
    b.Canvas().Brush.Color = c;
    b.Canvas().FillRect({0, 0, w, h});
    TMemoryStream s;
    b.SaveToStream(s);
    std::vector<uint8_t> bytes(static_cast<size_t>(s.Size()));
    s.SetPosition(0);
    s.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    return bytes;
}

TMemoryStream StreamOf(const std::vector<uint8_t>& bytes)
{
    TMemoryStream s;
    s.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    return s;
}

TEST(StoredImage, DecodesAndWritesItsBytesBackUnchanged)
{
    const auto bytes = BitmapBytes(12, 7, 0x0000FF);
    TMemoryStream in = StreamOf(bytes);
    in.SetPosition(5);  // read from the beginning whatever the position
    TStoredImage image;
    int changes = 0;
    image.OnChange = [&](TObject*) { ++changes; };
    image.LoadFromStream(in);
    EXPECT_FALSE(image.Empty());
    EXPECT_EQ(image.Width(), 12);
    EXPECT_EQ(image.Height(), 7);
    EXPECT_EQ(changes, 1);

    TMemoryStream out;
    image.WriteData(out);
    std::vector<uint8_t> written(static_cast<size_t>(out.Size()));
    out.SetPosition(0);
    out.ReadBuffer(written.data(), static_cast<int64_t>(written.size()));
    EXPECT_EQ(written, bytes);

    TBitmap target(20, 20);
    target.Canvas().Brush.Color = clWhite;
    target.Canvas().FillRect({0, 0, 20, 20});
    image.Draw(target.Canvas(), {0, 0, 12, 7});
    EXPECT_EQ(target.Canvas().Pixel(3, 3), 0x0000FF);
    EXPECT_EQ(target.Canvas().Pixel(15, 15), clWhite);
}

TEST(StoredImage, FormStreamReadDoesNotNotify)
{
    TMemoryStream in = StreamOf(BitmapBytes(4, 4, clBlack));
    TStoredImage image;
    int changes = 0;
    image.OnChange = [&](TObject*) { ++changes; };
    image.ReadData(in);
    EXPECT_FALSE(image.Empty());
    EXPECT_EQ(changes, 0);
}

TEST(StoredImage, UnreadableDataRaisesFromStreamButNotFromFile)
{
    const std::vector<uint8_t> junk = {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'};
    TMemoryStream in = StreamOf(junk);
    TStoredImage image;
    try {
        image.LoadFromStream(in);
        FAIL() << "no error raised";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Could not load image. Invalid format");
    }
    EXPECT_EQ(image.Width(), 0);

    TStoredImage fromFile;
    fromFile.LoadFromFile("/nonexistent/folder/picture.bmp");
    EXPECT_TRUE(fromFile.Empty());
}

TEST(StoredImage, AssignFromNothingEmptiesAndNotifies)
{
    TMemoryStream in = StreamOf(BitmapBytes(4, 4, clBlack));
    TStoredImage image, copy;
    image.LoadFromStream(in);

    int changes = 0;
    copy.OnChange = [&](TObject*) { ++changes; };
    copy.Assign(&image);
    EXPECT_EQ(copy.Data(), image.Data());
    EXPECT_EQ(copy.Width(), 4);
    EXPECT_EQ(changes, 1);

    copy.Assign(&copy);  // itself: keeps its picture
    EXPECT_EQ(copy.Width(), 4);
    EXPECT_FALSE(copy.Empty());

    copy.Assign(static_cast<const TStoredImage*>(nullptr));
    EXPECT_TRUE(copy.Empty());
    EXPECT_TRUE(copy.Data().empty());
    EXPECT_EQ(copy.Width(), 0);
    EXPECT_EQ(changes, 2);
}

}  // namespace
