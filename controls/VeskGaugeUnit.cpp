#include "VeskGaugeUnit.h"

#include <algorithm>
#include <climits>

namespace {

// Combines source into target by exclusive-or, byte by byte (both 24-bit, same size).
void XorInto(TBitmap& target, const TBitmap& source)
{
    const int rows = std::min(target.Height(), source.Height());
    const int bytes = std::min(target.Width(), source.Width()) * 3;
    for (int y = 0; y < rows; ++y) {
        uint8_t* out = target.ScanLine(y);
        const uint8_t* in = source.ScanLine(y);
        for (int i = 0; i < bytes; ++i)
            out[i] ^= in[i];
    }
}

void MakeBlack(TBitmap& bitmap)
{
    for (int y = 0; y < bitmap.Height(); ++y)
        std::fill_n(bitmap.ScanLine(y), bitmap.Width() * 3, uint8_t{0});
}

}  // namespace

bool GradientFill(TCanvas& dc, const TRect& r, int bands, TColor colorStart, TColor colorEnd, int direction)
{
    if (bands < 1)
        return false;
    const TColor start = ColorToRGB(colorStart);
    const TColor end = ColorToRGB(colorEnd);
    const long double dR = (static_cast<long double>(GetRValue(end)) - GetRValue(start)) / bands;
    const long double dG = (static_cast<long double>(GetGValue(end)) - GetGValue(start)) / bands;
    const long double dB = (static_cast<long double>(GetBValue(end)) - GetBValue(start)) / bands;
    const int width = r.Right - r.Left;
    const int height = r.Bottom - r.Top;
    const long double step = static_cast<long double>(direction == 0 ? height : width) / bands;
    const TBrushStyle keepStyle = dc.Brush.Style;
    const TColor keepColor = dc.Brush.Color;
    for (int i = 0; i < bands; ++i) {
        dc.Brush.Style = bsSolid;
        dc.Brush.Color = RGB(GetRValue(start) + static_cast<int>(Round((i + 1) * dR)),
                             GetGValue(start) + static_cast<int>(Round((i + 1) * dG)),
                             GetBValue(start) + static_cast<int>(Round((i + 1) * dB)));
        const int from = static_cast<int>(Round(i * step));
        const int to = static_cast<int>(Round((i + 1) * step));
        TRect band = direction == 0 ? TRect{0, from, width, to} : TRect{from, 0, to, height};
        OffsetRect(band, r.Left, r.Top);
        dc.FillRect(band);
    }
    dc.Brush.Style = keepStyle;
    dc.Brush.Color = keepColor;
    return true;
}

void TBltBitmap::MakeLike(TBitmap& source)
{
    SetPixelFormat(pf24bit);
    SetSize(source.Width(), source.Height());
    Canvas().Brush.Color = clWindowFrame;
    Canvas().Brush.Style = bsSolid;
    Canvas().FillRect({0, 0, Width(), Height()});
    Canvas().Release();  // the pixels are reached directly next
}

TVeskGauge::TVeskGauge(TComponent* owner) : TGraphicControl(owner)
{
    SetBounds(Left(), Top(), 100, 100);
}

int TVeskGauge::PercentDone() const
{
    if (maxValue_ == minValue_)
        return 0;
    const int64_t done = static_cast<int64_t>(progress_) - minValue_;
    const int64_t span = static_cast<int64_t>(maxValue_) - minValue_;
    return static_cast<int>(done * 100 / span);
}

void TVeskGauge::SetProgress(int value)
{
    // Loading from a form description may leave the bounds crossed for a while.
    value = std::clamp(value, std::min(minValue_, maxValue_), std::max(minValue_, maxValue_));
    if (value == progress_)
        return;
    const int before = PercentDone();
    progress_ = value;
    if (PercentDone() != before)
        Invalidate();
}

