#include "PaintProbe.h"
#include "ControlSubClass.h"
#include "GlyphCtrls.h"
#include "XPColors.h"
#include "XPLook.h"

#include <gtest/gtest.h>

namespace {

TEST(XPGlyphButton, FaceUnderTheGlyphAndTheTagRules)
{
    const TColor formColor = RGB(200, 180, 160);
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    form->SetColor(formColor);
    auto add = [&](int top, int tag) {
        auto* b = new TGlyphSpeedButton(form.get());
        b->SetParent(form.get());
        b->SetBounds(10, top, 60, 40);
        b->Tag = tag;
        TBitmap glyph(16, 16, pf24bit);
        glyph.Canvas().Brush.Color = RGB(0, 0, 255);
        glyph.Canvas().FillRect(TRect{0, 0, 16, 16});
        glyph.Canvas().SetPixel(0, 15, RGB(0, 255, 0));
        b->SetGlyph(glyph);
        return b;
    };
    auto* button = add(10, 0);
    auto* parented = add(60, 1000);
    auto* own = add(110, 999);
    const TColor untouched = Shot(*own, 3, 3);
    TXPLook* look = AddXPLook(*form);

    EXPECT_EQ(Shot(*own, 3, 3), untouched);
    EXPECT_EQ(Shot(*button, 3, 3), look->FFIconBackColor);
    EXPECT_EQ(Shot(*button, 30, 0), ColorToRGB(clBtnShadow));
    EXPECT_EQ(Shot(*parented, 3, 3), LightenColor(formColor, 16));
    EXPECT_EQ(Shot(*button, 30, 20), LightenColor(RGB(0, 0, 255), look->DimLevel));  // the glyph on top, dimmed
    button->MouseEnter();
    for (TControlSubClass* sub : look->SubClasses())
        if (sub->Control == button)
            sub->FMouseInControl = true;
    EXPECT_EQ(Shot(*button, 3, 3), LightenColor(clBtnFace, 40));
    EXPECT_EQ(Shot(*button, 30, 20), RGB(0, 0, 255));
}

}  // namespace
