// The glyph button's face and menu: a disabled single glyph without its key colour (also on the
// file-name edit's button), captions aligned by the reading order, the menu's own AutoPopup.
#include "GlyphCtrls.h"
#include "ToolEdit.h"

#include "ExtCtrls.h"
#include "PaintProbe.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

int Count(TBitmap& face, const std::function<bool(TColor)>& wanted)
{
    int n = 0;
    for (int y = 0; y < face.Height(); ++y)
        for (int x = 0; x < face.Width(); ++x)
            n += wanted(At(face, x, y));
    return n;
}

bool IsDark(TColor c) { return GetRValue(c) + GetGValue(c) + GetBValue(c) < 300; }

}  // namespace

TEST(GlyphButtonFaces, ADisabledSingleGlyphShowsNoKeyColour)
{
    TForm form {nullptr};
    auto* button = new TGlyphSpeedButton(&form);
    button->SetParent(&form);
    button->SetBounds(0, 0, 40, 40);
    auto glyph = Square(16, clFuchsia);  // magenta, the key colour, around a black square
    glyph->Canvas().Brush.Color = clBlack;
    glyph->Canvas().FillRect({4, 4, 12, 12});
    glyph->Canvas().Release();
    button->SetGlyph(*glyph);
    auto* edit = new TFilenameEdit(&form);
    edit->SetParent(&form);
    for (TControl* c : std::initializer_list<TControl*> {button, edit}) {
        c->SetEnabled(false);
        TBitmap face;
        (c == edit ? edit->Button : c)->PaintTo(face);
        EXPECT_EQ(Count(face, [](TColor p) { return p == clFuchsia; }), 0);
        EXPECT_GT(Count(face, [](TColor p) { return p == ColorToRGB(clBtnShadow); }), 0);  // the embossed shape
    }
}

TEST(GlyphButtonFaces, CaptionLinesAlignByTheReadingOrder)
{
    TPanel parent {nullptr};
    auto* button = new TGlyphSpeedButton(&parent);
    button->SetParent(&parent);
    button->SetBounds(0, 0, 100, 60);
    button->SetCaption("I\r\nWWWW");
    // Where the first line begins: the left end of the dark pixels of its rows.
    auto firstLineLeft = [&](TAlignment alignment, TBiDiMode mode) {
        button->SetAlignment(alignment);
        button->SetBiDiMode(mode);
        button->Paint();
        TBitmap& face = const_cast<TBitmap&>(button->FaceImage());
        int top = -1, left = face.Width();
        for (int y = 2; y < face.Height() - 2 && (top < 0 || y < top + 6); ++y)
            for (int x = 2; x < face.Width() - 2; ++x)
                if (IsDark(At(face, x, y))) {
                    top = top < 0 ? y : top;
                    left = std::min(left, x);
                }
        return left;
    };
    const int centred = firstLineLeft(taCenter, bdLeftToRight);
    struct Case {
        TAlignment alignment;
        TBiDiMode mode;
        int side;  // -1 left of the centred line, 1 right of it
    } cases[] = {{taLeftJustify, bdLeftToRight, -1}, {taLeftJustify, bdRightToLeft, 1}, {taRightJustify, bdLeftToRight, 1},
                 {taRightJustify, bdRightToLeft, -1}, {taLeftJustify, bdRightToLeftReadingOnly, -1}};
    for (const Case& c : cases) {
        const int left = firstLineLeft(c.alignment, c.mode);
        EXPECT_EQ(left < centred ? -1 : left > centred ? 1 : 0, c.side) << c.alignment << " " << c.mode;
    }
}

TEST(GlyphButtonFaces, ThePressOpensTheMenuOnlyWhenItPopsUpByItself)
{
    struct Menu : TPopupMenu {
        using TPopupMenu::TPopupMenu;
        int shown = 0;
        void Popup(int, int) override { ++shown; }
    };
    TPanel parent {nullptr};
    auto* button = new TGlyphSpeedButton(&parent);
    button->SetParent(&parent);
    auto* menu = new Menu(&parent);
    button->SetDropDownMenu(menu);
    for (bool autoPopup : {true, false}) {
        menu->AutoPopup = autoPopup;
        menu->shown = 0;
        button->MouseDown(mbLeft, ssLeft, 5, 5);
        EXPECT_EQ(menu->shown, autoPopup ? 1 : 0);
        EXPECT_EQ(button->Pressed(), !autoPopup);  // a menu shown takes the press at once
        button->MouseUp(mbLeft, 0, 5, 5);
    }
}
