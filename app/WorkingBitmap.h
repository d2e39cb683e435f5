#pragma once
// The 24-bit copy of a picture that printing, preview, the effects and the composer work on.
#include "Graphics.h"

// Replaces the bitmap with a 24-bit copy of the picture, drawn at (0, 0) on white: the windows
// show a picture on white, so its transparent parts (an icon's, a metafile's background) print,
// preview and go through the effects as the user saw them, not black.
void CopyAsShown(const TPicture& picture, TBitmap& bitmap);
