#include "Forms.h"
#include "StdCtrls.h"

#include <gtest/gtest.h>

namespace {

TColor PixelOf(TBitmap& image, int x, int y)
{
    image.Canvas().Release();
    const uint8_t* p = image.ScanLine(y) + (image.PixelFormat() == pf32bit ? 4 : 3) * x;
    return RGB(p[2], p[1], p[0]);
}

// An etched line round the box, shadow outside and highlight inside at the top and left, the other
// way round at the bottom and right; its top runs through the middle of the caption, which
// breaks it from 8 pixels in.
TEST(GroupBox, DrawsAnEtchedFrameBrokenByItsCaption)
{
    TForm form(nullptr);
    auto* box = new TGroupBox(&form);
    box->SetParent(&form);
    box->SetBounds(10, 10, 150, 80);
    box->SetColor(RGB(230, 230, 210));
    box->SetCaption("Tracks");
    TBitmap image;
    box->PaintTo(image);
    TBitmap measure(10, 10, pf24bit);
    measure.Canvas().Font.Assign(box->Font);
    const int top = measure.Canvas().TextHeight("0") / 2;
    const TColor shadow = ColorToRGB(clBtnShadow), light = ColorToRGB(clBtnHighlight);
    EXPECT_EQ(PixelOf(image, 0, 40), shadow);
    EXPECT_EQ(PixelOf(image, 1, 40), light);
    EXPECT_EQ(PixelOf(image, 149, 40), light);
    EXPECT_EQ(PixelOf(image, 148, 40), shadow);
    EXPECT_EQ(PixelOf(image, 75, 79), light);
    EXPECT_EQ(PixelOf(image, 75, 78), shadow);
    EXPECT_EQ(PixelOf(image, 4, top), shadow);
    EXPECT_EQ(PixelOf(image, 140, top), shadow);
    // Under the caption the line gives way to the box's colour and the text.
    int lineUnderCaption = 0;
    for (int x = 10; x < 30; ++x)
        lineUnderCaption += PixelOf(image, x, top) == shadow;
    EXPECT_EQ(lineUnderCaption, 0);
}

}  // namespace
