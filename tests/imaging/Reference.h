#pragma once
// The imaging routines written plainly, pixel by pixel, straight from their definitions; slow
// on purpose. The fast code must give exactly the same bytes.
#include "Pictures.h"
#include "resample.h"

Picture RefFlipReverse(bool flip, bool reverse, const Picture& src);
Picture RefRotate(int angle, const Picture& src);  // angle a non-negative multiple of 90
Picture RefDiagonalMerge(const Picture& a, const Picture& b);
// In place when inPlace, else from src into a new picture.
Picture RefSharpen(const Picture& src, float alpha, bool inPlace);
Picture RefAntiAlias(const Picture& src, int percent);
Picture RefStretch(const Picture& src, int dw, int dh, TFilterProc filter, float support);
// Sinc as defined: sin(y) / y in extended precision, y = pi x rounded to single precision, the
// sine taken by the processor's own instruction where there is one.
float RefSinc(float x);
