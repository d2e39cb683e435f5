#pragma once
// Photograph-like test pictures for the benchmarks: smooth gradients with noise, so that
// neighbours mostly differ a little, and nothing compresses or repeats the way a synthetic
// pattern would.
#include "Graphics.h"

#include <cstdint>
#include <map>
#include <memory>
#include <random>
#include <utility>

namespace bench {

// Fills w x h pixels of blue, green, red bytes, row y at rowAt(y).
template <class RowAt>
void PaintPhoto(int w, int h, RowAt rowAt)
{
    std::mt19937 rng(42);
    for (int y = 0; y < h; ++y) {
        uint8_t* row = rowAt(y);
        for (int x = 0; x < w; ++x) {
            const uint32_t r = rng();
            row[3 * x] = static_cast<uint8_t>((x * 255 / w + (r & 15)) & 0xFF);
            row[3 * x + 1] = static_cast<uint8_t>((y * 255 / h + ((r >> 8) & 15)) & 0xFF);
            row[3 * x + 2] = static_cast<uint8_t>(((x + y) * 127 / (w + h) + ((r >> 16) & 31)) & 0xFF);
        }
    }
}

inline std::unique_ptr<TBitmap> Photo(int w, int h)
{
    auto b = std::make_unique<TBitmap>(w, h, pf24bit);
    PaintPhoto(w, h, [&](int y) { return b->ScanLine(y); });
    return b;
}

// One picture per size, made once: the large ones take a while to fill.
inline const TBitmap& PhotoOf(int w, int h)
{
    static std::map<std::pair<int, int>, std::unique_ptr<TBitmap>> photos;
    auto& photo = photos[{w, h}];
    if (!photo)
        photo = Photo(w, h);
    return *photo;
}

}  // namespace bench
