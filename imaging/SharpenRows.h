#pragma once
// One row of the five-point sharpen read from unchanged source rows, on the vector path in use
// (VectorPath.h); every path gives the same bytes.
#include <cstdint>

// out's inner pixels sharpened from the rows up, mid and down with the 16.16 weights ia (centre)
// and ib (sum of five); its first and last pixels copied from mid. width is at least 3.
void SharpenRow(const uint8_t* up, const uint8_t* mid, const uint8_t* down, uint8_t* out, int width, uint32_t ia, uint32_t ib);

inline uint8_t ClampByte(int v)
{
    return static_cast<uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
}
