#pragma once
// Where a button's glyph sits against its caption; shared by the speed-button families.
enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
