#include "XPIconEffects.h"

#include "XPColors.h"

#include <optional>

namespace {

TColor PixelAt(TBitmap& bitmap, int x, int y)
{
    const int step = bitmap.PixelFormat() == pf32bit ? 4 : 3;
    const uint8_t* p = bitmap.ScanLine(y) + step * x;
    return RGB(p[2], p[1], p[0]);
}

// Runs of one colour are converted once.
template <class Convert>
void ConvertPixels(TBitmap& bitmap, TColor key, Convert convert)
{
    bitmap.Canvas().Release();
    std::optional<TColor> last;
    TColor lastResult = 0;
    key = ColorToRGB(key);
    const int step = bitmap.PixelFormat() == pf32bit ? 4 : 3;
    for (int y = 0; y < bitmap.Height(); ++y) {
        uint8_t* p = bitmap.ScanLine(y);
        for (int x = 0; x < bitmap.Width(); ++x, p += step) {
            const TColor c = RGB(p[2], p[1], p[0]);
            if (c == key)
                continue;
            if (!last || *last != c) {
                last = c;
                lastResult = convert(c);
            }
            p[0] = GetBValue(lastResult);
            p[1] = GetGValue(lastResult);
            p[2] = GetRValue(lastResult);
        }
    }
}

}  // namespace

void LightenBitmap(TBitmap& bitmap, int percent, TColor key)
{
    ConvertPixels(bitmap, key, [percent](TColor c) { return LightenColor(c, percent); });
}

void GrayBitmap(TBitmap& bitmap, int value, TColor key)
{
    ConvertPixels(bitmap, key, [value](TColor c) { return GrayColor(c, value); });
}

void DrawBitmapShadow(TBitmap& bitmap, TCanvas& canvas, int x, int y, TColor color)
{
    bitmap.Canvas().Release();
    if (bitmap.Width() <= 0 || bitmap.Height() <= 0)
        return;
    const TColor transparent = PixelAt(bitmap, 0, bitmap.Height() - 1);
    for (int row = 0; row < bitmap.Height(); ++row)
        for (int col = 0; col < bitmap.Width(); ++col)
            if (PixelAt(bitmap, col, row) != transparent)
                canvas.SetPixel(x + col, y + row, color);
}

void DrawTransparent(TBitmap& bitmap, TCanvas& canvas, int x, int y, TColor key)
{
    bitmap.Canvas().Release();
    canvas.DrawKeyed(x, y, bitmap, ColorToRGB(key));
}
