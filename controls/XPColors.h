#pragma once
// Colour arithmetic of the XP look; system colours are resolved to RGB first.
#include "Graphics.h"

// Each channel moves Percent (capped at 100) of the way to 255.
TColor LightenColor(TColor color, int percent);
// Each channel lowered by Value, green by 2 less, clamped to 0..255.
TColor DarkenColor(TColor color, int value);
// The grey of the channels' mean raised by Value, at most 240.
TColor GrayColor(TColor color, int value);
TColor AverageColor(TColor a, TColor b);
// The text colour of an open top-level menu item on Background: light on a dark background,
// else FontColor.
TColor TopItemFontColor(TColor background, TColor fontColor);
