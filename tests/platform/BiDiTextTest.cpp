// Text that follows a control's reading order: the DrawText flags a control asks for, and a line
// drawn right to left.
#include "Controls.h"
#include "Graphics.h"

#include <gtest/gtest.h>

#include <climits>

TEST(BiDiText, FlagsFollowTheControlsReadingOrder)
{
    TGraphicControl control {nullptr};
    struct Case {
        TBiDiMode mode;
        unsigned given, wanted;
    } cases[] = {
        {bdLeftToRight, DT_LEFT, DT_LEFT},
        {bdLeftToRight, DT_RIGHT | DT_VCENTER, DT_RIGHT | DT_VCENTER},
        {bdRightToLeft, DT_LEFT, DT_RIGHT | DT_RTLREADING},
        {bdRightToLeft, DT_RIGHT | DT_WORDBREAK, DT_LEFT | DT_WORDBREAK | DT_RTLREADING},
        {bdRightToLeft, DT_CENTER, DT_CENTER | DT_RTLREADING},
        {bdRightToLeftNoAlign, DT_LEFT, DT_LEFT | DT_RTLREADING},
        {bdRightToLeftReadingOnly, DT_RIGHT, DT_RIGHT | DT_RTLREADING},
    };
    for (const Case& c : cases) {
        control.SetBiDiMode(c.mode);
        EXPECT_EQ(control.DrawTextBiDiModeFlags(c.given), c.wanted) << c.mode << " " << c.given;
    }
}

TEST(BiDiText, ALineReadRightToLeftPutsTrailingMarksFirst)
{
    // "T-": read right to left the dash, which takes the line's direction, comes before the T.
    auto leftOfBarAndOfAll = [](unsigned flags) {
        TBitmap bmp(80, 40, pf24bit);
        TCanvas& c = bmp.Canvas();
        c.Brush.Color = clWhite;
        c.FillRect({0, 0, 80, 40});
        c.Font.SetHeight(-28);
        c.Font.SetColor(clBlack);
        c.Brush.Style = bsClear;
        TRect r {4, 2, 76, 38};
        c.DrawText("T-", r, flags | DT_SINGLELINE);
        int barRow = -1, barLeft = INT_MAX, allLeft = INT_MAX;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 80; ++x) {
                const TColor p = c.Pixel(x, y);
                if (GetRValue(p) + GetGValue(p) + GetBValue(p) >= 300)
                    continue;
                if (barRow < 0)
                    barRow = y;
                if (y == barRow)
                    barLeft = std::min(barLeft, x);
                allLeft = std::min(allLeft, x);
            }
        return std::pair {barLeft, allLeft};
    };
    const auto [ltrBar, ltrAll] = leftOfBarAndOfAll(0);
    EXPECT_EQ(ltrAll, ltrBar);
    const auto [rtlBar, rtlAll] = leftOfBarAndOfAll(DT_RTLREADING);
    EXPECT_LT(rtlAll, rtlBar);
}
