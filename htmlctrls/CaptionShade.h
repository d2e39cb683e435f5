#pragma once
// The caption band's shading: levels of the caption colour rendered into a bitmap.
#include "PanelCaption.h"

#include <random>

// Fills bitmap (already sized) for the shade type; random draws come from generator.
void RenderCaptionShade(TBitmap& bitmap, TShadeType type, TColor color, int shadeLight, int shadeGrain,
                        std::mt19937& generator);
