#pragma once
// Rounded rectangles on a canvas: as a clipping region and as an outline.
#include "Graphics.h"

// Limits drawing to the rounded rectangle r with corner ellipses cornerW x cornerH; the
// canvas' ClearClip releases it.
void ClipToRoundRect(TCanvas& canvas, const TRect& r, int cornerW, int cornerH);
// Outlines r with rounded corners in the pen, filling it with the brush unless that is clear;
// like Rectangle, the right and bottom edges are left out.
void RoundRect(TCanvas& canvas, const TRect& r, int cornerW, int cornerH);
