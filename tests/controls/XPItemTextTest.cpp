// The look's item text: the colour it takes by kind and state, and a disabled tool-button
// caption drawn as a block on the brush colour.
#include "PaintProbe.h"
#include "XPColors.h"
#include "XPLook.h"

#include <gtest/gtest.h>

#include <set>

namespace {

const TColor Ground = RGB(250, 250, 250);
const TColor Brush = RGB(10, 200, 30);

TEST(XPItemText, ColourAndGroundByKindAndState)
{
    struct Row {
        const char* name;
        unsigned kind;
        bool selected, enabled;
        std::function<TColor(const TXPLook&)> ink;
        TColor ground;
    };
    const TColor darkGutter = RGB(20, 40, 60);
    auto font = [](const TXPLook& l) { return ColorToRGB(l.Font.Color()); };
    auto select = [](const TXPLook& l) { return ColorToRGB(l.FFSelectFontColor); };
    auto disabled = [](const TXPLook& l) { return ColorToRGB(l.FFDisabledColor); };
    auto onDark = [darkGutter](const TXPLook&) { return LightenColor(darkGutter, 90); };
    const Row rows[] = {
        {"menu item", 0, false, true, font, Ground},
        {"selected menu item", 0, true, true, select, Ground},
        {"disabled menu item", 0, false, false, disabled, Ground},
        {"selected top-level item on a dark gutter", TXPLook::itTopItem, true, true, onDark, Ground},
        {"unselected top-level item", TXPLook::itTopItem, false, true, font, Ground},
        {"tool-button caption", TXPLook::itToolButton, false, true, font, Ground},
        {"disabled tool-button caption", TXPLook::itToolButton, false, false, disabled, Brush},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TXPLook look(nullptr);
        look.SetSelectFontColor(RGB(200, 0, 200));
        look.SetUseSystemColors(true);
        look.UpdateColors();
        look.FFSelectFontColor = RGB(200, 0, 200);
        look.FFIconBackColor = darkGutter;
        TBitmap image(120, 30, pf24bit);
        TCanvas& c = image.Canvas();
        c.Brush.Color = Ground;
        c.FillRect(TRect{0, 0, 120, 30});
        c.Brush.Color = Brush;
        c.Font.Assign(look.Font);
        c.Font.SetHeight(-20);
        look.DrawItemText(c, "MWM", "", TRect{10, 5, 110, 28}, row.selected, row.enabled, false, false, row.kind);
        std::set<TColor> colours;
        for (int y = 5; y < 28; ++y)
            for (int x = 10; x < 110; ++x)
                colours.insert(At(image, x, y));
        EXPECT_TRUE(colours.count(row.ink(look)));
        EXPECT_EQ(At(image, 105, 6), row.ground);
        EXPECT_EQ(At(image, 5, 6), Ground);  // nothing outside the rectangle
    }
}

}  // namespace
