// The marks of checked and radio menu items in the icon gutter, and the default item's text
// standing out over its darker copies.
#include "PaintProbe.h"
#include "ImgList.h"
#include "XPColors.h"
#include "XPLook.h"

#include <gtest/gtest.h>

namespace {

// Without an icon the mark is a 10 x 10 box at (7, 7) in the 24-pixel gutter; with one it
// frames the icon from (1, 2) to (21, 22).
TEST(XPMenuMarks, CheckAndRadioMarksInTheGutter)
{
    enum Expect { Pen, Area, Gutter, SelectedArea, Disabled };
    struct Row {
        const char* name;
        bool radio, icon, selected;
        TPoint at;
        Expect expect;
    };
    const Row rows[] = {
        {"check box corner", false, false, false, {7, 7}, Pen},
        {"radio circle leaves the corner", true, false, false, {7, 7}, Gutter},
        {"radio circle edge", true, false, false, {7, 12}, Pen},
        {"radio dot", true, false, false, {12, 12}, Pen},
        {"check box has no dot", false, false, false, {12, 12}, Area},
        {"radio ring between edge and dot", true, false, false, {8, 12}, Area},
        {"selected radio ring", true, false, true, {8, 12}, SelectedArea},
        {"frame round the icon is square", false, true, false, {1, 2}, Pen},
        {"radio frame round the icon is rounded", true, true, false, {1, 2}, Gutter},
        {"radio frame round the icon, side", true, true, false, {1, 12}, Pen},
        {"disabled radio dot", true, false, false, {12, 12}, Disabled},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        IconMenu m;
        m.item->Checked = true;
        m.item->RadioItem = row.radio;
        m.item->ImageIndex = row.icon ? 0 : -1;
        m.item->Enabled = row.expect != Disabled;
        TBitmap& shot = m.Draw(row.selected);
        const TXPLook& look = *m.look;
        const TColor expected[] = {ColorToRGB(look.FFSelectBorderColor), look.FFCheckedAreaColor, look.FFIconBackColor,
                                   look.FFCheckedAreaSelectedColor, look.FFDisabledColor};
        EXPECT_EQ(At(shot, row.at.X, row.at.Y), expected[row.expect]);
    }
}

// The caption's pixels that are greener than they are red: only the darker copies, whose green
// is lowered 2 less than the other channels, leave such pixels on the grey item background.
int GreenTinted(TBitmap& shot)
{
    int count = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 30; x < 120; ++x) {
            const TColor c = At(shot, x, y);
            count += GetGValue(c) > GetRValue(c);
        }
    return count;
}

TEST(XPMenuMarks, DefaultItemStandsOutOverDarkerCopies)
{
    struct Row {
        const char* name;
        bool isDefault, enabled, copies;
    };
    const Row rows[] = {
        {"plain item", false, true, false},
        {"default item", true, true, true},
        {"disabled default item", true, false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        IconMenu m;
        m.item->Default = row.isDefault;
        m.item->Enabled = row.enabled;
        ASSERT_LT(GetGValue(m.look->FFColor), GetRValue(m.look->FFColor) + 1);
        EXPECT_EQ(GreenTinted(m.Draw()) > 0, row.copies);
    }
}

}  // namespace
