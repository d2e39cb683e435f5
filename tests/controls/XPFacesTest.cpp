// Decorated controls show the look's face only: none of the platform's own arrow button or check
// indicator beside or above what the painters draw; a group box reads its caption right to left.
#include "PaintProbe.h"
#include "CheckBoxes.h"
#include "ListBoxes.h"
#include "StdCtrls.h"

#include <gtest/gtest.h>

namespace {

TEST(XPFaces, ComboShowsNoneOfItsOwnButtonBesideTheStrip)
{
    for (const auto& [hot, rtl] : {std::pair{false, false}, {true, false}, {false, true}}) {
        SCOPED_TRACE(testing::Message() << hot << rtl);
        PainterForm f;
        auto* combo = f.Add<TComboBox>(10, 10, 120, 22);
        combo->SetBiDiMode(rtl ? bdRightToLeft : bdLeftToRight);
        EXPECT_EQ(combo->Color(), clWindow);
        f.AddLook();
        HookOf(*f.look, combo)->FMouseInControl = hot;
        // From where the box's own button starts to the look's edge line, only the field colour.
        const int strip = TCustomListBox::ScrollBarWidth() + 1 + (hot ? 1 : 0);
        const TRect own = combo->ButtonRect();
        ASSERT_GT(own.Right, own.Left);
        TBitmap shot;
        combo->PaintTo(shot);
        for (int x = rtl ? strip - 4 : own.Left; x < (rtl ? own.Right : 124 - strip); ++x)
            ASSERT_EQ(At(shot, x, 11), ColorToRGB(clWindow)) << x;
    }
}

TEST(XPFaces, CheckBoxAndRadioButtonShowNoneOfTheirOwnIndicator)
{
    const int size = TCustomListBox::ScrollBarWidth();
    const TColor own = RGB(150, 200, 120);
    for (int height : {13, 16, 17, 19, 20, 21, 24, 40})
        for (int inset : {3, 4})
            for (bool colored : {false, true}) {
                SCOPED_TRACE(testing::Message() << height << (inset == 3 ? " check box" : " radio button")
                                                << (colored ? " of its own colour" : " in its parent's colour"));
                PainterForm f;
                TControl* box = inset == 3 ? static_cast<TControl*>(f.Add<TCheckBox>(10, 10, 120, height))
                                           : f.Add<TRadioButton>(10, 10, 120, height);
                if (colored)
                    box->SetColor(own);
                f.AddLook();
                // Above and below the look's box, the colour the control shows.
                const int top = inset + (height - 2 * inset - size) / 2;
                TBitmap shot;
                f.form->PaintTo(shot);
                for (int y = 0; y < height; ++y)
                    for (int x = 0; x < size && (y < top || y >= top + size); ++x)
                        ASSERT_EQ(At(shot, 10 + x, 10 + y), colored ? own : FormColor) << x << "," << y;
            }
}

TEST(XPFaces, GroupBoxCaptionReadsRightToLeftWithTheBox)
{
    // "ab!" read right to left shows its "!" first, as "!ab" does left to right.
    for (const TBiDiMode mode : {bdRightToLeft, bdLeftToRight}) {
        PainterForm f;
        auto* box = f.Add<TGroupBox>(10, 10, 150, 60);
        box->SetCaption("ab!");
        box->SetBiDiMode(mode);
        auto* reference = f.Add<TGroupBox>(10, 80, 150, 60);
        reference->SetCaption("!ab");
        f.AddLook();
        TBitmap measure(1, 1, pf24bit);
        measure.Canvas().Font.Assign(box->Font);
        const int w = measure.Canvas().TextWidth("ab!");
        const int left = mode == bdRightToLeft ? 150 - 9 - w : 9;
        TBitmap shot, expected;
        box->PaintTo(shot);
        reference->PaintTo(expected);
        bool same = true;
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < w; ++x)
                same = same && At(shot, left + x, y) == At(expected, 9 + x, y);
        EXPECT_EQ(same, mode == bdRightToLeft);
    }
}

}  // namespace
