// Drawing onto a real image canvas.
#include "MarkupCall.h"

#include "HtmlGradient.h"

#include <gtest/gtest.h>

namespace {
struct ImageCanvas {
    TBitmap bitmap{120, 40};
    ImageCanvas()
    {
        bitmap.Canvas().Brush.Color = clWhite;
        bitmap.Canvas().FillRect({0, 0, 120, 40});
    }
    TCanvas& canvas() { return bitmap.Canvas(); }
    TColor At(int x, int y) { return bitmap.Canvas().Pixel(x, y); }
};

int Count(ImageCanvas& c, TColor color)
{
    int n = 0;
    for (int y = 0; y < c.bitmap.Height(); ++y)
        for (int x = 0; x < c.bitmap.Width(); ++x)
            n += c.At(x, y) == color;
    return n;
}
}  // namespace

TEST(HtmlPixels, GradientSteps)
{
    ImageCanvas c;
    HtmlGradientRect(c.canvas(), clBlack, clWhite, true, {0, 0, 64, 10}, 64, clNone);
    EXPECT_EQ(c.At(0, 5), RGB(0, 0, 0));
    EXPECT_EQ(c.At(32, 5), RGB(128, 128, 128));  // Round(32 x 255 / 64) = 128 (half to even)
    EXPECT_EQ(c.At(63, 5), RGB(251, 251, 251));
    EXPECT_EQ(c.At(64, 5), clWhite);  // nothing past the rectangle

    ImageCanvas v;
    HtmlGradientRect(v.canvas(), clRed, clBlue, false, {0, 0, 10, 32}, 0, clLime);
    EXPECT_EQ(v.At(5, 5), clRed);  // 0 steps is one band of the first colour
    EXPECT_EQ(v.At(0, 10), clLime);
    EXPECT_EQ(v.At(9, 31), clLime);
}

TEST(HtmlPixels, ImageListPictureIsDrawnTransparently)
{
    TImageList images(nullptr, 16, 16);
    QImage square(16, 16, QImage::Format_ARGB32);
    square.fill(Qt::transparent);
    for (int y = 4; y < 12; ++y)
        for (int x = 4; x < 12; ++x)
            square.setPixel(x, y, qRgb(255, 0, 0));
    images.AddImage(square);
    ImageCanvas c;
    TMarkupCall call;
    call.args.images = &images;
    call.Run(c.canvas(), "<img src=\"idx:0\">", {0, 0, 120, 40});
    EXPECT_EQ(c.At(1 + 4, 4), clRed);
    EXPECT_EQ(c.At(1 + 11, 11), clRed);
    EXPECT_EQ(c.At(1 + 2, 2), clWhite);  // the transparent part keeps the background
}

TEST(HtmlPixels, BackgroundsRulesAndErrorLines)
{
    ImageCanvas body;
    TMarkupCall call;
    body.canvas().SetTextMetrics(nullptr);
    call.Run(body.canvas(), "<body bgcolor=\"#00FF00\">", {10, 0, 100, 30});
    EXPECT_EQ(body.At(8, 5), clLime);  // from 2 pixels left of the rectangle
    EXPECT_EQ(body.At(99, 29), clLime);
    EXPECT_EQ(body.At(100, 5), clWhite);
    EXPECT_EQ(body.At(7, 5), clWhite);

    ImageCanvas rule;
    TFixedTextMetrics metrics;
    rule.canvas().SetTextMetrics(&metrics);
    call.Run(rule.canvas(), "<hr>", {0, 0, 100, 40});
    EXPECT_EQ(rule.At(1, 14), clBlack);  // one below the baseline of the 13-pixel line
    EXPECT_EQ(rule.At(99, 14), clBlack);  // the line stops short of the rectangle's right edge
    EXPECT_EQ(rule.At(100, 14), clWhite);
    EXPECT_EQ(Count(rule, clBlack), 99);

    ImageCanvas error;
    error.canvas().SetTextMetrics(&metrics);
    error.canvas().Font.SetColor(clWhite);  // the text itself leaves no mark
    call.Run(error.canvas(), "<e>abcd</e>", {0, 0, 100, 40});
    // From x 0 (1 rounded down to even) to 25, between y 14 and 12.
    EXPECT_EQ(error.At(0, 14), clRed);
    EXPECT_EQ(error.At(2, 12), clRed);
    EXPECT_EQ(error.At(4, 14), clRed);
    EXPECT_EQ(error.At(0, 12), clWhite);
    EXPECT_EQ(error.At(40, 13), clWhite);
}

