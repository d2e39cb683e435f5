// Control bars in the XP look: each band lightened, with a grabber of shaded lines instead of
// the bar's own frame and grip.
#include "XPLook.h"

#include "XPColors.h"

namespace {

// The band-paint handler given to control bars: its own type, so that it can be told from others'.
struct XPBandPaint {
    TXPLook* look;
    void operator()(TObject* s, TControl* c, TCanvas& canvas, TRect& r, TBandPaintOptions& o) const
    {
        look->ControlBarBandPaint(s, c, canvas, r, o);
    }
};

bool IsOurs(const TBandPaintEvent& e, const TXPLook* look)
{
    const auto* h = e.target<XPBandPaint>();
    return h && h->look == look;
}

}  // namespace

void TXPLook::ActivateControlBar(TControlBar& bar, bool enable, bool update)
{
    if (enable) {
        if (bar.Tag != 999 && (!bar.OnBandPaint || OverrideOwnerDraw || IsOurs(bar.OnBandPaint, this)))
            bar.OnBandPaint = XPBandPaint{this};
    } else if (IsOurs(bar.OnBandPaint, this)) {
        bar.OnBandPaint = nullptr;
    }
    if (update)
        bar.Invalidate();
}

void TXPLook::ControlBarBandPaint(TObject* sender, TControl*, TCanvas& canvas, TRect& rect,
                                  TBandPaintOptions& options)
{
    if (colorsChanged_)
        UpdateColors(canvas);
    auto* bar = dynamic_cast<TControl*>(sender);
    const TColor barColor = bar ? bar->Color() : clBtnFace;
    options = 0;
    canvas.Brush.Style = bsSolid;
    canvas.Brush.Color = FIsTrueColor ? LightenColor(barColor, 6) : ColorToRGB(barColor);
    canvas.FillRect(rect);
    canvas.Pen.Style = psSolid;
    canvas.Pen.Width = 1;
    int shade = 30;
    for (int y = rect.Top + 5; y <= rect.Bottom - 5; ++y) {
        if (y % 2 != 0)
            continue;
        canvas.Pen.Color = DarkenColor(barColor, shade);
        canvas.MoveTo(rect.Left + 3, y);
        canvas.LineTo(rect.Left + 6, y);
        shade += 7;
    }
}
