#pragma once
// Pixel effects on the small bitmaps of menu icons. Pixels of the key colour (the icon's
// transparent background) are left as they are, so that they stay transparent.
#include "Graphics.h"

// Every other pixel lightened by Percent (capped at 100).
void LightenBitmap(TBitmap& bitmap, int percent, TColor key);
// Every other pixel turned grey, raised by Value.
void GrayBitmap(TBitmap& bitmap, int value, TColor key);
// The silhouette of the bitmap in Color at (x, y): every pixel whose colour differs from that
// of the bottom-left pixel.
void DrawBitmapShadow(TBitmap& bitmap, TCanvas& canvas, int x, int y, TColor color);
// The bitmap at (x, y) without its pixels of the key colour.
void DrawTransparent(TBitmap& bitmap, TCanvas& canvas, int x, int y, TColor key);
