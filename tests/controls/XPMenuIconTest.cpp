#include "PaintProbe.h"
#include "ImgList.h"
#include "XPColors.h"
#include "XPIconEffects.h"
#include "XPLook.h"

#include <gtest/gtest.h>

namespace {

// The icon sits at (3, 3) in the 24-pixel gutter: its square covers 7..14.
TEST(XPMenuIcon, DimmedGreyedAndShadowed)
{
    IconMenu m;
    ASSERT_TRUE(m.item->OnDrawItem);
    m.Draw(false);
    EXPECT_EQ(At(m.image, 10, 10), LightenColor(Blue, 30));
    EXPECT_EQ(At(m.image, 5, 5), m.look->FFIconBackColor);  // the icon's background stays clear

    m.look->DimLevel = 0;
    m.Draw(false);
    EXPECT_EQ(At(m.image, 10, 10), Blue);

    m.Draw(true);  // moved up and left by one, over its shadow
    EXPECT_EQ(At(m.image, 6, 6), Blue);
    EXPECT_EQ(At(m.image, 14, 14), DarkenColor(m.look->FFSelectColor, 50));

    m.item->Checked = true;
    m.look->DimLevel = 30;
    m.Draw(false);
    EXPECT_EQ(At(m.image, 10, 10), Blue);  // checked icons are not dimmed

    m.item->Checked = false;
    m.item->Enabled = false;
    m.look->GrayLevel = 20;
    m.Draw(false);
    EXPECT_EQ(At(m.image, 10, 10), LightenColor(GrayColor(Blue, 20), 40));
}

TEST(XPMenuIcon, EffectsSpareTheKeyColour)
{
    TBitmap b(2, 1, pf24bit);
    b.Canvas().SetPixel(0, 0, TXPLook::TransparentColor);
    b.Canvas().SetPixel(1, 0, RGB(30, 60, 90));
    GrayBitmap(b, 10, TXPLook::TransparentColor);
    EXPECT_EQ(At(b, 0, 0), ColorToRGB(TXPLook::TransparentColor));
    EXPECT_EQ(At(b, 1, 0), RGB(70, 70, 70));
    LightenBitmap(b, 100, TXPLook::TransparentColor);
    EXPECT_EQ(At(b, 0, 0), ColorToRGB(TXPLook::TransparentColor));
    EXPECT_EQ(At(b, 1, 0), clWhite);
}

}  // namespace
