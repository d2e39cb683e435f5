#include "MarkupPanelColors.h"

#include <cmath>

namespace {

int Channel(TColor c, int shift) { return (ColorToRGB(c) >> shift) & 0xFF; }

}  // namespace

TColor BlendColor(TColor color1, TColor color2, int percent)
{
    if (percent == 100)
        return color1;
    const double f = percent / 100.0;
    TColor result = 0;
    for (int shift : {0, 8, 16}) {
        const double v = f * Channel(color1, shift) + (1 - f) * Channel(color2, shift);
        result |= (static_cast<int>(std::nearbyint(v)) & 0xFF) << shift;
    }
    return result;
}

void DrawStepGradient(TCanvas& canvas, TColor fromColor, TColor toColor, bool horizontal, const TRect& r, int steps)
{
    if (steps == 0)
        steps = 1;
    double step[3];
    int from[3];
    for (int i = 0; i < 3; ++i) {
        from[i] = Channel(fromColor, 8 * i);
        step[i] = (Channel(toColor, 8 * i) - from[i]) / static_cast<double>(steps);
    }
    const int extent = horizontal ? r.Width() : r.Height();
    const double band = extent / static_cast<double>(steps);
    for (int i = 0; i < steps; ++i) {
        TColor c = 0;
        for (int k = 0; k < 3; ++k)
            c |= ((from[k] + static_cast<int>(std::nearbyint(i * step[k]))) & 0xFF) << (8 * k);
        canvas.Pen.Color = c;
        canvas.Brush.Color = c;
        const int start = static_cast<int>(std::nearbyint(i * band));
        if (horizontal) {
            const int left = r.Left + start;
            const int right = std::min(left + static_cast<int>(band) + 1, r.Right);
            canvas.Rectangle(left, r.Top, right, r.Bottom);
        } else {
            const int top = r.Top + start;
            const int bottom = std::min(top + static_cast<int>(band) + 1, r.Bottom);
            canvas.Rectangle(r.Left, top, r.Right, bottom);
        }
    }
}
