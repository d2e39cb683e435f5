// The file-name edit's button and caret on a shown form: the button's width by glyph kind, its
// place after the frame changes, and a caret as tall as the edit's line.
#include "ToolEdit.h"

#include "PaintProbe.h"
#include "RealInput.h"
#include "StdCtrls.h"
#include "SystemMetrics.h"
#include "WaitFor.h"

#include <gtest/gtest.h>

namespace {

class ComboEditLayout : public ::testing::Test {
protected:
    TForm form {nullptr};
    TFilenameEdit* edit = new TFilenameEdit(&form);
    TButton* elsewhere = new TButton(&form);

    void SetUp() override
    {
        form.SetBounds(100, 100, 300, 120);
        edit->SetParent(&form);
        edit->SetBounds(8, 8, 241, 21);
        elsewhere->SetParent(&form);
        elsewhere->SetBounds(200, 80, 75, 25);
    }
};

bool Dark(TColor c) { return GetRValue(c) + GetGValue(c) + GetBValue(c) < 200; }

}  // namespace

TEST_F(ComboEditLayout, GlyphKindsSetTheButtonWidth)
{
    struct Case {
        TGlyphKind kind;
        int width;
        bool fixed;
    } cases[] = {
        {gkDropDown, GetSystemMetrics(SM_CXVSCROLL), true},
        {gkDefault, 21, false},
        {gkEllipsis, 21, false},
    };
    ASSERT_NE(GetSystemMetrics(SM_CXVSCROLL), 21);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        edit->SetButtonWidth(21);
        edit->SetGlyphKind(c.kind);
        EXPECT_EQ(edit->ButtonWidth(), c.width);
        EXPECT_EQ(edit->Button->FixedWidth, c.fixed);
        EXPECT_EQ(edit->ButtonHolder->Width(), c.width);
    }
    // A width set afterwards frees the button again.
    edit->SetGlyphKind(gkDropDown);
    edit->SetButtonWidth(30);
    EXPECT_FALSE(edit->Button->FixedWidth);
}

TEST_F(ComboEditLayout, TheButtonMovesWithTheFrame)
{
    struct Case {
        bool ctl3D;
        TBorderStyle border;
    } cases[] = {{false, bsSingle}, {true, bsSingle}, {false, bsNone}, {true, bsSingle}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.ctl3D << " " << c.border);
        edit->SetBorderStyle(c.border);
        edit->SetCtl3D(c.ctl3D);
        const int frame = edit->FrameWidth();
        TCustomControl* holder = edit->ButtonHolder;
        EXPECT_EQ(holder->Left() + holder->Width(), edit->Width() - frame);
        EXPECT_EQ(holder->Top(), frame);
        EXPECT_EQ(holder->Height(), edit->Height() - 2 * frame);
    }
}

TEST_F(ComboEditLayout, TheCaretIsAsTallAsTheLine)
{
    ASSERT_TRUE(ShowActive(form));
    struct Case {
        const char* name;
        int fontHeight;
        TFontStyles style;
        int caretWidth;
    } cases[] = {{"large font", -32, 0, 1}, {"large bold font", -32, fsBold, 2}, {"small font", -8, 0, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        elsewhere->SetFocus();
        ASSERT_TRUE(WaitUntil([&] { return elsewhere->Focused(); }));
        edit->Font.SetHeight(c.fontHeight);
        edit->Font.SetStyle(c.style);
        edit->SetBounds(8, 8, 241, 50);
        edit->SetText("");
        edit->SetFocus();
        ASSERT_TRUE(WaitUntil([&] { return edit->Focused(); }));
        TBitmap shot;
        edit->PaintTo(shot);
        // The caret: the dark columns near the text's left end, and their longest dark run.
        int columns = 0, tallest = 0;
        const TRect inner = edit->InnerRect();
        for (int x = inner.Left; x < inner.Left + 8; ++x) {
            int run = 0, longest = 0;
            for (int y = inner.Top; y < inner.Bottom; ++y) {
                run = Dark(At(shot, x, y)) ? run + 1 : 0;
                longest = std::max(longest, run);
            }
            columns += longest > 0;
            tallest = std::max(tallest, longest);
        }
        EXPECT_EQ(tallest, edit->FontLineHeight());
        EXPECT_EQ(columns, c.caretWidth);
    }
}
