#pragma once
// Helpers for the imaging tests: a plain picture held as bytes, and conversions to and from
// 24-bit bitmaps.
#include "Graphics.h"

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

struct Rgb {
    uint8_t B = 0, G = 0, R = 0;
    bool operator==(const Rgb&) const = default;
};

// Pixel (x, y) is the x-th pixel of the y-th row from the top, channels blue, green, red.
struct Picture {
    int W = 0, H = 0;
    std::vector<uint8_t> Bytes;  // 3 * W * H, no padding

    Picture() = default;
    Picture(int w, int h) : W(w), H(h), Bytes(static_cast<size_t>(3) * w * h) {}
    uint8_t& At(int x, int y, int ch) { return Bytes[(static_cast<size_t>(y) * W + x) * 3 + ch]; }
    uint8_t At(int x, int y, int ch) const { return Bytes[(static_cast<size_t>(y) * W + x) * 3 + ch]; }
    Rgb Pixel(int x, int y) const { return {At(x, y, 0), At(x, y, 1), At(x, y, 2)}; }
    void SetPixel(int x, int y, Rgb c) { At(x, y, 0) = c.B; At(x, y, 1) = c.G; At(x, y, 2) = c.R; }
    bool operator==(const Picture&) const = default;
};

inline Picture FromBitmap(const TBitmap& b)
{
    Picture p(b.Width(), b.Height());
    for (int y = 0; y < p.H; ++y)
        for (int i = 0; i < 3 * p.W; ++i)
            p.Bytes[static_cast<size_t>(y) * 3 * p.W + i] = b.ScanLine(y)[i];
    return p;
}

inline std::unique_ptr<TBitmap> ToBitmap(const Picture& p)
{
    auto b = std::make_unique<TBitmap>(p.W, p.H, pf24bit);
    for (int y = 0; y < p.H; ++y)
        for (int i = 0; i < 3 * p.W; ++i)
            b->ScanLine(y)[i] = p.Bytes[static_cast<size_t>(y) * 3 * p.W + i];
    return b;
}

// Random bytes; with a small palette, so that equal neighbours and runs occur too.
inline Picture RandomPicture(int w, int h, uint32_t seed, int levels = 256)
{
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> d(0, levels - 1);
    Picture p(w, h);
    for (auto& byte : p.Bytes)
        byte = static_cast<uint8_t>(levels == 256 ? d(rng) : d(rng) * 255 / (levels - 1));
    return p;
}

inline Picture Filled(int w, int h, Rgb c)
{
    Picture p(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p.SetPixel(x, y, c);
    return p;
}
