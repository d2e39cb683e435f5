// The flat speed button as it paints itself on a coloured panel: the frames of each style and
// state, the parent showing through a transparent button, the menu style's content placed
// through its work bitmap, the glyph and caption swapped by the reading order, and the hot look
// found again when the button is enabled under the pointer.
#include "SpeedBtns.h"

#include "ExtCtrls.h"
#include "PaintProbe.h"
#include "RealInput.h"

#include <QCursor>
#include <gtest/gtest.h>

#include <functional>

namespace {

const TColor PanelColor = RGB(40, 160, 90);
const TColor GlyphRed = RGB(255, 0, 0);

// An 8 x 8 red square whose bottom-left pixel, the see-through colour, is magenta.
std::unique_ptr<TBitmap> RedGlyph() { return Square(8, GlyphRed); }

struct FacePixel {
    int x, y;
    TColor color;
};

struct FaceCase {
    const char* name;
    std::function<void(TFlatSpeedButton&)> setUp;
    std::vector<FacePixel> pixels;
};

class SpeedButtonFaces : public ::testing::Test {
protected:
    TForm form {nullptr};
    TPanel* panel = new TPanel(&form);
    TFlatSpeedButton* button = new TFlatSpeedButton(&form);

    void SetUp() override
    {
        form.SetBounds(50, 50, 200, 120);
        panel->SetParent(&form);
        panel->SetBounds(0, 0, 200, 120);
        panel->BevelOuter = bvNone;
        panel->SetColor(PanelColor);
        button->SetParent(panel);
        button->SetBounds(10, 10, 60, 22);
    }

    // The button as the screen shows it, over its panel.
    TColor Seen(int x, int y)
    {
        TBitmap shot;
        panel->PaintTo(shot);
        return At(shot, button->Left() + x, button->Top() + y);
    }

    // The bounds of the pixels of one colour within the button; Right and Bottom inclusive.
    TRect Find(TColor color) { return FindWhere([color](TColor p) { return p == color; }); }
    TRect FindWhere(const std::function<bool(TColor)>& wanted)
    {
        TBitmap shot;
        panel->PaintTo(shot);
        TRect found {INT_MAX, INT_MAX, -1, -1};
        for (int y = 0; y < button->Height(); ++y)
            for (int x = 0; x < button->Width(); ++x)
                if (wanted(At(shot, button->Left() + x, button->Top() + y)))
                    found = {std::min(found.Left, x), std::min(found.Top, y), std::max(found.Right, x),
                             std::max(found.Bottom, y)};
        return found;
    }
};

TColor Rgb(TColor c) { return ColorToRGB(c); }

}  // namespace

TEST_F(SpeedButtonFaces, EachStyleAndStateDrawsItsFrame)
{
    const int w = 60, h = 22;
    const std::vector<FaceCase> cases = {
        {"push button, up", [](TFlatSpeedButton& b) { b.SetTransparent(false); },
         {{0, 0, Rgb(clBtnHighlight)}, {w - 1, h - 1, Rgb(cl3DDkShadow)}, {30, 11, Rgb(clBtnFace)}}},
        {"push button, pressed",
         [](TFlatSpeedButton& b) { b.MouseDown(mbLeft, ssLeft, 5, 5); },
         {{0, 0, Rgb(cl3DDkShadow)}, {w - 1, h - 1, Rgb(clBtnHighlight)}}},
        {"push button, latched in a group: checkered inside",
         [](TFlatSpeedButton& b) {
             b.SetGroupIndex(1);
             b.SetDown(true);
         },
         {{0, 0, Rgb(cl3DDkShadow)}, {30, 10, Rgb(clBtnFace)}, {31, 10, Rgb(clBtnHighlight)}}},
        {"flat, transparent, pointer away: no frame, the panel shows",
         [](TFlatSpeedButton& b) { b.SetFlat(true); },
         {{0, 0, PanelColor}, {w - 1, h - 1, PanelColor}, {30, 11, PanelColor}}},
        {"flat, opaque, pointer away: the face colour",
         [](TFlatSpeedButton& b) {
             b.SetFlat(true);
             b.SetTransparent(false);
         },
         {{0, 0, Rgb(clBtnFace)}, {30, 11, Rgb(clBtnFace)}}},
        {"flat, pointer over: raised edge",
         [](TFlatSpeedButton& b) {
             b.SetFlat(true);
             b.MouseEnter();
         },
         {{0, 0, Rgb(clBtnHighlight)}, {w - 1, h - 1, Rgb(clBtnShadow)}, {30, 11, PanelColor}}},
        {"flat, pressed: sunken edge",
         [](TFlatSpeedButton& b) {
             b.SetFlat(true);
             b.MouseDown(mbLeft, ssLeft, 5, 5);
         },
         {{0, 0, Rgb(clBtnShadow)}, {w - 1, h - 1, Rgb(clBtnHighlight)}}},
        {"combo button, up", [](TFlatSpeedButton& b) { b.SetStyle(sbsComboButton); },
         {{0, 0, Rgb(clBtnFace)}, {w - 1, h - 1, Rgb(cl3DDkShadow)}, {1, 1, Rgb(clBtnHighlight)},
          {w - 2, h - 2, Rgb(clBtnShadow)}}},
        {"combo button, pressed",
         [](TFlatSpeedButton& b) {
             b.SetStyle(sbsComboButton);
             b.MouseDown(mbLeft, ssLeft, 5, 5);
         },
         {{0, 0, Rgb(clBtnShadow)}, {w - 1, h - 1, Rgb(clBtnShadow)}, {1, 1, Rgb(clBtnFace)}}},
        {"menu, up: two framed parts, a dark arrow",
         [](TFlatSpeedButton& b) { b.SetStyle(sbsMenu); },
         {{0, 0, Rgb(clBtnHighlight)}, {w - 11, 0, Rgb(clBtnHighlight)}, {w - 12, h - 1, Rgb(cl3DDkShadow)},
          {54, 10, Rgb(clBtnText)}}},
        {"menu, disabled: the arrow etched",
         [](TFlatSpeedButton& b) {
             b.SetStyle(sbsMenu);
             b.SetEnabled(false);
         },
         {{54, 10, Rgb(clBtnShadow)}, {56, 11, Rgb(clBtnHighlight)}}},
        {"menu, arrow part pressed",
         [](TFlatSpeedButton& b) {
             b.SetStyle(sbsMenu);
             b.MouseDown(mbLeft, ssLeft, 55, 5);
         },
         {{0, 0, Rgb(clBtnHighlight)}, {w - 11, 0, Rgb(cl3DDkShadow)}}},
        {"menu, flat and transparent, pointer away: only the arrow is drawn",
         [](TFlatSpeedButton& b) {
             b.SetStyle(sbsMenu);
             b.SetFlat(true);
         },
         {{0, 0, PanelColor}, {20, 11, PanelColor}, {w - 11, 0, PanelColor}}},
    };
    for (const FaceCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto* b = new TFlatSpeedButton(&form);
        b->SetParent(panel);
        b->SetBounds(10, 10, w, h);
        delete button;
        button = b;
        c.setUp(*b);
        for (const FacePixel& p : c.pixels)
            EXPECT_EQ(Seen(p.x, p.y), p.color) << "at " << p.x << "," << p.y;
    }
}