TEST(HtmlPixels, TextBackgroundIsTheBrushColour)
{
    ImageCanvas c;
    TFixedTextMetrics metrics;
    c.canvas().SetTextMetrics(&metrics);
    c.canvas().Font.SetColor(clBlack);
    TMarkupCall call;
    call.Run(c.canvas(), "<font bgcolor=\"#FF0000\">ab</font>cd<hi>ef</hi>", {0, 0, 120, 40});
    // "ab" on red from x 1 to 13, "cd" transparent, "ef" on the highlight colour from x 25.
    EXPECT_EQ(c.At(1, 0), clRed);
    EXPECT_EQ(c.At(12, 12), clRed);
    EXPECT_EQ(c.At(14, 0), clWhite);
    EXPECT_EQ(c.At(25, 0), ColorToRGB(clHighlight));
    EXPECT_EQ(c.canvas().Brush.Color, clWhite);  // the caller's brush comes back
}

TEST(HtmlPixels, PrintModeStretchesImageListPictures)
{
    TImageList images(nullptr, 16, 16);
    QImage square(16, 16, QImage::Format_ARGB32);
    square.fill(Qt::transparent);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            square.setPixel(x, y, qRgb(0, 0, 255));
    images.AddImage(square);
    ImageCanvas c;
    TMarkupCall call;
    call.args.images = &images;
    call.args.printMode = true;
    call.args.scale = 2.0;
    call.Run(c.canvas(), "<img src=\"idx:0\">", {0, 0, 120, 40});
    EXPECT_EQ(c.At(1 + 15, 15), clBlue);   // the 8-pixel corner, twice as large
    EXPECT_EQ(c.At(1 + 17, 17), clWhite);  // white where the picture is transparent
    EXPECT_EQ(c.At(1 + 31, 31), clWhite);
}

TEST(HtmlPixels, HoverBackgroundEndsWithAWrappedAnchor)
{
    ImageCanvas c;
    TFixedTextMetrics metrics;
    c.canvas().SetTextMetrics(&metrics);
    c.canvas().Font.SetColor(clWhite);  // only backgrounds leave marks
    TMarkupCall call;
    call.args.hoverColor = clYellow;
    // "aaa " on the first line, "bbbbbb" and a blank on the second, the plain "after" on the third.
    call.Run(c.canvas(), "<a href=\"x\">aaa bbbbbb</a> after", {0, 0, 1 + 8 * 6, 40});
    EXPECT_EQ(c.At(1 + 5 * 6, 13), clYellow);  // the top row of "bbbbbb"'s cell
    EXPECT_EQ(c.At(1 + 6 * 6 + 3, 13), clWhite);  // the blank after the anchor
    EXPECT_EQ(c.At(1 + 2, 26), clWhite);  // "after"
}

TEST(HtmlPixels, BgcolorIsNotReadFromBgcolorto)
{
    ImageCanvas c;
    TFixedTextMetrics metrics;
    c.canvas().SetTextMetrics(&metrics);
    TMarkupCall call;
    call.Run(c.canvas(), "<font bgcolorto = \"#00FF00\">ab</font><font bgcolor = \"#0000FF\">cd</font>",
             {0, 0, 120, 40});
    EXPECT_EQ(c.At(3, 3), clWhite);
    EXPECT_EQ(c.At(1 + 2 * 6 + 3, 3), clBlue);  // blanks around "=" are allowed
}

TEST(HtmlPixels, TextTurnedAQuarterShowsAboveItsLine)
{
    ImageCanvas c;
    c.canvas().Font.SetName("Liberation Sans");
    c.canvas().Font.SetHeight(-12);
    c.canvas().Font.SetColor(clBlack);
    TMarkupCall call;
    // Turned by 90 degrees the text runs upwards from its cell, out of the piece's rectangle.
    call.Run(c.canvas(), "<r a=\"90\">HHHH</r>", {0, 25, 120, 40});
    int dark = 0;
    for (int y = 0; y < 25; ++y)
        for (int x = 0; x < 30; ++x)
            dark += (c.At(x, y) & 0xFF) < 128;
    EXPECT_GT(dark, 20);
}
