#pragma once
// Where a canvas measures its text. Normally the font answers; a canvas given its own metrics
// measures through them instead, so that layouts can be checked to the pixel whatever fonts the
// machine has installed.
#include "SysUtils.h"
#include "Types.h"

class TFont;

class TTextMetrics {
public:
    virtual ~TTextMetrics() = default;
    // Advance width of the text, in pixels.
    virtual int TextWidth(const TFont& font, const String& text) = 0;
    // Height of the character cell.
    virtual int TextHeight(const TFont& font) = 0;
    // Extra space between lines that DT_EXTERNALLEADING adds.
    virtual int ExternalLeading(const TFont& font) { return 0; }
    // Every run of text the canvas draws, as shown (prefixes, tabs and ellipsis applied), with the
    // rectangle its character cell takes.
    virtual void TextDrawn(const TFont& font, const String& shown, const TRect& cell) {}
};