TEST_F(SpeedButtonFaces, MenuStyleContentLandsThroughItsWorkBitmap)
{
    struct Case {
        const char* name;
        bool pressed;
        TPoint glyphAt;
    } cases[] = {{"up", false, {20, 6}}, {"pressed on the main part", true, {21, 7}}};
    auto glyph = RedGlyph();
    button->SetStyle(sbsMenu);
    button->SetGlyph(glyph.get());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.pressed)
            button->MouseDown(mbLeft, ssLeft, 5, 5);
        const TRect red = Find(GlyphRed);
        EXPECT_EQ(red.Left, c.glyphAt.X);
        EXPECT_EQ(red.Top, c.glyphAt.Y);
    }
}

TEST_F(SpeedButtonFaces, DisabledOneGlyphShowsNoKeyColour)
{
    auto glyph = std::make_unique<TBitmap>(16, 16, pf24bit);
    glyph->Canvas().Brush.Color = clFuchsia;
    glyph->Canvas().FillRect({0, 0, 16, 16});
    glyph->Canvas().Brush.Color = clBlack;
    glyph->Canvas().FillRect({4, 4, 12, 12});
    glyph->Canvas().Release();
    button->SetBounds(10, 10, 40, 40);
    button->SetGlyph(glyph.get());
    button->SetEnabled(false);
    EXPECT_LT(Find(Rgb(clFuchsia)).Right, 0);
    EXPECT_GE(Find(Rgb(clBtnShadow)).Right, 0);
}

TEST_F(SpeedButtonFaces, TheReadingOrderSwapsGlyphAndCaption)
{
    auto glyph = RedGlyph();
    button->SetBounds(10, 10, 80, 22);
    button->SetFlat(true);  // no frame to mistake for the caption
    button->SetTransparent(false);
    button->SetGlyph(glyph.get());
    button->SetCaption("Go");
    button->Font.SetColor(clBlack);
    struct Case {
        TBiDiMode mode;
        bool glyphFirst;
    } cases[] = {{bdLeftToRight, true}, {bdRightToLeft, false}, {bdRightToLeftReadingOnly, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        button->SetBiDiMode(c.mode);
        const TRect red = Find(GlyphRed);
        const TRect text = FindWhere([](TColor p) { return GetRValue(p) < 100 && GetGValue(p) < 100 && GetBValue(p) < 100; });
        ASSERT_GE(red.Right, 0);
        ASSERT_GE(text.Right, 0);
        EXPECT_EQ(red.Right < text.Left, c.glyphFirst);
        EXPECT_EQ(text.Right < red.Left, !c.glyphFirst);
    }
}

TEST_F(SpeedButtonFaces, EnablingUnderTheStillPointerBringsTheHotLookBack)
{
    button->SetFlat(true);
    button->SetEnabled(false);
    ASSERT_TRUE(ShowActive(form));
    QCursor::setPos(button->Widget()->mapToGlobal(QPoint(20, 10)));
    EXPECT_FALSE(button->MouseInControl());
    button->SetEnabled(true);
    EXPECT_TRUE(button->MouseInControl());
    QCursor::setPos(form.Widget()->mapToGlobal(QPoint(190, 110)));
    button->SetEnabled(false);
    button->SetEnabled(true);
    EXPECT_FALSE(button->MouseInControl());
}
