// The file-name edit's button and caret: the button's width by glyph kind, its place after the
// frame changes, and a caret FontLineHeight high on a shown form.
#include "ToolEdit.h"

#include "PaintProbe.h"
#include "RealInput.h"
#include "StdCtrls.h"
#include "SystemMetrics.h"
#include "WaitFor.h"

#include <gtest/gtest.h>

namespace {

struct ComboEditLayout : ::testing::Test {
    TForm form {nullptr};
    TFilenameEdit* edit = new TFilenameEdit(&form);
    ComboEditLayout()
    {
        form.SetBounds(100, 100, 300, 120);
        edit->SetParent(&form);
        edit->SetBounds(8, 8, 241, 21);
    }
};

}  // namespace

TEST_F(ComboEditLayout, GlyphKindsSetTheButtonWidth)
{
    const int scrollBar = GetSystemMetrics(SM_CXVSCROLL);
    ASSERT_NE(scrollBar, 21);
    const struct {
        TGlyphKind kind;
        int width;
        bool fixed;
    } cases[] = {{gkDropDown, scrollBar, true}, {gkDefault, 21, false}, {gkDropDown, scrollBar, true}, {gkEllipsis, 21, false}};
    for (const auto& c : cases) {
        edit->SetButtonWidth(21);  // a width set frees the button again
        edit->SetGlyphKind(c.kind);
        EXPECT_EQ(edit->ButtonWidth(), c.width) << c.kind;
        EXPECT_EQ(edit->ButtonHolder->Width(), c.width) << c.kind;
        EXPECT_EQ(edit->Button->FixedWidth, c.fixed) << c.kind;
    }
}

TEST_F(ComboEditLayout, TheButtonMovesWithTheFrame)
{
    const struct {
        bool ctl3D;
        TBorderStyle border;
        int drop;  // how far below the frame's top the button begins
    } cases[] = {{false, bsSingle, 2}, {true, bsSingle, 0}, {false, bsSingle, 2}, {false, bsNone, 0}, {true, bsNone, 0}};
    for (const auto& c : cases) {
        edit->SetBorderStyle(c.border);
        edit->SetCtl3D(c.ctl3D);
        const int frame = edit->FrameWidth();
        const TCustomControl& holder = *edit->ButtonHolder;
        EXPECT_EQ(holder.Left() + holder.Width(), edit->Width() - frame) << c.ctl3D << c.border;
        EXPECT_EQ(holder.Top(), frame + c.drop) << c.ctl3D << c.border;
        EXPECT_EQ(holder.Top() + holder.Height(), edit->Height() - frame) << c.ctl3D << c.border;
    }
}

TEST_F(ComboEditLayout, TheCaretIsFontLineHeightHigh)
{
    auto* elsewhere = new TButton(&form);
    elsewhere->SetParent(&form);
    elsewhere->SetTop(80);
    ASSERT_TRUE(ShowActive(form));
    const struct {
        int fontHeight;
        TFontStyles style;
        int width;
    } cases[] = {{-32, 0, 1}, {-32, fsBold, 2}, {-8, 0, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fontHeight);
        elsewhere->SetFocus();  // the caret is made as the edit takes the focus
        edit->Font.SetHeight(c.fontHeight);
        edit->Font.SetStyle(c.style);
        edit->SetHeight(50);
        edit->SetFocus();
        ASSERT_TRUE(WaitUntil([&] { return edit->Focused(); }));
        TBitmap shot;
        edit->PaintTo(shot);
        // The dark columns at the empty text's left end, and their longest dark run.
        int columns = 0, tallest = 0;
        const TRect inner = edit->InnerRect();
        for (int x = inner.Left; x < inner.Left + 8; ++x) {
            int run = 0, longest = 0;
            for (int y = inner.Top; y < inner.Bottom; ++y) {
                const TColor p = At(shot, x, y);
                run = GetRValue(p) + GetGValue(p) + GetBValue(p) < 200 ? run + 1 : 0;
                longest = std::max(longest, run);
            }
            columns += longest > 0;
            tallest = std::max(tallest, longest);
        }
        EXPECT_EQ(tallest, edit->FontLineHeight());
        EXPECT_EQ(columns, c.width);
    }
}
