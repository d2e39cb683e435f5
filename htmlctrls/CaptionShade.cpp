#include "CaptionShade.h"

#include "MarkupPanel.h"

#include <chrono>
#include <cmath>

namespace {

class ShadeWriter {
public:
    ShadeWriter(TBitmap& bitmap, TColor color) : bitmap_(bitmap)
    {
        const TColor rgb = ColorToRGB(color);
        r_ = rgb & 0xFF;
        g_ = (rgb >> 8) & 0xFF;
        b_ = (rgb >> 16) & 0xFF;
    }
    // The level's colour at (x, y); points outside the bitmap are left out.
    void Put(int x, int y, int v)
    {
        if (x < 0 || y < 0 || x >= bitmap_.Width() || y >= bitmap_.Height())
            return;
        uint8_t* p = bitmap_.ScanLine(y) + 3 * x;
        p[0] = static_cast<uint8_t>(b_ * v / 255);
        p[1] = static_cast<uint8_t>(g_ * v / 255);
        p[2] = static_cast<uint8_t>(r_ * v / 255);
    }
    int Blue(int x, int y)
    {
        if (x < 0 || y < 0 || x >= bitmap_.Width() || y >= bitmap_.Height())
            return 255;
        return bitmap_.ScanLine(y)[3 * x];
    }

private:
    TBitmap& bitmap_;
    int r_, g_, b_;
};

int Bump(int t, int factor)
{
    const int c = t * t * t / 128 / 128;
    return c * factor / 128 + 128;
}

void Diagonal(ShadeWriter& w, int W, int H, int L, int k)
{
    for (int x = 0; x <= W; ++x)
        for (int y = 0; y <= H; ++y) {
            const int u = k * x / W + (L - w.Blue(x, y)) + k * y / H;
            w.Put(x, y, L - u / 2);
        }
}

}  // namespace

void RenderCaptionShade(TBitmap& bitmap, TShadeType type, TColor color, int shadeLight, int shadeGrain,
                        std::mt19937& generator)
{
    // The levels are written as three bytes a pixel, whatever the bitmap held before.
    bitmap.SetPixelFormat(pf24bit);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Brush.Style = bsSolid;
    canvas.Brush.Color = clWhite;
    canvas.FillRect({0, 0, bitmap.Width(), bitmap.Height()});
    const int W = bitmap.Width() ? bitmap.Width() : 100;
    const int H = bitmap.Height() ? bitmap.Height() : 20;
    const int L = shadeLight & 0xFF;
    auto random = [&generator](int below) {
        return below > 0 ? static_cast<int>(generator() % static_cast<unsigned>(below)) : 0;
    };
    ShadeWriter w(bitmap, color);
    switch (type) {
    case stNormal:
    case stXPCaption:
    case stBitmap:
    case stBitmapRStretch:
    case stBitmapLStretch:
        canvas.Brush.Color = color;
        canvas.FillRect({0, 0, bitmap.Width(), bitmap.Height()});
        break;
    case stNoise:
        for (int x = 0; x <= W; ++x)
            for (int y = 0; y <= H; ++y)
                w.Put(x, y, L - (random(shadeGrain) + 128) / 2);
        break;
    case stDiagShade:
        Diagonal(w, W, H, L, 129);
        break;
    case stHShade:
    case stHShadeInv:
        for (int x = 0; x <= W; ++x) {
            const int v = L - ((W - x) * 239 / W + 8) / 2;
            for (int y = 0; y <= H; ++y)
                w.Put(type == stHShade ? x : W - x, y, v);
        }
        break;
    case stVShade:
    case stVShadeInv:
        for (int y = 0; y <= H; ++y) {
            const int v = L - (239 * y / H + 8) / 4;
            for (int x = 0; x <= W; ++x)
                w.Put(x, type == stVShade ? y : H - y, v);
        }
        break;
    case stHBump:
        for (int x = 0; x <= W; ++x) {
            const int v = L - Bump((W - x) * 255 / W - 127, 120) / 2;
            for (int y = 0; y <= H; ++y)
                w.Put(x, y, v);
        }
        break;
    case stVBump:
    case stHardBump:
        for (int y = 0; y <= H; ++y) {
            const int v = L - Bump(255 * y / H - 127, type == stVBump ? 120 : 112) / 2;
            for (int x = 0; x <= W; ++x)
                w.Put(x, y, v);
        }
        if (type == stHardBump) {
            const int r = std::min(16, W / 6);
            const int q = H * H / 4;
            if (r == 0 || q == 0)
                break;  // too small a band for the end caps
            for (int x = 0; x <= W; ++x)
                for (int y = 0; y <= H; ++y) {
                    const int dy = y - H / 2, dx = x - W / 2;
                    const int e = dy * dy * r / q + (W / 2 - r);
                    if (e < dx)
                        w.Put(x, y, L - ((W - x) * 128 / r + 8) / 2);
                    else if (dx + e < 0)
                        w.Put(x, y, L - (247 - x * 128 / r) / 2);
                }
        }
        break;
    case stSoftBump:
        for (int x = 0; x <= W; ++x)
            for (int y = 0; y <= H; ++y) {
                const int a = 255 * y / H - 127, b = (W - x) * 255 / W - 127;
                int u = (a * a * a / 128 / 128 + b * b * b / 128 / 128) * 120 / 128 + 128;
                u = std::clamp(u, 8, 247);
                w.Put(x, y, L - u / 2);
            }
        break;
    case stLMetal:
    case stRMetal:
        for (int k = 0; k < 251; ++k) {
            const int x0 = random(W), y0 = random(H);
            const int n = random(std::min(W, H) / 2);
            const int v = L - random(40);
            for (int i = 0; i < n; ++i) {
                if (type == stLMetal) {
                    if (x0 + i < W && y0 + i < H)
                        w.Put(x0 + i, y0 + i, v);
                    if (x0 - i > 0 && y0 - i > 0)
                        w.Put(x0 - i, y0 - i, v);
                } else {
                    if (x0 - i > 0 && y0 + i < H)
                        w.Put(x0 - i, y0 + i, v);
                    if (x0 + i < W && y0 - i > 0)
                        w.Put(x0 + i, y0 - i, v);
                }
            }
        }
        Diagonal(w, W, H, L, 120);
        break;
    case stIRadial:
    case stORadial: {
        const double D = std::abs(W - H);
        if (D == 0)
            break;  // a square band has no reference radius
        for (int x = 0; x <= W / 2; ++x)
            for (int y = 0; y <= H / 2; ++y) {
                const double d = std::nearbyint(std::hypot(x - W / 2, y - H / 2));
                const int v = static_cast<int>(
                    std::nearbyint(type == stIRadial ? (D - d) / D * L : d / D * L));
                w.Put(x, y, v);
                w.Put(W - x, H - y, v);
                w.Put(W - x, y, v);
                w.Put(x, H - y, v);
            }
        break;
    }
    }
}

void TCustomMarkupPanel::BuildCaptionShade()
{
    CaptionShade().SetSize(Width(), Caption().Height());
    static std::mt19937 generator(
        static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count()));
    RenderCaptionShade(CaptionShade(), Caption().ShadeType(), Caption().Color(), Caption().ShadeLight(),
                       Caption().ShadeGrain(), generator);
}
