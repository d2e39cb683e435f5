#include "FlipRotate.h"

#include "PixelMoves.h"
#include "RowBands.h"

#include <algorithm>
#include <cstddef>
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

// Every routine here writes each pixel of its result: the memory needs no clearing first.
std::unique_ptr<TBitmap> NewBitmap(int width, int height)
{
    return TBitmap::NewForOverwrite(width, height, pf24bit);
}

}  // namespace

std::unique_ptr<TBitmap> FlipReverse(bool Flip, bool Reverse, const TBitmap& Bitmap)
{
    Require24Bit(Bitmap, kFlipMessage);
    const int w = Bitmap.Width(), h = Bitmap.Height();
    auto result = NewBitmap(w, h);
    if (w == 0 || h == 0)
        return result;
    // Rows are independent, but a copy waits on the memory more than on the processor: a thread
    // is worth it for 16 MB of rows or more, and a few saturate the memory. Row addresses come
    // from the first row's, so no thread touches the bitmaps themselves.
    const uint8_t* src = Bitmap.ScanLine(0);
    uint8_t* dst = result->ScanLine(0);
    const ptrdiff_t srcStride = Bitmap.BytesPerLine(), dstStride = result->BytesPerLine();
    ForEachRowBand(h, std::max<ptrdiff_t>(1, (16 << 20) / srcStride), [&](int first, int last) {
        for (int y = first; y < last; ++y) {
            const uint8_t* from = src + y * srcStride;
            uint8_t* to = dst + (Flip ? h - 1 - y : y) * dstStride;
            if (Reverse)
                ReverseRow(from, to, w);
            else
                std::memcpy(to, from, static_cast<size_t>(kPixelBytes) * w);
        }
    }, kMemoryBoundThreads);
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
    TurnQuarter(Bitmap, *result, false);
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
    TurnQuarter(Bitmap, *result, true);
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
