#pragma once
// Where a button's glyph sits against its caption: bit buttons and both speed-button families.
enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
