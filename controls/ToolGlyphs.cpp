#include "ToolGlyphs.h"

#include <algorithm>

namespace glyphs {
namespace {
// Each colour two thirds of the way to its own grey; the mask colour stays as it is.
void Quieten(TBitmap& bmp)
{
    const uint8_t maskR = GetRValue(kMask), maskG = GetGValue(kMask), maskB = GetBValue(kMask);
    for (int y = 0; y < bmp.Height(); ++y) {
        uint8_t* p = bmp.ScanLine(y);
        for (int x = 0; x < bmp.Width(); ++x, p += 3) {
            if (p[0] == maskB && p[1] == maskG && p[2] == maskR)
                continue;
            const int grey = (p[2] * 30 + p[1] * 59 + p[0] * 11) / 100;
            for (int i = 0; i < 3; ++i)
                p[i] = static_cast<uint8_t>((p[i] + 2 * grey) / 3);
        }
    }
}
}  // namespace

void Add(TImageList& list, int size, const std::function<void(TCanvas&, int)>& draw, bool quiet)
{
    TBitmap bmp(size, size, pf24bit);
    TCanvas& c = bmp.Canvas();
    c.Brush.Color = kMask;
    c.FillRect({0, 0, size, size});
    c.Pen.Color = kInk;
    c.Pen.Width = 1;
    draw(c, size);
    c.Release();
    if (quiet)
        Quieten(bmp);
    list.AddMasked(bmp, kMask);
}

void Box(TCanvas& c, int l, int t, int r, int b, TColor fill, TColor pen)
{
    c.Brush.Style = bsSolid;
    c.Brush.Color = fill;
    c.Pen.Color = pen;
    c.Rectangle(l, t, r, b);
}

void Disc(TCanvas& c, int l, int t, int r, int b)
{
    c.Brush.Color = clSilver;
    c.Pen.Color = kInk;
    c.Ellipse(l, t, r, b);
    int cx = (l + r) / 2, cy = (t + b) / 2, h = std::max(1, (r - l) / 6);
    c.Brush.Color = kMask;
    c.Ellipse(cx - h, cy - h, cx + h + 1, cy + h + 1);
}

void Line(TCanvas& c, int x1, int y1, int x2, int y2, TColor color, int width)
{
    c.Pen.Color = color;
    c.Pen.Width = width;
    c.MoveTo(x1, y1);
    c.LineTo(x2, y2);
    c.Pen.Width = 1;
}

void Arrow(TCanvas& c, int size, bool right, TColor color)
{
    int m = size / 2;
    TPoint p[3];
    if (right) {
        p[0] = {5, 3}; p[1] = {size - 5, m}; p[2] = {5, size - 4};
    } else {
        p[0] = {size - 6, 3}; p[1] = {4, m}; p[2] = {size - 6, size - 4};
    }
    c.Brush.Color = color;
    c.Pen.Color = kInk;
    c.Polygon(p, 3);
}
}  // namespace glyphs
