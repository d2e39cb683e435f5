// Decorated controls show the look's face only: nothing of the platform's own arrow button or
// check indicator shows beside or above what the painters draw, and a group box reads its
// caption right to left when the box does.
#include "PaintProbe.h"
#include "CheckBoxes.h"
#include "ListBoxes.h"
#include "StdCtrls.h"
#include "XPLook.h"

#include <gtest/gtest.h>

namespace {

TEST(XPFaces, ComboShowsNoneOfItsOwnButtonBesideTheStrip)
{
    struct Row {
        const char* name;
        bool hot, rtl;
    };
    for (const Row& row : {Row{"idle", false, false}, Row{"hot", true, false}, Row{"right to left", false, true}}) {
        SCOPED_TRACE(row.name);
        PainterForm f;
        auto* combo = f.Add<TComboBox>(10, 10, 120, 22);
        combo->Items().Add("Field");
        combo->SetItemIndex(0);
        if (row.rtl)
            combo->SetBiDiMode(bdRightToLeft);
        EXPECT_EQ(combo->Color(), clWindow);
        f.AddLook();
        HookOf(*f.look, combo)->FMouseInControl = row.hot;
        // From where the box's own button starts to the look's edge line, only the field colour.
        const int strip = TCustomListBox::ScrollBarWidth() + 1 + (row.hot ? 1 : 0);
        const TRect own = combo->ButtonRect();
        ASSERT_GT(own.Right, own.Left);
        const int from = row.rtl ? 1 + strip - 5 : own.Left, to = row.rtl ? own.Right : 119 - strip + 5;
        TBitmap shot;
        combo->PaintTo(shot);
        for (int x = from; x < to; ++x)
            ASSERT_EQ(At(shot, x, 11), ColorToRGB(clWindow)) << x;
    }
}

// Above and below the look's box, across its width, only the control's colour or the form's
// showing through it.
template <class T>
void ExpectNoOwnIndicator(int inset, int height)
{
    SCOPED_TRACE(height);
    PainterForm f;
    f.form->SetBounds(0, 0, 200, 100);
    auto* box = f.Add<T>(10, 10, 120, height);
    box->SetCaption("Choice");
    box->SetChecked(true);
    f.AddLook();
    const int size = TCustomListBox::ScrollBarWidth();
    const int top = inset + (height - 2 * inset - size) / 2;
    TBitmap shot;
    f.form->PaintTo(shot);
    const TPoint screen = box->ClientToScreen({0, 0}), origin = f.form->ClientToScreen({0, 0});
    const TPoint at{screen.X - origin.X, screen.Y - origin.Y};
    for (int x = 0; x < size; ++x)
        for (int y = 0; y < height; ++y) {
            if (y >= top && y < top + size)
                continue;
            const TColor c = At(shot, at.X + x, at.Y + y);
            ASSERT_TRUE(c == FormColor || c == ColorToRGB(box->Color())) << x << "," << y << ": " << std::hex << c;
        }
}

TEST(XPFaces, CheckBoxAndRadioButtonShowNoneOfTheirOwnIndicator)
{
    for (int height : {13, 16, 17, 19, 20, 21, 24, 40}) {
        ExpectNoOwnIndicator<TCheckBox>(3, height);
        ExpectNoOwnIndicator<TRadioButton>(4, height);
    }
}

// The caption's ink in its box, read from the group box's top band.
std::vector<TColor> CaptionInk(TGroupBox& box, int left, int width)
{
    TBitmap shot;
    box.PaintTo(shot);
    std::vector<TColor> ink;
    for (int y = 0; y < 12; ++y)
        for (int x = left; x < left + width; ++x)
            ink.push_back(At(shot, x, y));
    return ink;
}

TEST(XPFaces, GroupBoxCaptionReadsRightToLeftWithTheBox)
{
    // "ab!" read right to left shows its "!" first, as "!ab" does left to right.
    struct Row {
        const char* name;
        TBiDiMode mode;
        bool likeReversed;
    };
    for (const Row& row : {Row{"right to left", bdRightToLeft, true}, Row{"left to right", bdLeftToRight, false}}) {
        SCOPED_TRACE(row.name);
        PainterForm f;
        auto* box = f.Add<TGroupBox>(10, 10, 150, 60);
        box->SetCaption("ab!");
        box->SetBiDiMode(row.mode);
        auto* reference = f.Add<TGroupBox>(10, 80, 150, 60);
        reference->SetCaption("!ab");
        f.AddLook();
        TBitmap measure(1, 1, pf24bit);
        measure.Canvas().Font.Assign(box->Font);
        const int w = measure.Canvas().TextWidth("ab!");
        const int left = row.mode == bdRightToLeft ? 150 - 9 - w : 9;
        EXPECT_EQ(CaptionInk(*box, left, w) == CaptionInk(*reference, 9, w), row.likeReversed);
    }
}

}  // namespace
