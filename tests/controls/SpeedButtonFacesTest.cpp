// The flat speed button as it paints itself on a coloured panel, one 60 x 22 button per face.
#include "SpeedBtns.h"

#include "ExtCtrls.h"
#include "PaintProbe.h"
#include "RealInput.h"

#include <QCursor>
#include <gtest/gtest.h>

#include <functional>

namespace {

const TColor Panel = RGB(40, 160, 90), Red = RGB(255, 0, 0);
TColor Face() { return ColorToRGB(clBtnFace); }
TColor Light() { return ColorToRGB(clBtnHighlight); }
TColor Shadow() { return ColorToRGB(clBtnShadow); }
TColor Dark() { return ColorToRGB(cl3DDkShadow); }

struct SpeedButtonFaces : ::testing::Test {
    TForm form {nullptr};
    TPanel* panel = new TPanel(&form);
    SpeedButtonFaces()
    {
        form.SetBounds(50, 50, 200, 120);
        panel->SetParent(&form);
        panel->SetBounds(0, 0, 200, 120);
        panel->BevelOuter = bvNone;
        panel->SetColor(Panel);
    }
    TFlatSpeedButton* Place()
    {
        auto* b = new TFlatSpeedButton(&form);
        b->SetParent(panel);
        b->SetBounds(10, 10, 60, 22);
        return b;
    }
};

}  // namespace

TEST_F(SpeedButtonFaces, EachStyleAndStatePaintsItsFace)
{
    using Set = std::function<void(TFlatSpeedButton&)>;
    const auto press = [](int x) { return [x](TFlatSpeedButton& b) { b.MouseDown(mbLeft, ssLeft, x, 5); }; };
    const auto glyph = Square(8, Red);  // its bottom-left pixel is the see-through magenta
    const auto mirrored = [&](TFlatSpeedButton& b, TBiDiMode mode) {
        b.SetFlat(true);
        b.SetMargin(2);
        b.SetGlyph(glyph.get());
        b.SetBiDiMode(mode);
    };
    struct Pixel {
        int x, y;
        TColor color;
    };
    struct Case {
        const char* name;
        Set set;
        std::vector<Pixel> pixels;
    };
    const Case cases[] = {
        {"push button up", nullptr, {{0, 0, Light()}, {59, 21, Dark()}, {30, 11, Face()}}},
        {"push button pressed", press(5), {{0, 0, Dark()}, {59, 21, Light()}}},
        {"latched: checkered", [](auto& b) { b.SetGroupIndex(1); b.SetDown(true); },
         {{0, 0, Dark()}, {30, 10, Face()}, {31, 10, Light()}}},
        {"flat, transparent: the parent shows", [](auto& b) { b.SetFlat(true); },
         {{0, 0, Panel}, {59, 21, Panel}, {30, 11, Panel}}},
        {"flat, opaque", [](auto& b) { b.SetFlat(true); b.SetTransparent(false); }, {{0, 0, Face()}, {30, 11, Face()}}},
        {"flat, hot: raised", [](auto& b) { b.SetFlat(true); b.MouseEnter(); },
         {{0, 0, Light()}, {59, 21, Shadow()}, {30, 11, Panel}}},
        {"flat, pressed: sunken", [&](auto& b) { b.SetFlat(true); press(5)(b); }, {{0, 0, Shadow()}, {59, 21, Light()}}},
        {"combo up", [](auto& b) { b.SetStyle(sbsComboButton); },
         {{0, 0, Face()}, {59, 21, Dark()}, {1, 1, Light()}, {58, 20, Shadow()}}},
        {"combo pressed", [&](auto& b) { b.SetStyle(sbsComboButton); press(5)(b); },
         {{0, 0, Shadow()}, {59, 21, Shadow()}, {1, 1, Face()}}},
        {"menu up: two parts, dark arrow", [](auto& b) { b.SetStyle(sbsMenu); },
         {{0, 0, Light()}, {49, 0, Light()}, {48, 21, Dark()}, {54, 10, ColorToRGB(clBtnText)}}},
        {"menu, arrow pressed", [&](auto& b) { b.SetStyle(sbsMenu); press(55)(b); }, {{0, 0, Light()}, {49, 0, Dark()}}},
        {"menu disabled: etched arrow", [](auto& b) { b.SetStyle(sbsMenu); b.SetEnabled(false); },
         {{54, 10, Shadow()}, {56, 11, Light()}}},
        {"menu flat, transparent: only the arrow", [](auto& b) { b.SetStyle(sbsMenu); b.SetFlat(true); },
         {{0, 0, Panel}, {20, 11, Panel}, {49, 0, Panel}}},
        // Through the work bitmap at (1, 1): the main part inside its frame is 45 x 18.
        {"menu glyph", [&](auto& b) { b.SetStyle(sbsMenu); b.SetGlyph(glyph.get()); },
         {{20, 6, Red}, {19, 6, Face()}, {20, 5, Face()}, {20, 13, Face()}}},
        {"menu glyph pressed", [&](auto& b) { b.SetStyle(sbsMenu); b.SetGlyph(glyph.get()); press(5)(b); },
         {{21, 7, Red}, {20, 7, Face()}}},
        // With Margin 2 the glyph sits 2 pixels from its layout edge, inside the flat 1-pixel rim.
        {"left to right", [&](auto& b) { b.SetFlat(true); b.SetMargin(2); b.SetGlyph(glyph.get()); },
         {{3, 7, Red}, {52, 7, Panel}}},
        {"right to left", [&](auto& b) { mirrored(b, bdRightToLeft); }, {{56, 7, Red}, {3, 7, Panel}}},
        {"right-to-left reading", [&](auto& b) { mirrored(b, bdRightToLeftReadingOnly); }, {{56, 7, Red}, {3, 7, Panel}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TFlatSpeedButton* b = Place();
        if (c.set)
            c.set(*b);
        TBitmap shot;
        panel->PaintTo(shot);
        for (const Pixel& p : c.pixels)
            EXPECT_EQ(At(shot, 10 + p.x, 10 + p.y), p.color) << p.x << "," << p.y;
        delete b;
    }
}

TEST_F(SpeedButtonFaces, EnablingUnderTheStillPointerBringsTheHotLookBack)
{
    TFlatSpeedButton* button = Place();
    button->SetFlat(true);
    button->SetEnabled(false);
    ASSERT_TRUE(ShowActive(form));
    QCursor::setPos(button->Widget()->mapToGlobal(QPoint(20, 10)));
    button->SetEnabled(true);
    EXPECT_TRUE(button->MouseInControl());
}

TEST_F(SpeedButtonFaces, AMenuButtonsCaptionComesThroughItsWorkBitmapWithoutAFringe)
{
    const auto glyph = Square(8, Red);
    for (bool enabled : {true, false}) {
        SCOPED_TRACE(enabled);
        TFlatSpeedButton* b = Place();
        b->SetStyle(sbsMenu);
        b->SetGlyph(glyph.get());
        b->SetCaption("Wax");
        b->SetEnabled(enabled);
        TBitmap shot;
        panel->PaintTo(shot);
        // Inside the main part's frame only the face and what was drawn in full colours show;
        // a smoothed edge blended into the near-black key would show as some other grey.
        const TColor wanted[] = {Face(), Light(), Shadow(), ColorToRGB(clBtnText), Red};
        int stray = 0;
        for (int y = 12; y < 30; ++y)
            for (int x = 12; x < 57; ++x)
                stray += std::find(std::begin(wanted), std::end(wanted), At(shot, x, y)) == std::end(wanted);
        EXPECT_EQ(stray, 0);
        delete b;
    }
}
