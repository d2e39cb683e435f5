#pragma once
// A stepped two-colour gradient.
#include "Graphics.h"

// Fills r with steps bands (0 or less counts as 1) from colorFrom to colorTo, left to right when
// horizontal, else top to bottom; then frames r in borderColor unless it is clNone. Leaves the
// pen and brush in the colours last used.
void HtmlGradientRect(TCanvas& canvas, TColor colorFrom, TColor colorTo, bool horizontal, const TRect& r,
                      int steps, TColor borderColor);
