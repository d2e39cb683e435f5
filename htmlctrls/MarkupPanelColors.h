#pragma once
// The two colour routines the collapsible panel paints with.
#include "Graphics.h"

// Percent of Color1 mixed with the rest of Color2, per channel, halves to even; 100 returns
// Color1 as it is, a system colour unresolved.
TColor BlendColor(TColor color1, TColor color2, int percent);
// Steps solid bands from FromColor to ToColor, left to right (Horizontal) or top to bottom.
void DrawStepGradient(TCanvas& canvas, TColor fromColor, TColor toColor, bool horizontal, const TRect& r,
                      int steps);