void TVeskGauge::SetMinValue(int value)
{
    if (value == minValue_)
        return;
    if (value > maxValue_ && !Loading)
        throw EInvalidOperation(Format("Value must be between %d and %d", -2147483647, maxValue_ - 1));
    minValue_ = value;
    if (progress_ < value)
        progress_ = value;
    Invalidate();
}

void TVeskGauge::SetMaxValue(int value)
{
    if (value == maxValue_)
        return;
    if (value < minValue_ && !Loading)
        throw EInvalidOperation(Format("Value must be between %d and %d", minValue_ + 1, INT_MAX));
    maxValue_ = value;
    if (progress_ > value)
        progress_ = value;
    Invalidate();
}

#define VESK_SETTER(Name, field, Type) \
    void TVeskGauge::Set##Name(Type value) \
    { \
        if (field == value) \
            return; \
        field = value; \
        Invalidate(); \
    }
VESK_SETTER(Kind, kind_, TGaugeKind)
VESK_SETTER(ShowText, showText_, bool)
VESK_SETTER(BorderStyle, borderStyle_, TBorderStyle)
VESK_SETTER(ForeColor, foreColor_, TColor)
VESK_SETTER(BackColor, backColor_, TColor)
#undef VESK_SETTER

void TVeskGauge::Paint()
{
    TBitmap offscreen(Width(), Height(), pf24bit);
    MakeBlack(offscreen);
    TRect r = ClientRect();
    if (borderStyle_ == bsSingle)
        InflateRect(r, -1, -1);

    TBltBitmap work;
    work.MakeLike(offscreen);
    MakeBlack(work);
    if (kind_ == gkText) {
        work.Canvas().Brush.Style = bsSolid;
        work.Canvas().Brush.Color = backColor_;
        work.Canvas().FillRect(r);
    } else {
        PaintBar(work.Canvas(), r);
    }
    work.Canvas().Release();
    XorInto(offscreen, work);
    if (showText_)
        PaintText(offscreen, r);
    offscreen.Canvas().Release();
    Canvas().Draw(0, 0, offscreen);
}

void TVeskGauge::PaintBar(TCanvas& canvas, const TRect& r)
{
    const int w = r.Right - r.Left + 1;
    const int h = r.Bottom - r.Top + 1;
    canvas.Brush.Style = bsSolid;
    canvas.Brush.Color = backColor_;
    canvas.FillRect(r);
    canvas.Pen.Width = 1;
    canvas.Pen.Color = foreColor_;
    canvas.Brush.Color = foreColor_;

    const long double part = PercentDone() * 0.01L;
    TRect area{};
    if (kind_ == gkHorizontalBar) {
        const int length = static_cast<int>(std::min<int64_t>(Trunc(w * part), w));
        if (length <= 0)
            return;
        area = {r.Left, r.Top, length, h};
    } else {
        int length = static_cast<int>(Trunc(h * part));
        if (length >= h)
            length = h - 1;
        area = {r.Left, h - length, w, h};
    }
    // The upper gradient never reaches past the filled area.
    const int split = std::min(area.Top + Height() / 3, area.Bottom);
    GradientFill(canvas, {area.Left, area.Top, area.Right, split}, 256, upperStart_, upperEnd_, 0);
    GradientFill(canvas, {area.Left, split, area.Right, area.Bottom}, 256, lowerStart_, lowerEnd_, 0);
}

void TVeskGauge::PaintText(TBitmap& target, const TRect& r)
{
    TBltBitmap text;
    text.MakeLike(target);
    MakeBlack(text);
    TCanvas& canvas = text.Canvas();
    const String percent = Format("%d%%", PercentDone());
    canvas.Font.Assign(Font);
    canvas.Font.SetColor(clWhite);
    canvas.Brush.Style = bsClear;
    const int x = (r.Right - r.Left + 1 - canvas.TextWidth(percent)) / 2;
    const int y = (r.Bottom - r.Top + 1 - canvas.TextHeight(percent)) / 2;
    canvas.TextRect(r, x, y, percent);
    canvas.Release();
    XorInto(target, text);
}
