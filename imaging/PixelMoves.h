#pragma once
// Moves of 3-byte pixels for the transforms: quarter turns and reversed rows, on the vector
// path in use (VectorPath.h), each path giving the same bytes.
#include "Graphics.h"

#include <cstddef>
#include <cstdint>

// Dst, already of Src's height x width, receives Src turned by 90 degrees: counter-clockwise
// (source (x, y) to column y of row width - 1 - x), or clockwise (to column height - 1 - y of
// row x).
void TurnQuarter(const TBitmap& Src, TBitmap& Dst, bool Clockwise);

// Dst's pixel x := Src's pixel width - 1 - x; the two rows do not overlap.
void ReverseRow(const uint8_t* Src, uint8_t* Dst, int Width);

// Moves the 8 x 8 block of 3-byte pixels at Src (pixel j of row i at Src + i * SrcStride + 3 j)
// transposed to Dst (pixel i of row j at Dst + j * DstStride + 3 i); the blocks do not overlap.
using TBlockTranspose = void (*)(const uint8_t* Src, ptrdiff_t SrcStride, uint8_t* Dst, ptrdiff_t DstStride);
// The block move of the vector path in use; null on the plain path.
TBlockTranspose BlockTranspose();
