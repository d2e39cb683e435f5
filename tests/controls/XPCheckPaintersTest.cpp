#include "PaintProbe.h"
#include "CheckBoxes.h"
#include "ControlSubClass.h"
#include "ListBoxes.h"
#include "XPLook.h"

#include <gtest/gtest.h>

namespace {

struct CheckForm {
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    TXPLook* look = nullptr;
    template <class T>
    T* Add(int top, int tag = 0)
    {
        auto* c = new T(form.get());
        c->SetParent(form.get());
        c->SetBounds(10, top, 120, 24);
        c->SetCaption("Choice");
        c->Tag = tag;
        return c;
    }
    void AddLook() { look = AddXPLook(*form); }
};

// The inner box of a 24-pixel-high control whose box is inset by `inset` at top and bottom.
TRect InnerBox(int inset)
{
    const int size = TCustomListBox::ScrollBarWidth();
    const int top = inset + (24 - 2 * inset - size) / 2;
    return {2, top + 2, size - 2, top + size - 2};
}

TEST(XPCheckPainters, CheckBoxFillFrameAndMark)
{
    CheckForm f;
    auto* box = f.Add<TCheckBox>(10);
    auto* own = f.Add<TCheckBox>(40, 999);
    const TRect in = InnerBox(3);
    const TColor untouched = Shot(*own, in.Left, in.Top + 4);
    f.AddLook();
    TXPLook& look = *f.look;
    ASSERT_TRUE(HookOf(look, box));
    EXPECT_EQ(HookOf(look, own), nullptr);
    EXPECT_EQ(Shot(*own, in.Left, in.Top + 4), untouched);

    const TPoint inside{in.Left + 2, in.Top + 2};
    const TPoint mark{in.Left + 4, in.Bottom - 3};
    EXPECT_EQ(Shot(*box, in.Left, in.Top + 4), ColorToRGB(clBtnShadow));
    EXPECT_EQ(Shot(*box, inside.X, inside.Y), ColorToRGB(clWindow));
    EXPECT_EQ(Shot(*box, mark.X, mark.Y), ColorToRGB(clWindow));  // unchecked: no mark
    box->SetChecked(true);
    EXPECT_EQ(Shot(*box, mark.X, mark.Y), ColorToRGB(clHighlight));

    TControlSubClass* hook = HookOf(look, box);
    hook->FMouseInControl = true;
    EXPECT_EQ(Shot(*box, in.Left, in.Top + 4), ColorToRGB(look.FFSelectBorderColor));
    EXPECT_EQ(Shot(*box, inside.X, inside.Y), look.FFSelectColor);
    hook->FMouseDown = true;
    EXPECT_EQ(Shot(*box, inside.X, inside.Y), look.FFCheckedAreaSelectedColor);
    EXPECT_EQ(Shot(*box, mark.X, mark.Y), ColorToRGB(clWindow));
    hook->FMouseDown = hook->FMouseInControl = false;

    box->SetState(cbGrayed);
    EXPECT_EQ(Shot(*box, inside.X, inside.Y), RGB(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(Shot(*box, mark.X, mark.Y), RGB(0x80, 0x80, 0x80));
    box->SetChecked(true);
    box->SetEnabled(false);
    EXPECT_EQ(Shot(*box, mark.X, mark.Y), look.FFDisabledColor);
}

TEST(XPCheckPainters, RadioButtonCircleAndDot)
{
    CheckForm f;
    auto* radio = f.Add<TRadioButton>(10);
    auto* own = f.Add<TRadioButton>(40, 999);
    const TRect in = InnerBox(4);
    const TPoint centre{(in.Left + in.Right) / 2, (in.Top + in.Bottom) / 2};
    const TColor untouched = Shot(*own, centre.X, centre.Y);
    f.AddLook();
    TXPLook& look = *f.look;
    ASSERT_TRUE(HookOf(look, radio));
    EXPECT_EQ(Shot(*own, centre.X, centre.Y), untouched);

    EXPECT_EQ(Shot(*radio, centre.X, centre.Y), ColorToRGB(clWindow));
    EXPECT_EQ(Shot(*radio, centre.X, in.Top), ColorToRGB(clBtnShadow));
    radio->SetChecked(true);
    EXPECT_EQ(Shot(*radio, centre.X, centre.Y), ColorToRGB(clHighlight));
    EXPECT_EQ(Shot(*radio, centre.X, in.Top + 1), ColorToRGB(clWindow));  // ring between frame and dot
    HookOf(look, radio)->FMouseInControl = true;
    EXPECT_EQ(Shot(*radio, centre.X, in.Top), ColorToRGB(look.FFSelectBorderColor));
    EXPECT_EQ(Shot(*radio, centre.X, in.Top + 1), look.FFSelectColor);
}

}  // namespace
