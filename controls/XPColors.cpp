#include "XPColors.h"

#include <algorithm>
#include <cmath>

TColor LightenColor(TColor color, int percent)
{
    const TColor c = ColorToRGB(color);
    const int p = std::min(percent, 100);
    // Ties go to the even neighbour, as the look has always rounded.
    auto up = [p](int v) { return v + static_cast<int>(std::nearbyint((255 - v) * p / 100.0)); };
    return RGB(up(GetRValue(c)), up(GetGValue(c)), up(GetBValue(c)));
}

TColor DarkenColor(TColor color, int value)
{
    const TColor c = ColorToRGB(color);
    auto clamp = [](int v) { return std::clamp(v, 0, 255); };
    return RGB(clamp(GetRValue(c) - value), clamp(GetGValue(c) - value + 2), clamp(GetBValue(c) - value));
}

TColor GrayColor(TColor color, int value)
{
    const TColor c = ColorToRGB(color);
    const int g = std::min((GetRValue(c) + GetGValue(c) + GetBValue(c)) / 3 + value, 240);
    return RGB(g, g, g);
}

TColor AverageColor(TColor a, TColor b)
{
    const TColor x = ColorToRGB(a);
    const TColor y = ColorToRGB(b);
    return RGB(GetRValue(x) / 2 + GetRValue(y) / 2, GetGValue(x) / 2 + GetGValue(y) / 2, GetBValue(x) / 2 + GetBValue(y) / 2);
}

TColor TopItemFontColor(TColor background, TColor fontColor)
{
    const TColor rgb = ColorToRGB(background);
    const bool dark = (GetRValue(rgb) + GetBValue(rgb)) / 2 < 151 && GetGValue(rgb) < 201;
    return dark ? LightenColor(background, 90) : fontColor;
}
