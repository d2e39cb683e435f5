#pragma once
// Small drawing routines shared by the buttons.
#include "Graphics.h"

// Makes a black-on-light glyph two-coloured: exactly black pixels take blackColor, every other
// pixel takes lightColor. The bitmap becomes 24-bit.
void ReplaceColors(TBitmap& bitmap, TColor lightColor, TColor blackColor);

// Draws text engraved, as disabled controls show it. With DT_CALCRECT only measures. Either way
// the rectangle ends one pixel wider and higher, making room for the offset highlight.
void DrawEtchedText(TCanvas& canvas, const String& text, TRect& rect, unsigned flags);
