#pragma once
// Moves of 3-byte pixels for the transforms: quarter turns and reversed rows, on the vector
// path in use (VectorPath.h), each path giving the same bytes.
#include "Graphics.h"

#include <cstdint>

// Dst, already of Src's height x width, receives Src turned by 90 degrees: counter-clockwise
// (source (x, y) to column y of row width - 1 - x), or clockwise (to column height - 1 - y of
// row x).
void TurnQuarter(const TBitmap& Src, TBitmap& Dst, bool Clockwise);

// Dst's pixel x := Src's pixel width - 1 - x; the two rows do not overlap.
void ReverseRow(const uint8_t* Src, uint8_t* Dst, int Width);
