#pragma once
// Transforms and neighbourhood filters on 24-bit bitmaps (rows of blue, green, red bytes).
#include "Graphics.h"
#include "SysUtils.h"

#include <cstdint>
#include <memory>

class EBitmapError : public Exception { using Exception::Exception; };

// Rows reversed when Flip, columns reversed when Reverse; both turns the picture by 180 degrees.
std::unique_ptr<TBitmap> FlipReverse(bool Flip, bool Reverse, const TBitmap& Bitmap);

// A's size; left of and below the diagonal from the top-left corner the pixels come from B,
// the rest from A. B must be 24-bit and at least as wide and as high as A.
std::unique_ptr<TBitmap> DiagonalMerge(const TBitmap& A, const TBitmap& B);

// Counter-clockwise by Angle degrees, a non-negative multiple of 90.
std::unique_ptr<TBitmap> RotateBitmap(int32_t Angle, const TBitmap& Bitmap);
std::unique_ptr<TBitmap> RotateCopy(const TBitmap& Bitmap);
std::unique_ptr<TBitmap> Rotate90(const TBitmap& Bitmap);
std::unique_ptr<TBitmap> Rotate180(const TBitmap& Bitmap);
std::unique_ptr<TBitmap> Rotate270(const TBitmap& Bitmap);

// Five-point sharpen with strength 1 < Alpha < 6; Dst may be Src. Both become 24-bit and Dst
// takes Src's size. Raises EAssertionFailed for a picture under 3 x 3 or a strength out of range.
void SharpenBitmap(TBitmap& Src, TBitmap& Dst, float Alpha);

// Pulls every differing neighbour of each pixel toward it, in place; edges wrap round.
// Raises EBitmapError for a bitmap that is not 24-bit and for a Percent of -50, whose weight
// would divide by zero.
void AntiAliasBitmap(TBitmap& Bitmap, int32_t Percent);
