#include "HtmlGradient.h"

#include <algorithm>

void HtmlGradientRect(TCanvas& canvas, TColor colorFrom, TColor colorTo, bool horizontal, const TRect& r,
                      int steps, TColor borderColor)
{
    int n = steps < 1 ? 1 : steps;
    TColor from = ColorToRGB(colorFrom);
    TColor to = ColorToRGB(colorTo);
    double stepR = (GetRValue(to) - GetRValue(from)) / double(n);
    double stepG = (GetGValue(to) - GetGValue(from)) / double(n);
    double stepB = (GetBValue(to) - GetBValue(from)) / double(n);
    double size = (horizontal ? r.Width() : r.Height()) / double(n);
    int far = horizontal ? r.Right : r.Bottom;
    int band = static_cast<int>(Round(size)) + 1;
    canvas.Brush.Style = bsSolid;
    canvas.Pen.Style = psSolid;
    for (int i = 0; i < n; ++i) {
        TColor c = RGB(GetRValue(from) + static_cast<int>(Round(i * stepR)),
                       GetGValue(from) + static_cast<int>(Round(i * stepG)),
                       GetBValue(from) + static_cast<int>(Round(i * stepB)));
        canvas.Pen.Color = c;
        canvas.Brush.Color = c;
        int start = (horizontal ? r.Left : r.Top) + static_cast<int>(Round(i * size));
        int end = std::min(start + band, far);
        if (horizontal)
            canvas.Rectangle(start, r.Top, end, r.Bottom);
        else
            canvas.Rectangle(r.Left, start, r.Right, end);
    }
    if (borderColor != clNone) {
        canvas.Brush.Style = bsClear;
        canvas.Pen.Color = borderColor;
        canvas.Rectangle(r);
    }
}
