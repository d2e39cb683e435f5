#include "PaintProbe.h"
#include "ControlSubClass.h"
#include "SpeedBtns.h"
#include "XPColors.h"
#include "XPLook.h"

#include <gtest/gtest.h>

namespace {

// Opaque buttons: their faces are solid in every state.
struct SpeedForm : PainterForm {
    TFlatSpeedButton* Add(int top, int tag = 0)
    {
        auto* b = PainterForm::Add<TFlatSpeedButton>(10, top, 60, 30, tag);
        b->SetTransparent(false);
        return b;
    }
};

TEST(XPSpeedButton, FaceFrameAndEdgeFollowTheState)
{
    SpeedForm f;
    auto* button = f.Add(10);
    auto* parented = f.Add(50, 1000);
    auto* own = f.Add(90, 999);
    const TColor untouched = Shot(*own, 5, 5);
    f.AddLook();
    TXPLook& look = *f.look;
    ASSERT_TRUE(HookOf(look, button));
    EXPECT_EQ(HookOf(look, own), nullptr);
    EXPECT_EQ(Shot(*own, 5, 5), untouched);

    const TColor shadow = ColorToRGB(clBtnShadow);
    EXPECT_EQ(Shot(*button, 5, 5), look.FFIconBackColor);
    EXPECT_EQ(Shot(*button, 30, 0), shadow);
    EXPECT_EQ(Shot(*button, 59, 15), DarkenColor(shadow, 50));  // raised: edge right and bottom
    EXPECT_EQ(Shot(*button, 30, 29), DarkenColor(shadow, 50));
    EXPECT_EQ(Shot(*parented, 5, 5), LightenColor(FormColor, 16));

    HookOf(look, button)->FMouseInControl = true;
    HookOf(look, parented)->FMouseInControl = true;
    EXPECT_EQ(Shot(*button, 5, 5), LightenColor(clBtnFace, 40));
    EXPECT_EQ(Shot(*button, 30, 0), LightenColor(look.FFSelectBorderColor, 60));
    EXPECT_EQ(Shot(*parented, 5, 5), LightenColor(FormColor, 40));

    button->SetGroupIndex(1);
    button->SetDown(true);
    EXPECT_EQ(Shot(*button, 5, 5), look.FFCheckedAreaSelectedColor);
    const TColor edge = DarkenColor(look.FFSelectBorderColor, 50);
    EXPECT_EQ(Shot(*button, 0, 15), edge);  // sunken: edge left and top
    EXPECT_EQ(Shot(*button, 30, 0), edge);
    EXPECT_EQ(Shot(*button, 59, 15), ColorToRGB(look.FFSelectBorderColor));
    HookOf(look, button)->FMouseInControl = false;
    EXPECT_EQ(Shot(*button, 5, 5), look.FFCheckedAreaColor);
}

TEST(XPSpeedButton, FlatButtonIsHotOnlyWithTheCursorInside)
{
    SpeedForm f;
    auto* button = f.Add(10);
    button->SetFlat(true);
    f.AddLook();
    TXPLook& look = *f.look;
    TControlSubClass* hook = HookOf(look, button);
    ASSERT_TRUE(hook);
    EXPECT_NE(Shot(*button, 5, 5), look.FFSelectColor);
    hook->FMouseInControl = true;  // a missed leave: the button itself says the cursor is out
    EXPECT_NE(Shot(*button, 5, 5), look.FFSelectColor);
    button->MouseEnter();
    EXPECT_EQ(Shot(*button, 5, 5), look.FFSelectColor);
    EXPECT_EQ(Shot(*button, 59, 15), LightenColor(look.FFSelectBorderColor, 60));  // no edge unless pressed

    button->SetEnabled(false);
    EXPECT_NE(Shot(*button, 5, 5), look.FFSelectColor);
}

TEST(XPSpeedButton, TheGlyphChangesSidesWithTheReadingOrder)
{
    SpeedForm f;
    auto* button = f.Add(10);
    const auto glyph = Square(8, RGB(255, 0, 0));
    button->SetGlyph(glyph.get());
    button->SetMargin(2);
    f.AddLook();
    const struct {
        TBiDiMode mode;
        int red, plain;  // a column the glyph covers, and its mirror
    } cases[] = {{bdLeftToRight, 5, 54}, {bdRightToLeft, 54, 5}, {bdRightToLeftReadingOnly, 54, 5}};
    // The look dims an idle glyph, so the glyph is told by its red alone.
    const auto glyphAt = [&](int x) {
        const TColor c = Shot(*button, x, 12);
        return GetRValue(c) == 255 && GetGValue(c) < 128;
    };
    for (const auto& c : cases) {
        button->SetBiDiMode(c.mode);
        EXPECT_TRUE(glyphAt(c.red)) << c.mode;
        EXPECT_FALSE(glyphAt(c.plain)) << c.mode;
    }
}

}  // namespace
