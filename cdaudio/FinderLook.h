#pragma once
// The look the track finder's windows share: their title bars and their font.
#include "ExtCtrls.h"

// "Trebuchet MS", 13 pixels.
void SetFinderFont(TFont& font);
// A bar panel: the caption in navy bold on light blue.
void SetBarLook(TPanel& panel, const String& caption);
