// The glyph button's face and menu as a user meets them: a disabled single glyph without its key
// colour (also on the file-name edit's button), captions aligned by the reading order, and the
// drop-down menu that opens by itself only when it says so.
#include "GlyphCtrls.h"
#include "ToolEdit.h"

#include "ExtCtrls.h"
#include "PaintProbe.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>

namespace {

// How many pixels of the bitmap have the colour.
int Count(TBitmap& face, TColor color)
{
    int n = 0;
    for (int y = 0; y < face.Height(); ++y)
        for (int x = 0; x < face.Width(); ++x)
            n += At(face, x, y) == color;
    return n;
}

// A 16 x 16 black square on the magenta that the bottom-left pixel makes see-through.
std::unique_ptr<TBitmap> KeyedGlyph()
{
    auto glyph = std::make_unique<TBitmap>(16, 16, pf24bit);
    glyph->Canvas().Brush.Color = clFuchsia;
    glyph->Canvas().FillRect({0, 0, 16, 16});
    glyph->Canvas().Brush.Color = clBlack;
    glyph->Canvas().FillRect({4, 4, 12, 12});
    glyph->Canvas().Release();
    return glyph;
}

class MenuCounter : public TPopupMenu {
public:
    using TPopupMenu::TPopupMenu;
    int shown = 0;
    void Popup(int, int) override { ++shown; }
};

}  // namespace

TEST(GlyphButtonFaces, ADisabledSingleGlyphShowsNoKeyColour)
{
    TForm form {nullptr};
    auto* button = new TGlyphSpeedButton(&form);
    button->SetParent(&form);
    button->SetBounds(0, 0, 40, 40);
    button->SetGlyph(*KeyedGlyph());
    auto* edit = new TFilenameEdit(&form);
    edit->SetParent(&form);
    edit->SetBounds(0, 50, 160, 21);
    struct Case {
        const char* name;
        TControl* control;
    } cases[] = {{"glyph button", button}, {"file-name edit's button", edit->Button}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.control->SetEnabled(false);
        TBitmap face;
        c.control->PaintTo(face);
        EXPECT_EQ(Count(face, clFuchsia), 0);
        EXPECT_GT(Count(face, ColorToRGB(clBtnShadow)), 0);  // the embossed shape is there
    }
    edit->SetEnabled(false);
    EXPECT_FALSE(edit->Button->Enabled());
}

TEST(GlyphButtonFaces, CaptionLinesAlignByTheReadingOrder)
{
    TPanel parent {nullptr};
    auto* button = new TGlyphSpeedButton(&parent);
    button->SetParent(&parent);
    button->SetBounds(0, 0, 100, 60);
    button->SetCaption("I\r\nWWWW");
    button->Font.SetColor(clBlack);
    // The left end of the dark pixels of the first line.
    auto firstLineLeft = [&] {
        button->Paint();
        TBitmap& face = const_cast<TBitmap&>(button->FaceImage());
        int top = -1, left = INT_MAX;
        for (int y = 2; y < face.Height() - 2 && (top < 0 || y < top + 6); ++y)
            for (int x = 2; x < face.Width() - 2; ++x)
                if (const TColor p = At(face, x, y); GetRValue(p) + GetGValue(p) + GetBValue(p) < 300) {
                    top = top < 0 ? y : top;
                    left = std::min(left, x);
                }
        return left;
    };
    struct Case {
        TAlignment alignment;
        TBiDiMode mode;
        bool atRight;
    } cases[] = {
        {taLeftJustify, bdLeftToRight, false},
        {taLeftJustify, bdRightToLeft, true},
        {taRightJustify, bdLeftToRight, true},
        {taRightJustify, bdRightToLeft, false},
        {taLeftJustify, bdRightToLeftReadingOnly, false},  // reading only: alignment kept
    };
    button->SetAlignment(taCenter);
    const int centred = firstLineLeft();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.alignment << " " << c.mode);
        button->SetAlignment(c.alignment);
        button->SetBiDiMode(c.mode);
        if (c.atRight)
            EXPECT_GT(firstLineLeft(), centred);
        else
            EXPECT_LT(firstLineLeft(), centred);
    }
}

TEST(GlyphButtonFaces, ThePressOpensTheMenuOnlyWhenItPopsUpByItself)
{
    TPanel parent {nullptr};
    auto* button = new TGlyphSpeedButton(&parent);
    button->SetParent(&parent);
    auto* menu = new MenuCounter(&parent);
    button->SetDropDownMenu(menu);
    struct Case {
        bool autoPopup;
        int shown;
        bool stillPressed;
    } cases[] = {{true, 1, false}, {false, 0, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.autoPopup);
        menu->shown = 0;
        menu->AutoPopup = c.autoPopup;
        button->MouseDown(mbLeft, ssLeft, 5, 5);
        EXPECT_EQ(menu->shown, c.shown);
        EXPECT_EQ(button->Pressed(), c.stillPressed);
        button->MouseUp(mbLeft, 0, 5, 5);
    }
}
