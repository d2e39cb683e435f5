// The two neighbourhood filters of FlipRotate.h.
#include "Assertions.h"
#include "FlipRotate.h"
#include "RowBands.h"
#include "SharpenRows.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace {

constexpr int kPixelBytes = 3;

// Round(c + (n - c) * 50 / q) for every pair of channel values, half to even. Working on the
// exact fraction (c * q + (n - c) * 50) / q gives what the floating-point form gives: a value that
// is not a tie lies at least 1 / (2q) from one, far more than that form's rounding error.
std::vector<uint8_t> AntiAliasTable(int64_t q)
{
    std::vector<uint8_t> table(256 * 256);
    for (int c = 0; c < 256; ++c) {
        for (int n = 0; n < 256; ++n) {
            int64_t num = c * q + (n - c) * 50;
            int64_t den = q;
            if (den < 0) {
                num = -num;
                den = -den;
            }
            int64_t floorQ = num / den;
            int64_t rem = num % den;
            if (rem < 0) {
                --floorQ;
                rem += den;
            }
            if (2 * rem > den || (2 * rem == den && (floorQ & 1) != 0))
                ++floorQ;
            // A weight above 1 (Percent below 0) can overshoot; the channel saturates.
            table[c * 256 + n] = static_cast<uint8_t>(std::clamp<int64_t>(floorQ, 0, 255));
        }
    }
    return table;
}

}  // namespace

void SharpenBitmap(TBitmap& Src, TBitmap& Dst, float Alpha)
{
    Assert(Src.Width() > 2 && Src.Height() > 2, "Bitmap must be at least 3x3", __FILE__, __LINE__);
    Assert(Alpha > 1 && Alpha < 6, "Alpha must be >1 and <6", __FILE__, __LINE__);
    const float ibSingle = static_cast<float>((static_cast<long double>(Alpha) - 1) / 5);
    const uint32_t ib = static_cast<uint32_t>(Round(static_cast<long double>(ibSingle) * 65536));
    const uint32_t ia = static_cast<uint32_t>(Round(static_cast<long double>(Alpha) * 65536));

    Src.SetPixelFormat(pf24bit);
    Dst.SetPixelFormat(pf24bit);
    Dst.SetSize(Src.Width(), Src.Height());
    const int w = Src.Width(), h = Src.Height();

    if (&Src == &Dst) {
        // Up, centre, right and down of each channel are summed ahead for the row; the left
        // neighbour is the value just written, a chain that runs along the row.
        uint16_t centreTerm[256];
        for (uint32_t c = 0; c < 256; ++c)
            centreTerm[c] = static_cast<uint16_t>((c * ia + 32767) >> 16);
        std::vector<uint16_t> partial(static_cast<size_t>(kPixelBytes) * w);
        const int first = kPixelBytes, last = kPixelBytes * (w - 1);  // inner channel bytes [first, last)
        for (int y = 1; y < h - 1; ++y) {
            const uint8_t* up = Dst.ScanLine(y - 1);
            uint8_t* mid = Dst.ScanLine(y);
            const uint8_t* down = Dst.ScanLine(y + 1);
            for (int b = first; b < last; ++b)
                partial[b] = static_cast<uint16_t>(up[b] + mid[b] + mid[b + kPixelBytes] + down[b]);
            uint32_t left0 = mid[0], left1 = mid[1], left2 = mid[2];
            for (int b = first; b < last; b += kPixelBytes) {
                const int v0 = centreTerm[mid[b]] - static_cast<int>((ib * (partial[b] + left0) + 32767) >> 16);
                const int v1 = centreTerm[mid[b + 1]] - static_cast<int>((ib * (partial[b + 1] + left1) + 32767) >> 16);
                const int v2 = centreTerm[mid[b + 2]] - static_cast<int>((ib * (partial[b + 2] + left2) + 32767) >> 16);
                left0 = mid[b] = ClampByte(v0);
                left1 = mid[b + 1] = ClampByte(v1);
                left2 = mid[b + 2] = ClampByte(v2);
            }
        }
        return;
    }

    // From one bitmap into another every read is of the unchanged source: no order to keep, so
    // the rows are shared out among a few threads. Row pointers are taken here, beforehand.
    std::vector<const uint8_t*> in(h);
    std::vector<uint8_t*> out(h);
    for (int y = 0; y < h; ++y) {
        in[y] = std::as_const(Src).ScanLine(y);
        out[y] = Dst.ScanLine(y);
    }
    const size_t rowBytes = static_cast<size_t>(kPixelBytes) * w;
    std::memcpy(out[0], in[0], rowBytes);
    std::memcpy(out[h - 1], in[h - 1], rowBytes);
    // A band of about a quarter of a megapixel is worth a thread.
    ForEachRowBand(h - 2, std::max(1, (1 << 18) / w), [&](int first, int last) {
        for (int y = first + 1; y <= last; ++y)
            SharpenRow(in[y - 1], in[y], in[y + 1], out[y], w, ia, ib);
    }, kMemoryBoundThreads);
}

void AntiAliasBitmap(TBitmap& Bitmap, int32_t Percent)
{
    // Rows of another format are not rows of 3-byte pixels: reading them so could run past a row.
    if (Bitmap.PixelFormat() != pf24bit)
        throw EBitmapError("Can AntiAlias only 24-bit bitmap");
    const int64_t q = static_cast<int64_t>(Percent) + 50;
    if (q == 0)
        throw EBitmapError("Can AntiAlias only with a percentage other than -50");
    const int w = Bitmap.Width(), h = Bitmap.Height();
    if (w < 2 || h < 1)
        return;
    const std::vector<uint8_t> table = AntiAliasTable(q);
    const uint8_t* t = table.data();
    // Each channel moves on its own: a neighbour equal to the centre maps to itself, so the
    // test for a differing pixel needs no place here.
    const int lastByte = kPixelBytes * (w - 1);
    for (int y = 0; y < h; ++y) {
        uint8_t* row = Bitmap.ScanLine(y);
        uint8_t* above = Bitmap.ScanLine(y == 0 ? h - 1 : y - 1);
        uint8_t* below = Bitmap.ScanLine(y == h - 1 ? 0 : y + 1);
        for (int b = kPixelBytes; b <= lastByte; b += kPixelBytes) {
            const int right = b == lastByte ? 0 : b + kPixelBytes;
            for (int ch = 0; ch < kPixelBytes; ++ch) {
                const uint8_t* tc = t + 256 * row[b + ch];
                row[b - kPixelBytes + ch] = tc[row[b - kPixelBytes + ch]];
                row[right + ch] = tc[row[right + ch]];
                above[b + ch] = tc[above[b + ch]];
                below[b + ch] = tc[below[b + ch]];
            }
        }
    }
}
