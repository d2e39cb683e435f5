#include "PaintProbe.h"
#include "ControlSubClass.h"
#include "ExtCtrls.h"
#include "ListBoxes.h"
#include "StdCtrls.h"
#include "TVeskCombo.h"
#include "XPColors.h"
#include "XPLook.h"

#include <gtest/gtest.h>

namespace {

TEST(XPPainters, ComboFrameButtonAndArrowFollowTheState)
{
    PainterForm f;
    auto* combo = f.Add<TComboBox>(10, 10, 120, 21);
    auto* lookup = f.Add<TVeskLookupCombo>(10, 40, 120, 21);
    auto* parented = f.Add<TComboBox>(10, 70, 120, 21, 1000);
    auto* own = f.Add<TComboBox>(10, 100, 120, 21, 999);
    const TColor untouched = Shot(*own, 60, 0);
    f.AddLook();
    TXPLook& look = *f.look;
    ASSERT_TRUE(HookOf(look, combo));
    ASSERT_TRUE(HookOf(look, lookup));
    EXPECT_EQ(HookOf(look, own), nullptr);
    EXPECT_EQ(Shot(*own, 60, 0), untouched);

    const int buttonX = 120 - 3;  // inside the button, right of its strip
    const int stripX = 120 - 1 - (TCustomListBox::ScrollBarWidth() + 1) + 2;
    EXPECT_EQ(Shot(*combo, 60, 0), FormColor);
    EXPECT_EQ(Shot(*combo, 60, 1), ColorToRGB(combo->Color()));
    EXPECT_EQ(Shot(*combo, buttonX, 3), ColorToRGB(clBtnFace));
    EXPECT_EQ(Shot(*combo, stripX, 3), ColorToRGB(combo->Color()));
    EXPECT_EQ(Shot(*combo, 120 - 8, 12), clBlack);  // the arrow's point
    EXPECT_EQ(Shot(*lookup, buttonX, 3), ColorToRGB(clBtnFace));
    EXPECT_EQ(Shot(*parented, buttonX, 3), LightenColor(FormColor, 16));

    HookOf(look, combo)->FMouseInControl = true;
    EXPECT_EQ(Shot(*combo, 60, 0), ColorToRGB(look.FFSelectBorderColor));
    EXPECT_EQ(Shot(*combo, buttonX, 3), look.FFSelectColor);
    HookOf(look, parented)->FMouseInControl = true;
    EXPECT_EQ(Shot(*parented, buttonX, 3), look.FFSelectColor);

    combo->SetEnabled(false);
    HookOf(look, combo)->FMouseInControl = false;
    EXPECT_EQ(Shot(*combo, 120 - 8, 12), clWhite);
}

TEST(XPPainters, SimpleComboHasNoButton)
{
    PainterForm f;
    auto* combo = f.Add<TComboBox>(10, 10, 120, 60);
    combo->SetStyle(csSimple);
    f.AddLook();
    ASSERT_TRUE(HookOf(*f.look, combo));
    EXPECT_EQ(Shot(*combo, 60, 0), FormColor);
    EXPECT_NE(Shot(*combo, 120 - 3, 3), ColorToRGB(clBtnFace));
}

TEST(XPPainters, PanelBevelsInItsOwnColour)
{
    PainterForm f;
    const TColor panelColor = RGB(100, 150, 200);
    auto* raised = f.Add<TPanel>(10, 10, 100, 50);
    raised->SetColor(panelColor);
    auto* lowered = f.Add<TPanel>(10, 70, 100, 50);
    lowered->SetColor(panelColor);
    lowered->BevelOuter = bvLowered;
    lowered->BevelInner = bvRaised;
    auto* own = f.Add<TPanel>(10, 130, 100, 50, 999);
    own->SetColor(panelColor);
    const TColor untouched = Shot(*own, 0, 0);
    f.AddLook();
    const TColor light = LightenColor(panelColor, 60), dark = DarkenColor(panelColor, 60);
    EXPECT_EQ(Shot(*raised, 0, 0), light);
    EXPECT_EQ(Shot(*raised, 99, 49), dark);
    EXPECT_EQ(Shot(*raised, 50, 25), panelColor);
    EXPECT_EQ(Shot(*lowered, 0, 0), dark);
    EXPECT_EQ(Shot(*lowered, 99, 49), light);
    EXPECT_EQ(Shot(*lowered, 1, 1), light);  // the inner, raised bevel
    EXPECT_EQ(Shot(*lowered, 98, 48), dark);
    EXPECT_EQ(Shot(*own, 0, 0), untouched);
}

TEST(XPPainters, GroupBoxFrameBelowTheCaptionBand)
{
    PainterForm f;
    const TColor boxColor = RGB(230, 230, 210);
    auto* box = f.Add<TGroupBox>(10, 10, 150, 80);
    box->SetColor(boxColor);
    box->SetCaption("Tracks");
    auto* own = f.Add<TGroupBox>(10, 100, 150, 80, 999);
    own->SetColor(boxColor);
    own->SetCaption("Tracks");
    const TColor untouched = Shot(*own, 148, 1);
    f.AddLook();
    ASSERT_TRUE(HookOf(*f.look, box));
    EXPECT_EQ(HookOf(*f.look, own), nullptr);
    EXPECT_EQ(Shot(*own, 148, 1), untouched);
    EXPECT_EQ(Shot(*box, 148, 0), FormColor);  // the band above the frame
    EXPECT_EQ(Shot(*box, 0, 60), LightenColor(boxColor, 60));
    EXPECT_EQ(Shot(*box, 149, 60), DarkenColor(boxColor, 60));
    EXPECT_EQ(Shot(*box, 75, 79), DarkenColor(boxColor, 60));
    EXPECT_EQ(Shot(*box, 75, 40), boxColor);
}

TEST(XPPainters, ListBoxFrameFollowsHover)
{
    PainterForm f;
    auto* list = f.Add<TListBox>(10, 10, 120, 80);
    auto* own = f.Add<TListBox>(10, 100, 120, 80, 999);
    const TColor untouched = Shot(*own, 60, 0);
    f.AddLook();
    ASSERT_TRUE(HookOf(*f.look, list));
    EXPECT_EQ(Shot(*own, 60, 0), untouched);
    EXPECT_EQ(Shot(*list, 60, 0), DarkenColor(FormColor, 60));
    EXPECT_EQ(Shot(*list, 119, 40), DarkenColor(FormColor, 60));
    HookOf(*f.look, list)->FMouseInControl = true;
    EXPECT_EQ(Shot(*list, 60, 79), LightenColor(f.look->FFSelectBorderColor, 60));
}

TEST(XPPainters, KindsOutsideTheChosenControlsStayPlain)
{
    PainterForm f;
    auto* combo = f.Add<TComboBox>(10, 10, 120, 21);
    auto* panel = f.Add<TPanel>(10, 40, 100, 50);
    auto* box = f.Add<TGroupBox>(10, 100, 150, 80);
    auto* list = f.Add<TListBox>(10, 190, 120, 80);
    f.look = new TXPLook(f.form.get());
    f.look->SetXPControls(AllXPControls & ~(XPBit(xcCombo) | XPBit(xcPanel) | XPBit(xcGroupBox) | XPBit(xcListBox)));
    f.look->SetActive(true);
    EXPECT_EQ(HookOf(*f.look, combo), nullptr);
    EXPECT_EQ(HookOf(*f.look, panel), nullptr);
    EXPECT_EQ(HookOf(*f.look, box), nullptr);
    EXPECT_EQ(HookOf(*f.look, list), nullptr);
}

}  // namespace
