#include "PaintProbe.h"
#include "DrawLib.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

void Fill(TBitmap& b, TColor c)
{
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) {
            uint8_t* p = b.ScanLine(y) + 3 * x;
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
        }
}

void Put(TBitmap& b, int x, int y, TColor c)
{
    uint8_t* p = b.ScanLine(y) + 3 * x;
    p[0] = GetBValue(c);
    p[1] = GetGValue(c);
    p[2] = GetRValue(c);
}

TEST(ReplaceColors, BlackTakesTheDarkColourEverythingElseTheLight)
{
    TBitmap glyph(4, 3, pf24bit);
    Fill(glyph, clWhite);
    Put(glyph, 1, 0, clBlack);
    Put(glyph, 2, 1, clBlack);
    Put(glyph, 3, 2, clGray);
    Put(glyph, 0, 2, RGB(0, 0, 1));  // nearly black is not black
    ReplaceColors(glyph, clBtnFace, clBtnText);
    const TColor face = ColorToRGB(clBtnFace);
    const TColor text = ColorToRGB(clBtnText);
    ASSERT_NE(face, text);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) {
            const bool black = (x == 1 && y == 0) || (x == 2 && y == 1);
            EXPECT_EQ(At(glyph, x, y), black ? text : face) << x << "," << y;
        }
}

TEST(ReplaceColors, OtherFormatsBecome24Bit)
{
    TBitmap glyph(5, 2, pf32bit);
    glyph.Canvas().Brush.Color = clWhite;
    glyph.Canvas().FillRect({0, 0, 5, 2});
    glyph.Canvas().SetPixel(4, 1, clBlack);
    glyph.Canvas().Release();
    ReplaceColors(glyph, clRed, clBlue);
    EXPECT_EQ(glyph.PixelFormat(), pf24bit);
    EXPECT_EQ(At(glyph, 4, 1), clBlue);
    EXPECT_EQ(At(glyph, 0, 0), clRed);
}

TEST(DrawEtchedText, MeasuringDrawsNothingAndGrowsTheRectangle)
{
    TBitmap image(120, 40, pf24bit);
    TCanvas& c = image.Canvas();
    c.Brush.Color = clWhite;
    c.FillRect({0, 0, 120, 40});
    TRect measured{0, 0, 0, 0};
    c.DrawText("Etched", measured, DT_CALCRECT | DT_SINGLELINE);
    TRect r{0, 0, 0, 0};
    c.Font.SetColor(clGreen);
    c.Brush.Style = bsSolid;
    DrawEtchedText(c, "Etched", r, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(r.Right, measured.Right + 1);
    EXPECT_EQ(r.Bottom, measured.Bottom + 1);
    EXPECT_EQ(c.Font.Color(), clGreen);
    EXPECT_EQ(c.Brush.Style, bsSolid);
    c.Release();
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 120; ++x)
            ASSERT_EQ(At(image, x, y), clWhite);
}

TEST(DrawEtchedText, HighlightBelowRightOfTheShadowAndStateRestored)
{
    TBitmap image(120, 40, pf24bit);
    TCanvas& c = image.Canvas();
    c.Brush.Color = clSilver;
    c.FillRect({0, 0, 120, 40});
    c.Font.SetColor(clGreen);
    c.Font.SetHeight(-24);
    TRect r{5, 5, 115, 35};
    DrawEtchedText(c, "I", r, DT_SINGLELINE);
    EXPECT_EQ(r.Left, 5);
    EXPECT_EQ(r.Top, 5);
    EXPECT_EQ(r.Right, 116);
    EXPECT_EQ(r.Bottom, 36);
    EXPECT_EQ(c.Font.Color(), clGreen);
    EXPECT_EQ(c.Brush.Style, bsSolid);
    c.Release();
    const TColor shadow = ColorToRGB(clBtnShadow);
    const TColor highlight = ColorToRGB(clBtnHighlight);
    int shadowLeft = 999, shadowRight = -1, lightLeft = 999, lightRight = -1;
    int shadowTop = 999, lightTop = 999;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 120; ++x) {
            const TColor p = At(image, x, y);
            ASSERT_NE(p, clGreen);
            if (p == shadow) {
                shadowLeft = std::min(shadowLeft, x);
                shadowRight = std::max(shadowRight, x);
                shadowTop = std::min(shadowTop, y);
            } else if (p == highlight) {
                lightLeft = std::min(lightLeft, x);
                lightRight = std::max(lightRight, x);
                lightTop = std::min(lightTop, y);
            }
        }
    ASSERT_GE(shadowRight, 0);
    ASSERT_GE(lightRight, 0);
    // Drawn with a clear brush, the background shows between the strokes.
    EXPECT_EQ(At(image, 0, 0), clSilver);
    EXPECT_EQ(At(image, 114, 34), clSilver);
    EXPECT_LT(shadowLeft, lightLeft);
    EXPECT_GT(lightRight, shadowRight);
    EXPECT_LT(shadowTop, lightTop);
}

}  // namespace
