#include "Graphics.h"

#include <gtest/gtest.h>

namespace {
struct Page {
    TBitmap bmp{40, 30, pf24bit};
    TCanvas& c = bmp.Canvas();
    Page()
    {
        c.Brush.Color = clWhite;
        c.FillRect({0, 0, 40, 30});
    }
    TColor At(int x, int y) { return c.Pixel(x, y); }
};
}  // namespace

TEST(Canvas, LineToLeavesOutItsEndPixel)
{
    Page p;
    p.c.Pen.Color = clBlack;
    p.c.MoveTo(5, 10);
    p.c.LineTo(20, 10);
    EXPECT_EQ(p.At(5, 10), clBlack);
    EXPECT_EQ(p.At(19, 10), clBlack);
    EXPECT_EQ(p.At(20, 10), clWhite);
    EXPECT_EQ(p.c.PenPos, Point(20, 10));
    p.c.MoveTo(30, 25);
    p.c.LineTo(30, 2);  // upward: the end is at the top
    EXPECT_EQ(p.At(30, 25), clBlack);
    EXPECT_EQ(p.At(30, 3), clBlack);
    EXPECT_EQ(p.At(30, 2), clWhite);
}

TEST(Canvas, RectangleAndFillRectLeaveOutRightAndBottom)
{
    Page p;
    p.c.Brush.Color = clRed;
    p.c.FillRect({2, 2, 6, 5});
    EXPECT_EQ(p.At(2, 2), clRed);
    EXPECT_EQ(p.At(5, 4), clRed);
    EXPECT_EQ(p.At(6, 4), clWhite);
    EXPECT_EQ(p.At(5, 5), clWhite);

    p.c.Pen.Color = clBlue;
    p.c.Brush.Color = clLime;
    p.c.Rectangle(10, 10, 20, 16);
    EXPECT_EQ(p.At(10, 10), clBlue);
    EXPECT_EQ(p.At(19, 15), clBlue);   // the outline's last column and row
    EXPECT_EQ(p.At(20, 15), clWhite);
    EXPECT_EQ(p.At(19, 16), clWhite);
    EXPECT_EQ(p.At(15, 13), clLime);   // inside filled by the brush
}

TEST(Canvas, TextBackgroundFollowsBrushStyle)
{
    Page p;
    p.c.Font.SetName("Arial");
    p.c.Font.SetHeight(-12);
    p.c.Font.SetColor(clBlack);
    p.c.Brush.Color = clYellow;
    p.c.Brush.Style = bsSolid;
    p.c.TextOut(1, 1, "i");
    EXPECT_EQ(p.At(1, 1), clYellow);  // opaque: the cell's corner takes the brush

    Page q;
    q.c.Font.SetHeight(-12);
    q.c.Brush.Color = clYellow;
    q.c.Brush.Style = bsClear;
    q.c.TextOut(1, 1, "i");
    EXPECT_EQ(q.At(1, 1), clWhite);
}

TEST(Canvas, PositiveFontHeightIsTheCellHeight)
{
    Page p;
    p.c.Font.SetName("Arial");
    p.c.Font.SetHeight(67);
    EXPECT_NEAR(p.c.TextHeight("X"), 67, 1);
    p.c.Font.PixelsPerInch = 600;
    p.c.Font.SetSize(8);
    EXPECT_EQ(p.c.Font.Height(), -67);
}

TEST(Canvas, SystemColoursResolveThroughAFixedTable)
{
    EXPECT_EQ(ColorToRGB(clWhite), clWhite);
    EXPECT_EQ(ColorToRGB(clBtnFace), ColorToRGB(SystemColor(15)));
    EXPECT_EQ(clHighlight, static_cast<TColor>(0x8000000D));
    EXPECT_EQ(clNone, 0x1FFFFFFF);
}

TEST(Bitmap, TwentyFourBitRowsAreBlueGreenRedAndAligned)
{
    TBitmap b(3, 2, pf24bit);
    EXPECT_EQ(b.BytesPerLine(), 12);
    b.Canvas().Brush.Color = RGB(10, 20, 30);
    b.Canvas().FillRect({0, 0, 3, 2});
    const uint8_t* row = std::as_const(b).ScanLine(1);
    EXPECT_EQ(row[0], 30);
    EXPECT_EQ(row[1], 20);
    EXPECT_EQ(row[2], 10);
    b.SetPixelFormat(pf32bit);
    EXPECT_EQ(b.PixelFormat(), pf32bit);
}

TEST(Picture, RegistryMatchesExtensionsWithoutCase)
{
    TPicture p;
    try {
        p.LoadFromFile("/nowhere/cover.xyz");
        FAIL() << "no error";
    } catch (const EInvalidGraphic& e) {
        EXPECT_EQ(e.Message, "Unknown picture file extension (.xyz)");
    }
    // A known extension in capitals reaches its decoder, which then fails to open the file.
    EXPECT_THROW(p.LoadFromFile("/nowhere/cover.JPG"), EFOpenError);
    EXPECT_NE(TPicture::GraphicFilter().find("*.jpeg"), std::string::npos);
}
