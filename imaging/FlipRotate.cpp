#include "FlipRotate.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kPixelBytes = 3;

void Require24Bit(const TBitmap& bitmap, const char* message)
{
    if (bitmap.PixelFormat() != pf24bit)
        throw EBitmapError(message);
}

const char* const kFlipMessage = "Can Flip/Reverse only 24-bit bitmap";
const char* const kRotateMessage = "Can Rotate only 24-bit bitmap";

std::unique_ptr<TBitmap> NewBitmap(int width, int height)
{
    return std::make_unique<TBitmap>(width, height, pf24bit);
}

// Pixels are moved with 4-byte loads and stores where the fourth byte is harmless: inside the
// source row, and overwritten by the next pixel written.
void ReverseRow(const uint8_t* src, uint8_t* dst, int width)
{
    if (width <= 0)
        return;
    const uint8_t* s = src + kPixelBytes * (width - 1);
    std::memcpy(dst, s, kPixelBytes);  // the last source pixel: its fourth byte is past the row
    for (int x = 1; x < width - 1; ++x) {
        s -= kPixelBytes;
        dst += kPixelBytes;
        uint32_t v;
        std::memcpy(&v, s, 4);
        std::memcpy(dst, &v, 4);
    }
    if (width > 1)
        std::memcpy(dst + kPixelBytes, src, kPixelBytes);  // the last destination pixel ends the row
}

// Quarter turns walk the source in strips of a few rows: the strip's rows stay in the cache
// while each destination row takes a run of pixels from them; every pixel is moved once.
constexpr int kStrip = 16;

// Moves one pixel with a single 4-byte load and store where the fourth byte is harmless: read
// from a pixel that is not the last of its row, written where the next pixel along the
// destination row is written afterwards.
inline void MovePixel(uint8_t* out, const uint8_t* in, bool wide)
{
    if (wide) {
        uint32_t v;
        std::memcpy(&v, in, 4);
        std::memcpy(out, &v, 4);
    } else {
        std::memcpy(out, in, kPixelBytes);
    }
}

// Counter-clockwise (x, y) goes to column y of row w-1-x; clockwise to column h-1-y of row x.
template <bool Clockwise>
void QuarterTurn(const TBitmap& src, TBitmap& dst)
{
    const int w = src.Width(), h = src.Height();
    const uint8_t* srcRows[kStrip];
    for (int y0 = 0; y0 < h; y0 += kStrip) {
        const int n = std::min(h, y0 + kStrip) - y0;
        // Source rows in the order their pixels are laid along a destination row.
        for (int i = 0; i < n; ++i)
            srcRows[i] = src.ScanLine(Clockwise ? y0 + n - 1 - i : y0 + i);
        const int firstColumn = Clockwise ? h - y0 - n : y0;
        for (int x = 0; x < w; ++x) {
            uint8_t* out = dst.ScanLine(Clockwise ? x : w - 1 - x) + kPixelBytes * firstColumn;
            const int offset = kPixelBytes * x;
            const bool wideRead = x + 1 < w;
            for (int i = 0; i + 1 < n; ++i, out += kPixelBytes)
                MovePixel(out, srcRows[i] + offset, wideRead);
            MovePixel(out, srcRows[n - 1] + offset, false);  // the next pixel may be written already
        }
    }
}

}  // namespace

std::unique_ptr<TBitmap> FlipReverse(bool Flip, bool Reverse, const TBitmap& Bitmap)
{
    Require24Bit(Bitmap, kFlipMessage);
    const int w = Bitmap.Width(), h = Bitmap.Height();
    auto result = NewBitmap(w, h);
    for (int y = 0; y < h; ++y) {
        const uint8_t* src = Bitmap.ScanLine(y);
        uint8_t* dst = result->ScanLine(Flip ? h - 1 - y : y);
        if (Reverse)
            ReverseRow(src, dst, w);
        else
            std::memcpy(dst, src, static_cast<size_t>(kPixelBytes) * w);
    }
    return result;
}

std::unique_ptr<TBitmap> DiagonalMerge(const TBitmap& A, const TBitmap& B)
{
    Require24Bit(A, kFlipMessage);
    Require24Bit(B, kFlipMessage);
    const int w = A.Width(), h = A.Height();
    // A smaller B would be read past its edges; the caller brings it to A's size first.
    if (B.Width() < w || B.Height() < h)
        throw EBitmapError("Can Merge only with a bitmap at least as large as the first");
    auto result = NewBitmap(w, h);
    if (h == 0)
        return result;
    // The split advances by repeated addition, not by y * step: the two differ on some rows.
    const double step = static_cast<double>(w) / static_cast<double>(h);
    double split = 0.0;
    for (int y = 0; y < h; ++y) {
        const int x = std::clamp(static_cast<int>(split), 0, w);
        uint8_t* dst = result->ScanLine(y);
        std::memcpy(dst, B.ScanLine(y), static_cast<size_t>(kPixelBytes) * x);
        std::memcpy(dst + kPixelBytes * x, A.ScanLine(y) + kPixelBytes * x, static_cast<size_t>(kPixelBytes) * (w - x));
        split += step;
    }
    return result;
}

std::unique_ptr<TBitmap> RotateCopy(const TBitmap& Bitmap)
{
    Require24Bit(Bitmap, kRotateMessage);
    return FlipReverse(false, false, Bitmap);
}

std::unique_ptr<TBitmap> Rotate90(const TBitmap& Bitmap)
{
    Require24Bit(Bitmap, kRotateMessage);
    auto result = NewBitmap(Bitmap.Height(), Bitmap.Width());
    QuarterTurn<false>(Bitmap, *result);
    return result;
}

std::unique_ptr<TBitmap> Rotate180(const TBitmap& Bitmap)
{
    Require24Bit(Bitmap, kRotateMessage);
    return FlipReverse(true, true, Bitmap);
}

std::unique_ptr<TBitmap> Rotate270(const TBitmap& Bitmap)
{
    Require24Bit(Bitmap, kRotateMessage);
    auto result = NewBitmap(Bitmap.Height(), Bitmap.Width());
    QuarterTurn<true>(Bitmap, *result);
    return result;
}

std::unique_ptr<TBitmap> RotateBitmap(int32_t Angle, const TBitmap& Bitmap)
{
    Require24Bit(Bitmap, kRotateMessage);
    if (Angle < 0 || Angle % 90 != 0)
        throw EBitmapError("Rotate:  Angle not positive multiple of 90 degrees");
    switch ((Angle / 90) % 4) {
    case 1: return Rotate90(Bitmap);
    case 2: return Rotate180(Bitmap);
    case 3: return Rotate270(Bitmap);
    default: return RotateCopy(Bitmap);
    }
}
